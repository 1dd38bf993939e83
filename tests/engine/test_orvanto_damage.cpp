// Damaged module files: each failure of opening gives its exact error record and message.
#include <gtest/gtest.h>

#include <cerrno>
#include <cstdlib>
#include <functional>
#include <string>

#include "engine/orvanto_bytes.h"
#include "engine/orvanto_db.h"
#include "engine/os_error_text.h"
#include "orvanto_test_support.h"

using namespace vl;
using namespace vl::test;

namespace {

struct Sample {
  Image image;
  OrvantoModuleLayout layout;
};

const Sample &sample() {
  static const Sample s = [] {
    Sample out;
    out.image = sampleWriter().build(&out.layout);
    return out;
  }();
  return s;
}

Image cut(std::size_t size) { return Image(sample().image.begin(), sample().image.begin() + size); }

Image patched(const std::function<void(Image &, const OrvantoModuleLayout &)> &patch) {
  Image image = sample().image;
  patch(image, sample().layout);
  return image;
}

Image written(const std::function<void(OrvantoModuleWriter &)> &configure) {
  OrvantoModuleWriter w = sampleWriter();
  configure(w);
  return w.build();
}

std::uint32_t entryAt(std::size_t i) { return sample().layout.entries[i].position; }

// Replaces "@" by the platform tag.
std::string withTag(std::string text) {
  const auto at = text.find('@');
  if (at != std::string::npos) text.replace(at, 1, orv::platformTag());
  return text;
}

const char *const kCrc = "Erro nos dados (falha na verificação de redundância cíclica) (0x0017).";

struct DamageCase {
  const char *name;
  std::function<Image()> file;
  TOrvanto_Error_Class expected;
  std::string text;  // UTF-8, the message after "[Orvanto: Connection]" LF CR; "@" = platform tag
};

std::string corrupt(const char *section) {
  return std::string("O Banco de Dados está corrompido (") + section + ").\n\r\n\r[@]\n\r" + kCrc;
}

std::vector<DamageCase> damageCases() {
  using E = TOrvanto_Error_Class;
  return {
      {"empty file", [] { return Image{}; }, E{120, 123, 10, 0}, "\n\rErro de leitura de 10 bytes."},
      {"9 bytes", [] { return cut(9); }, E{120, 123, 10, 0}, "\n\rErro de leitura de 10 bytes."},
      {"10 bytes", [] { return cut(10); }, E{120, 123, 2, 0}, "\n\rErro de leitura de 2 bytes."},
      {"11 bytes", [] { return cut(11); }, E{120, 123, 2, 0}, "\n\rErro de leitura de 2 bytes."},
      {"12 bytes", [] { return cut(12); }, E{120, 123, 4, 0}, "\n\rErro de leitura de 4 bytes."},
      {"15 bytes", [] { return cut(15); }, E{120, 123, 4, 0}, "\n\rErro de leitura de 4 bytes."},
      {"no main header", [] { return cut(16); }, E{120, 123, 321, 0}, "\n\rErro de leitura de 321 bytes."},
      {"short properties", [] { return cut(700); }, E{120, 123, 538, 0}, "\n\rErro de leitura de 538 bytes."},
      {"bad magic", [] { return patched([](Image &i, auto &) { i[6] = 'a'; }); }, E{132, 0, 0, 0},
       "\n\rBanco de Dados não é Orvanto."},
      {"bad magic and version",
       [] { return patched([](Image &i, auto &) { i[7] = 0; i[8] = 9; i[9] = 9; }); }, E{132, 0, 0, 0},
       "\n\rBanco de Dados não é Orvanto."},
      {"version 1.2", [] { return written([](auto &w) { w.setFormatVersion(1, 2); }); }, E{133, 1, 2, 0},
       "\n\rO Banco de Dados é de uma versão superior (1.2)."},
      {"version 2.0 with a bad check", [] { return patched([](Image &i, auto &) { i[8] = 2; i[9] = 0; }); },
       E{133, 2, 0, 0}, "\n\rO Banco de Dados é de uma versão superior (2.0)."},
      {"identification check", [] { return patched([](Image &i, auto &) { i[10] ^= 1; }); }, E{134, 1, 0, 23},
       corrupt("Identificador:0")},
      {"main header check", [] { return patched([](Image &i, auto &) { i[16 + 5] ^= 0x80; }); },
       E{134, 2, 1, 23}, corrupt("Cabeçalho:1")},
      {"directory header check", [] { return patched([](Image &i, auto &) { i[343 + 9] = 1; }); },
       E{134, 2, 2, 23}, corrupt("Cabeçalho:2")},
      {"properties check", [] { return patched([](Image &i, auto &) { i[359 + 537] = 'x'; }); },
       E{134, 2, 3, 23}, corrupt("Cabeçalho:3")},
      {"main header and properties checks",
       [] { return patched([](Image &i, auto &) { i[16 + 300] ^= 1; i[359] ^= 1; }); }, E{134, 2, 1, 23},
       corrupt("Cabeçalho:1")},
      {"password flag 1", [] { return written([](auto &w) { w.setPasswordFlag(1); }); }, E{135, 0, 0, 86},
       "\n\rSenha inválida."},
      {"password flag 0xFF", [] { return written([](auto &w) { w.setPasswordFlag(0xFF); }); }, E{135, 0, 0, 86},
       "\n\rSenha inválida."},
      {"password flag with bad properties",
       [] {
         Image i = written([](auto &w) { w.setPasswordFlag(1); });
         i[359 + 10] ^= 1;
         return i;
       },
       E{134, 2, 3, 23}, corrupt("Cabeçalho:3")},
      {"first entry check", [] { return patched([](Image &i, auto &) { i[entryAt(0) + 20] ^= 1; }); },
       E{134, 3, 0, 23}, corrupt("Entrada:0")},
      {"check of an entry of another kind",
       [] { return patched([](Image &i, auto &) { i[entryAt(1) + 137] ^= 1; }); }, E{134, 3, 1, 23},
       corrupt("Entrada:1")},
      {"last entry check", [] { return patched([](Image &i, auto &) { i[entryAt(3) + 9] = 's'; }); },
       E{134, 3, 3, 23}, corrupt("Entrada:3")},
      {"entry self-position",
       [] {
         return patched([](Image &i, auto &) {
           orv::putDword(&i[entryAt(2)], entryAt(2) + 1);
           orvSealBlock(i, entryAt(2), 137, false);
         });
       },
       E{134, 4, 2, 0}, "\n\rO Banco de Dados está corrompido (Entrada+:2)."},
      {"next position inside an entry's content",
       [] {
         return patched([](Image &i, auto &) {
           orv::putDword(&i[entryAt(0) + 4], entryAt(0) + 150);
           orvSealBlock(i, entryAt(0), 137, false);
         });
       },
       E{134, 3, 1, 23}, corrupt("Entrada:1")},
      {"next position beyond the end",
       [] {
         return patched([](Image &i, auto &) {
           orv::putDword(&i[entryAt(1) + 4], 0x10000000);
           orvSealBlock(i, entryAt(1), 137, false);
         });
       },
       E{120, 123, 137, 0}, "\n\rErro de leitura de 137 bytes."},
      {"user-area size without a user area",
       [] {
         return patched([](Image &i, auto &) {
           orv::putWord(&i[16 + 150], 8);
           orvSealBlock(i, 16, 321, true);
         });
       },
       E{134, 3, 0, 23}, corrupt("Entrada:0")},
      {"entry count too high: the footer is read as an entry",
       [] {
         return patched([](Image &i, auto &) {
           orv::putWord(&i[343], 5);
           orvSealBlock(i, 343, 10, true);
         });
       },
       E{134, 5, 0, 23}, corrupt("Rodapé:0")},
      {"entry count too low: an entry is read as the footer",
       [] {
         return patched([](Image &i, auto &) {
           orv::putWord(&i[343], 2);
           orvSealBlock(i, 343, 10, true);
         });
       },
       E{134, 6, 0, 0}, "\n\rO Banco de Dados está corrompido (Rodapé+:0)."},
      {"footer check",
       [] { return patched([](Image &i, const auto &l) { i[l.footerPosition + 100] = 1; }); }, E{134, 5, 0, 23},
       corrupt("Rodapé:0")},
      {"footer kind",
       [] {
         return patched([](Image &i, const auto &l) {
           i[l.footerPosition + 8] = 2;
           orvSealBlock(i, l.footerPosition, 137, false);
         });
       },
       E{134, 6, 0, 0}, "\n\rO Banco de Dados está corrompido (Rodapé+:0)."},
      {"footer check value cut", [] { return cut(sample().image.size() - 2); }, E{120, 123, 4, 0},
       "\n\rErro de leitura de 4 bytes."},
      {"footer cut", [] { return cut(sample().layout.footerPosition + 50); }, E{120, 123, 137, 0},
       "\n\rErro de leitura de 137 bytes."},
      {"entry cut", [] { return cut(entryAt(2) + 10); }, E{120, 123, 137, 0}, "\n\rErro de leitura de 137 bytes."},
  };
}

class OrvantoDamage : public ::testing::Test {
protected:
  void SetUp() override { ::setenv("LC_ALL", "C", 1); }
  void TearDown() override { ::unsetenv("LC_ALL"); }
};

void expectFailure(TOrvanto_DB_Engine &db, const TOrvanto_Error_Class &expected, const std::string &utf8Text,
                   const std::string &what) {
  EXPECT_FALSE(db.Open()) << what;
  EXPECT_EQ(db.LastError(), expected) << what << ": got " << db.LastError().code << "/" << db.LastError().section
                                      << "/" << db.LastError().sequence << "/" << db.LastError().osError;
  EXPECT_FALSE(db.IsOpen()) << what;
  EXPECT_EQ(db.TableCount(), 0) << what;
  EXPECT_EQ(db.FileSize(), 0u) << what;
  try {
    db.Connect();
    ADD_FAILURE() << what << ": Connect did not raise";
  } catch (const EOrvanto_Engine_Error &e) {
    EXPECT_EQ(e.error(), expected) << what;
    EXPECT_EQ(e.operation(), "Connection") << what;
    EXPECT_EQ(cp1252ToUtf8(e.what()), "[Orvanto: Connection]\n\r" + withTag(utf8Text)) << what;
  }
  EXPECT_FALSE(db.IsOpen()) << what;
}

}  // namespace

