// `orvanto extract` on a writer-built module, as a user runs it.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdlib>
#include <fstream>
#include <string>

#include "../engine/orvanto_test_support.h"
#include "engine/writer/table_writer.h"

using namespace vl;
using namespace vl::test;

namespace {

std::string fileText(const std::string &path) {
  std::ifstream in(path, std::ios::binary);
  return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

// Runs `orvanto extract` with the arguments; returns the exit status, stderr in `err`.
int extract(const std::string &arguments, std::string &err) {
  TempFile errFile;
  const std::string command = std::string(std::getenv("VL_APP_DIR")) + "/orvanto extract " + arguments + " >/dev/null 2>" +
                              errFile.path();
  const int raw = std::system(command.c_str());
  err = fileText(errFile.path());
  return WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
}

Image signModule() {
  OrvantoModuleWriter writer;
  writer.setGuid(sampleGuid());
  writer.setProperties(sampleProperties());
  OrvantoTableSpec spec;
  spec.name = cp("Placas de Regulamentação");
  spec.columns = {OrvantoColumnSpec::String("NOME", 40), OrvantoColumnSpec::Blob("FILE"),
                  OrvantoColumnSpec::Fixed("ORDEM", orv::ctInteger)};
  spec.records = {{cp("Parada obrigatória"), std::string("WMF\0DATA", 8), std::int64_t(1)},
                  {cp("Dê a preferência"), std::monostate{}, std::int64_t(2)}};
  addTable(writer, spec);
  return writer.build();
}

}  // namespace

TEST(OrvantoExtract, WritesBlobsAndTextsOfARecord) {
  TempFile module(signModule()), out;
  std::string err;
  const std::string table = "'Placas de Regulamentação'";
  ASSERT_EQ(extract(module.path() + " " + table + " 1 FILE " + out.path(), err), 0) << err;
  EXPECT_EQ(fileText(out.path()), std::string("WMF\0DATA", 8));
  // The column may also come before the record number.
  ASSERT_EQ(extract(module.path() + " " + table + " NOME 2 " + out.path(), err), 0) << err;
  EXPECT_EQ(fileText(out.path()), cp("Dê a preferência"));
}

TEST(OrvantoExtract, ReportsWhatCannotBeExtracted) {
  TempFile module(signModule()), out;
  const std::string table = "'Placas de Regulamentação' ";
  const struct {
    std::string arguments;
    int status;
    const char *fragment;
  } cases[] = {
      {table + "2 FILE " + out.path(), 1, "está vazio"},
      {table + "3 FILE " + out.path(), 1, "não existe o registro 3"},
      {table + "0 FILE " + out.path(), 1, "não existe o registro 0"},
      {table + "1 COR " + out.path(), 1, "não tem a coluna 'COR'"},
      {table + "1 ORDEM " + out.path(), 1, "nem blob"},
      {"Outra 1 FILE " + out.path(), 1, "não tem a tabela 'Outra'"},
      {table + "um FILE " + out.path(), 1, "Número de registro inválido"},
      {table + "1 FILE", 2, "Uso: orvanto extract"},
  };
  for (const auto &c : cases) {
    std::string err;
    EXPECT_EQ(extract(module.path() + " " + c.arguments, err), c.status) << c.arguments;
    EXPECT_NE(err.find(c.fragment), std::string::npos) << c.arguments << " -> " << err;
  }
  std::string err;
  EXPECT_EQ(extract("/nao/existe.cdb 'Placas' 1 FILE " + out.path(), err), 1);
  EXPECT_FALSE(err.empty());
}
