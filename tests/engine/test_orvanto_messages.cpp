// Engine error messages: per-code texts, section names, I/O texts, OS detail and framing.
#include <gtest/gtest.h>
#include <sys/utsname.h>

#include <cstdlib>
#include <cstdio>

#include "engine/cp1252.h"
#include "engine/orvanto_error.h"
#include "engine/orvanto_messages.h"
#include "engine/os_error_text.h"

using namespace vl;

namespace {

std::string textOf(TOrvanto_Error_Class e) { return cp1252ToUtf8(orv::errorText(e)); }

std::string tagged(std::string text) {
  for (auto at = text.find('@'); at != std::string::npos; at = text.find('@'))
    text.replace(at, 1, orv::platformTag());
  return text;
}

class OrvantoMessages : public ::testing::Test {
protected:
  void SetUp() override { ::setenv("LC_ALL", "C", 1); }
  void TearDown() override { ::unsetenv("LC_ALL"); }
};

}  // namespace

TEST_F(OrvantoMessages, TextsByCode) {
  using E = TOrvanto_Error_Class;
  const std::string crc = "\n\r\n\r[@]\n\rErro nos dados (falha na verificação de redundância cíclica) (0x0017).";
  struct Case { E error; std::string text; };
  const Case cases[] = {
      {{120, 122, 5000, 9}, "\n\rPosição (5000) requisitada não encontrada na tabela."},
      {{120, 123, 10, 0}, "\n\rErro de leitura de 10 bytes."},
      {{120, 124, 7, 0}, "\n\rErro de escrita de 7 bytes."},
      {{120, 121, 1, 0}, "\n\rCaminho temporário não encontrado."},
      {{120, 121, 2, 0}, "\n\rNão foi possível criar nome temporário."},
      {{120, 121, 3, 0}, "\n\rNão foi possível criar arquivo temporário."},
      {{120, 121, 4, 0}, "\n\rErro de Entrada/Saída (4)."},
      {{120, 99, 8, 0}, "\n\rErro de Entrada/Saída (8)."},
      {{131, 0, 0, 0}, "\n\rNão foi possível abrir o Banco de Dados."},
      {{131, 0, 0, 13}, "Não foi possível abrir o Banco de Dados.\n\r\n\r[@]\n\rAcesso negado (0x000d)."},
      {{131, 0, 0, 70000}, "Não foi possível abrir o Banco de Dados.\n\r\n\r[@]\n\rcode: (0x11170)."},
      {{132, 0, 0, 0}, "\n\rBanco de Dados não é Orvanto."},
      {{133, 3, 7, 0}, "\n\rO Banco de Dados é de uma versão superior (3.7)."},
      {{134, 3, 4, 23}, "O Banco de Dados está corrompido (Entrada:4)." + crc},
      {{134, 7, 0, 23}, "O Banco de Dados está corrompido (Usuário:0)." + crc},
      {{134, 8, 2, 23}, "O Banco de Dados está corrompido." + crc},
      {{134, 8, 2, 0}, "\n\rO Banco de Dados está corrompido."},
      {{135, 0, 0, 86}, "\n\rSenha inválida."},
      {{150, 0, 0, 0}, "\n\rFalta informar o nome da Tabela."},
      {{151, 0, 0, 0}, "\n\rNome da Tabela excede o tamanho permitido (127)."},
      {{152, 0, 0, 0}, "\n\rTabela não encontrada."},
      {{153, 1, 0, 23}, "A Tabela está corrompida (Cabeçalho: 0)." + crc},
      {{153, 2, 5, 0}, "\n\rA Tabela está corrompida (Colunas: 5)."},
      {{153, 3, 2, 0}, "\n\rA Tabela está corrompida (Índices: 2)."},
      {{153, 4, 2, 0}, "\n\rA Tabela está corrompida."},
      {{154, 0, 0, 2}, "\n\rNão foi possível abrir a Tabela."},
      {{156, 0, 0, 0}, "\n\rNão é possível criar mais de uma Tabela por processo."},
      {{157, 3, 4, 0}, "\n\rFalha na sincronização, passo 3 solicitado, 4 esperado."},
      {{160, 0, 2, 0}, "\n\rÍndice ID 2 corrompido."},
      {{161, 0, 0, 0}, "\n\rNenhum índice ativo."},
      {{162, 0, 9, 0}, "\n\rÍndice ID 9 inexistente."},
      {{163, 0, 0, 0}, "\n\rÍndice desincronizado."},
      {{180, 17, 0, 23}, "\n\rRegistro 17 corrompido."},
      {{190, 0, 0, 0}, "\n\rA coluna não é do tipo Blob."},
      {{140, 0, 0, 28}, "Não consegui criar o Banco de Dados\n\r\n\r[@]\n\rNão há espaço livre no dispositivo (0x001c)."},
      {{169, 2, 3, 0}, "\n\rEspecificação de índice (2) com chave (3) inválida."},
      {{199, 0, 4, 0}, "\n\rTamanho da coluna (4) String maior que o permitido. Utilize Memo."},
      {{999, 1, 2, 0}, "\n\rErro 999, seção 1, seqüencial 2"},
      {{170, 5, 6, 86}, "Erro 170, seção 5, seqüencial 6\n\r\n\r[@]\n\rA senha especificada não é válida (0x0056)"},
  };
  for (const auto &c : cases) EXPECT_EQ(textOf(c.error), tagged(c.text)) << c.error.code << "/" << c.error.section;
}

