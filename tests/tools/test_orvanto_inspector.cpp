// `orvanto info` and `orvanto tables` on writer-built files, as a user runs them.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <array>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <string>

#include "engine/os_error_text.h"
#include "engine/orvanto_bytes.h"
#include "../engine/orvanto_test_support.h"

using namespace vl;
using namespace vl::test;

namespace {

struct Result {
  int status = -1;
  std::string out;
  std::string err;
};

std::string slurp(const std::string &path) {
  std::ifstream in(path, std::ios::binary);
  return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

Result run(const std::string &arguments) {
  const char *appDir = std::getenv("VL_APP_DIR");
  EXPECT_NE(appDir, nullptr);
  TempFile out, err;
  const std::string command = "LC_ALL=C " + std::string(appDir ? appDir : ".") + "/orvanto " + arguments + " >" +
                              out.path() + " 2>" + err.path();
  const int raw = std::system(command.c_str());
  Result r;
  r.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
  r.out = slurp(out.path());
  r.err = slurp(err.path());
  return r;
}

}  // namespace

TEST(OrvantoInspector, InfoPrintsTheRecord) {
  OrvantoModuleLayout layout;
  TempFile file(sampleWriter().build(&layout));
  const Result r = run("info " + file.path());
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(r.out, "Título: Código de Trânsito Brasileiro\n"
                   "Versão: 3.1.4.200\n"
                   "GUID: {00112233-4455-6677-8899-AABBCCDDEEFF}\n"
                   "Descrição: Módulo principal do Vialume\n"
                   "Versão do formato: 1.1\n"
                   "Tamanho: " + std::to_string(layout.fileSize) + " bytes\n");
  EXPECT_EQ(r.err, "");
}

TEST(OrvantoInspector, TablesPrintsOneNamePerLine) {
  TempFile file(sampleWriter().build());
  const Result r = run("tables " + file.path());
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(r.out, "toc\nPlacas de Regulamentação\nSons\n");
  TempFile empty(OrvantoModuleWriter().build());
  const Result none = run("tables " + empty.path());
  EXPECT_EQ(none.status, 0);
  EXPECT_EQ(none.out, "");
}

TEST(OrvantoInspector, FailurePrintsTheEngineMessage) {
  struct Case { const char *command; std::function<Image()> file; std::string message; };
  const Case cases[] = {
      {"info",
       [] {
         Image i = sampleWriter().build();
         i[0] = 'o';
         return i;
       },
       "[Orvanto: Connection]\n\r\n\rBanco de Dados não é Orvanto.\n"},
      {"tables", [] { return Image(11, 0); }, "[Orvanto: Connection]\n\r\n\rErro de leitura de 2 bytes.\n"},
      {"info",
       [] {
         Image i = sampleWriter().build();
         i[16 + 200] ^= 1;
         return i;
       },
       "[Orvanto: Connection]\n\rO Banco de Dados está corrompido (Cabeçalho:1).\n\r\n\r[" + orv::platformTag() +
           "]\n\rErro nos dados (falha na verificação de redundância cíclica) (0x0017).\n"},
  };
  for (const auto &c : cases) {
    TempFile file(c.file());
    const Result r = run(std::string(c.command) + " " + file.path());
    EXPECT_EQ(r.status, 1) << c.command;
    EXPECT_EQ(r.out, "") << c.command;
    EXPECT_EQ(r.err, c.message) << c.command;
  }
}

TEST(OrvantoInspector, UsageErrors) {
  EXPECT_EQ(run("").status, 2);
  const Result unknown = run("frobnicate x");
  EXPECT_EQ(unknown.status, 2);
  EXPECT_NE(unknown.err.find("info"), std::string::npos);  // the command list is shown
  EXPECT_EQ(run("info").status, 2);
  EXPECT_EQ(run("help").status, 0);
}