TEST_F(OrvantoDamage, EveryFailureHasItsRecordAndMessage) {
  for (const auto &c : damageCases()) {
    TempFile file(c.file());
    TOrvanto_DB_Engine db;
    db.SetFileName(file.path());
    expectFailure(db, c.expected, c.text, c.name);
  }
}

TEST_F(OrvantoDamage, MissingFileAndFolder) {
  TempFile missing;
  TOrvanto_DB_Engine db;
  db.SetFileName(missing.path());
  expectFailure(db, TOrvanto_Error_Class{131, 0, 0, ENOENT},
                "Não foi possível abrir o Banco de Dados.\n\r\n\r[@]\n\rO arquivo ou a pasta não existe (0x0002).",
                "missing file");
  db.SetFileName(std::filesystem::temp_directory_path().string());
  expectFailure(db, TOrvanto_Error_Class{131, 0, 0, EISDIR},
                "Não foi possível abrir o Banco de Dados.\n\r\n\r[@]\n\rO caminho é uma pasta, não um arquivo (0x0015).",
                "folder");
  db.SetFileName("");
  EXPECT_FALSE(db.Open());
  EXPECT_EQ(db.LastError().code, 131);
}

TEST_F(OrvantoDamage, VersionsUpToOneDotOneOpen) {
  for (const auto &[major, minor] : {std::pair{1, 1}, {1, 0}, {0, 0}, {0, 255}}) {
    TempFile file(written([&](auto &w) { w.setFormatVersion(major, minor); }));
    TOrvanto_DB_Engine db;
    db.SetFileName(file.path());
    EXPECT_TRUE(db.Open()) << major << "." << minor << ": " << db.LastError().code;
    EXPECT_EQ(db.FormatVersion(), major * 256 + minor);
  }
}