TEST_F(OrvantoMessages, EngineErrorFramesTheText) {
  const TOrvanto_Error_Class record{152, 0, 0, 0};
  const EOrvanto_Engine_Error e("TB Open", record);
  EXPECT_EQ(cp1252ToUtf8(e.what()), "[Orvanto: TB Open]\n\r\n\rTabela não encontrada.");
  EXPECT_EQ(e.operation(), "TB Open");
  EXPECT_EQ(e.error(), record);
  // The message bytes are cp1252.
  EXPECT_NE(std::string(e.what()).find('\xE3'), std::string::npos);
}

TEST_F(OrvantoMessages, ReadingCodeExceptions) {
  const EOrvanto_IO_Error io(123, 137, 5);
  EXPECT_STREQ(io.what(), "Orvanto I/O Error");
  EXPECT_STREQ(EOrvanto_Internal_Error(0xA0, 1, 2).what(), "Orvanto Error 0x00a0");

  TOrvanto_Error_Class record;
  recordIoError(record, io);
  EXPECT_EQ(record, (TOrvanto_Error_Class{120, 123, 137, 5}));
  errno = 23;
  recordInternalError(record, EOrvanto_Internal_Error(160, 0, 4));
  EXPECT_EQ(record, (TOrvanto_Error_Class{160, 0, 4, 23}));
  record.Reset();
  EXPECT_TRUE(record.isClear());
  EXPECT_EQ(record, TOrvanto_Error_Class{});
  EXPECT_EQ(errno, 0);
}

TEST_F(OrvantoMessages, PlatformTagComesFromTheKernelVersion) {
  utsname name{};
  ASSERT_EQ(uname(&name), 0);
  int major = -1, minor = -1;
  ASSERT_EQ(std::sscanf(name.release, "%d.%d", &major, &minor), 2) << name.release;
  EXPECT_EQ(orv::platformTag(), "Linux " + std::to_string(major) + "." + std::to_string(minor));
}

TEST_F(OrvantoMessages, OsDetail) {
  EXPECT_EQ(orv::osDetail(0), "");
  EXPECT_EQ(cp1252ToUtf8(orv::osDetail(86)), tagged("\n\r\n\r[@]\n\rA senha especificada não é válida (0x0056)"));
  EXPECT_FALSE(orv::osErrorText(0x7FFF).has_value());
  EXPECT_TRUE(orv::osErrorText(2).has_value());
}

TEST_F(OrvantoMessages, DecimalSeparatorFollowsTheNumericLocale) {
  const TOrvanto_Error_Class newer{133, 1, 2, 0};
  struct Case { const char *variable; const char *value; const char *text; };
  const Case cases[] = {
      {"LC_ALL", "pt_BR.UTF-8", "(1,2)"}, {"LC_ALL", "de_DE", "(1,2)"}, {"LC_ALL", "en_US.UTF-8", "(1.2)"},
      {"LC_ALL", "POSIX", "(1.2)"},       {"LC_NUMERIC", "pt_BR", "(1,2)"}, {"LANG", "pt_PT.UTF-8@euro", "(1,2)"},
  };
  for (const auto &c : cases) {
    ::unsetenv("LC_ALL");
    ::unsetenv("LC_NUMERIC");
    ::unsetenv("LANG");
    ::setenv(c.variable, c.value, 1);
    EXPECT_NE(textOf(newer).find(c.text), std::string::npos) << c.variable << "=" << c.value << ": " << textOf(newer);
  }
  ::unsetenv("LC_NUMERIC");
  ::unsetenv("LANG");
}
