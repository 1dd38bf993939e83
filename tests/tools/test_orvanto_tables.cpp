// `orvanto verify`, `dump` and `find` on the sign module, as a user runs them.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>

#include "../data/orvanto_modules.h"
#include "inspector_run.h"

using namespace vl::test;

TEST(OrvantoTables, DumpPrintsRecordsInIndexOrder) {
  SignModule module;
  struct Case {
    std::string arguments;
    std::string out;
  };
  const Case cases[] = {
      {"Grupos", "1\tRegulamentação\n2\tAdvertência\n3\tEstacionamento\n"},
      {"Grupos --inverse", "3\tEstacionamento\n2\tAdvertência\n1\tRegulamentação\n"},
  };
  for (const Case &c : cases) {
    SCOPED_TRACE(c.arguments);
    const Result r = run("dump " + module.path() + " " + c.arguments);
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, c.out);
  }
  // Booleans, blob lengths and one line per group in unique mode.
  const Result all = run("dump " + module.path() + " Placas");
  EXPECT_EQ(all.out.rfind("R-1\tParada obrigatória\t1\t", 0), 0u) << all.out;
  EXPECT_NE(all.out.find("\tsim\t"), std::string::npos) << all.out;
  EXPECT_NE(all.out.find("\t11\t"), std::string::npos) << all.out;  // the 11-byte blob
  const Result unique = run("dump " + module.path() + " Placas --index SoGrupo --unique");
  EXPECT_EQ(unique.status, 0) << unique.err;
  EXPECT_EQ(std::count(unique.out.begin(), unique.out.end(), '\n'), 4) << unique.out;
}

TEST(OrvantoTables, FindAndVerify) {
  SignModule module;
  const Result found = run("find " + module.path() + " Placas PorCodigo A-14");
  EXPECT_EQ(found.status, 0) << found.err;
  EXPECT_EQ(found.out.rfind("A-14\tSemáforo à frente\t4\t", 0), 0u) << found.out;
  const Result partial = run("find " + module.path() + " Placas PorNome curva --partial");
  EXPECT_EQ(partial.status, 0) << partial.err;
  EXPECT_EQ(partial.out.rfind("A-1b\t", 0), 0u) << partial.out;  // "à direita" sorts first
  const Result missing = run("find " + module.path() + " Placas PorCodigo X-9");
  EXPECT_EQ(missing.status, 1);
  EXPECT_EQ(missing.out, "not found\n");

  const Result good = run("verify " + module.path());
  EXPECT_EQ(good.status, 0) << good.err;
  module.damage(module.signs->layout().recordAddresses[2] + 2);
  const Result bad = run("verify " + module.path() + " Placas");
  EXPECT_EQ(bad.status, 1) << bad.out;
  EXPECT_FALSE(bad.err.empty());
}

TEST(OrvantoTables, DumpNamesTheKindOfStoredFiles) {
  const char *appDir = std::getenv("VL_APP_DIR");
  ASSERT_NE(appDir, nullptr);
  const std::string core = std::string(appDir) + "/vl-core.cdb";
  const Result sounds = run("dump " + core + " Sons");
  ASSERT_EQ(sounds.status, 0) << sounds.err;
  EXPECT_NE(sounds.out.find(" wav\n"), std::string::npos) << sounds.out;
  const Result signs = run("dump " + core + " 'Placas de Regulamentação'");
  ASSERT_EQ(signs.status, 0) << signs.err;
  EXPECT_NE(signs.out.find(" wmf\t"), std::string::npos) << signs.out;
  const Result toc = run("dump " + core + " toc");
  ASSERT_EQ(toc.status, 0) << toc.err;
  EXPECT_NE(toc.out.find(" rtf"), std::string::npos) << toc.out;
}