TEST_F(OrvantoDamage, NewerVersionUsesTheUsersDecimalSeparator) {
  ::setenv("LC_ALL", "pt_BR.UTF-8", 1);
  TempFile file(written([](auto &w) { w.setFormatVersion(1, 2); }));
  TOrvanto_DB_Engine db;
  db.SetFileName(file.path());
  ASSERT_FALSE(db.Open());
  const EOrvanto_Engine_Error e(orv::kOpConnection, db.LastError());
  EXPECT_EQ(cp1252ToUtf8(e.what()), "[Orvanto: Connection]\n\r\n\rO Banco de Dados é de uma versão superior (1,2).");
}

TEST_F(OrvantoDamage, BlockWordTakesPartInTheCheck) {
  // W only counts towards the check: any value the writer sealed opens, a changed one does not.
  TempFile good(written([](auto &w) { w.setBlockWord(OrvantoBlock::Properties, 0xA55A); }));
  TOrvanto_DB_Engine db;
  db.SetFileName(good.path());
  EXPECT_TRUE(db.Open());
  db.Close();
  Image image = written([](auto &w) { w.setBlockWord(OrvantoBlock::Properties, 0xA55A); });
  image[359 + 538] = 0x00;  // low byte of W
  TempFile bad(image);
  db.SetFileName(bad.path());
  EXPECT_FALSE(db.Open());
  EXPECT_EQ(db.LastError(), (TOrvanto_Error_Class{134, 2, 3, 23}));
}

TEST_F(OrvantoDamage, NextOpenResetsTheRecord) {
  TempFile file(cut(12));
  TOrvanto_DB_Engine db;
  db.SetFileName(file.path());
  EXPECT_FALSE(db.Open());
  EXPECT_EQ(db.LastError().code, 120);
  file.write(sample().image);
  EXPECT_TRUE(db.Open());
  EXPECT_TRUE(db.LastError().isClear());
  EXPECT_EQ(db.TableCount(), 3);
}
