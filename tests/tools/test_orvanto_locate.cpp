// `orvanto locate` on the sign module: the index Locate chooses, the record, the errors.
#include <gtest/gtest.h>

#include "../data/orvanto_modules.h"
#include "inspector_run.h"

using namespace vl::test;

TEST(OrvantoLocate, ChoosesTheIndexAndPrintsTheRecord) {
  SignModule module;
  struct Case {
    std::string arguments;
    int status;
    std::string outStart;  // start of stdout
    std::string err;
  };
  const Case cases[] = {
      {"Placas Nome curva --ci --partial", 0,
       "Índice: PorNome\nRegistro: 4\nCodigo: A-1b\nNome: Curva acentuada à direita\nGrupo: 2\n", ""},
      {"placas nome 'curva acentuada à esquerda' --ci", 0, "Índice: PorNome\nRegistro: 3\nCodigo: A-1a\n", ""},
      {"Placas Codigo R-2", 0, "Índice: PorCodigo\nRegistro: 2\nCodigo: R-2\n", ""},
      {"Placas Grupo 3", 0, "Índice: SoGrupo\nRegistro: 5\nCodigo: R-6a\n", ""},
      {"Placas Codigo r-2 --ci", 1, "", "No index for fields 'Codigo'\n"},
      {"Placas Codigo X", 1, "", "Registro não encontrado.\n"},
      {"Placas Cor azul", 1, "", "Campo 'Cor' não encontrado\n"},
      {"Placas Codigo", 2, "", "Uso: orvanto locate FILE TABLE FIELD VALUE [--ci] [--partial]\n"},
  };
  for (const Case &c : cases) {
    SCOPED_TRACE(c.arguments);
    const Result r = run("locate " + module.path() + " " + c.arguments);
    EXPECT_EQ(r.status, c.status);
    EXPECT_EQ(r.out.substr(0, c.outStart.size()), c.outStart);
    EXPECT_EQ(r.err, c.err);
  }
  const Result whole = run("locate " + module.path() + " Placas Codigo R-1");
  EXPECT_NE(whole.out.find("\nTexto: Linha um...\nObs: Observação completa\nFigura: (Blob)\n"), std::string::npos)
      << whole.out;
  const Result missing = run("locate " + module.path() + " Outra Nome x");
  EXPECT_EQ(missing.status, 1);
  EXPECT_EQ(missing.err.rfind("[Orvanto: TB Open]", 0), 0u) << missing.err;
}
