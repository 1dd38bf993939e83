#include <gtest/gtest.h>

#include "support/qt_printers.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <sys/resource.h>
#include <sys/stat.h>

#include <csignal>

#include "common/cp1252_qt.h"
#include "common/ini_file.h"

using namespace vl;

namespace {

IniFile parsed(const char *text) {
  IniFile ini;
  ini.parse(QByteArray(text));
  return ini;
}

QByteArray readAll(const QString &path) {
  QFile f(path);
  return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

void writeAll(const QString &path, const QByteArray &bytes) {
  QFile f(path);
  ASSERT_TRUE(f.open(QIODevice::WriteOnly));
  f.write(bytes);
}

}  // namespace

TEST(IniFile, ReadsStringsCaseInsensitively) {
  const IniFile ini = parsed(
      "; leading comment\r\n"
      "[Config]\r\n"
      "ColorBack=11522991\r\n"
      "  Flat = 0  \r\n"
      "Quoted=\"  spaced  \"\r\n"
      "Single='x'\r\n"
      "Half=\"open\r\n"
      "Empty=\r\n"
      "Eq=a=b\r\n"
      "[ Font ]\r\n"
      "Name=Tahoma\r\n");
  struct Case { const char *section, *key, *expected; } cases[] = {
      {"Config", "ColorBack", "11522991"}, {"CONFIG", "colorback", "11522991"}, {"config", "FLAT", "0"},
      {"Config", "Quoted", "  spaced  "},  {"Config", "Single", "x"},           {"Config", "Half", "\"open"},
      {"Config", "Empty", ""},             {"Config", "Eq", "a=b"},              {"font", "name", "Tahoma"},
      {"Config", "Missing", "default"},    {"Nowhere", "Name", "default"},
  };
  for (const Case &c : cases)
    EXPECT_EQ(ini.readString(c.section, c.key, "default"), QString::fromUtf8(c.expected)) << c.section << "/" << c.key;
  EXPECT_TRUE(ini.valueExists("CONFIG", "empty"));
  EXPECT_FALSE(ini.valueExists("Config", "Missing"));
  EXPECT_TRUE(ini.sectionExists("FONT"));
  EXPECT_FALSE(ini.sectionExists("Persistent"));
}

TEST(IniFile, ReadsIntegersAndBooleansWithDefaultsForBadNumbers) {
  const IniFile ini = parsed(
      "[S]\nplain=42\nneg=-7\nplus=+5\nspaced= 12 \nhex=0x1F\ndollar=$ff\nallbits=0xFFFFFFFF\n"
      "trailing=12abc\nword=abc\nempty=\nhuge=99999999999\nbig=2147483647\nsmall=-2147483648\n"
      "double=--3\nquoted=\"8\"\nhexneg=-0x10\nhexhuge=0x1FFFFFFFF\n");
  struct Case { const char *key; int expected; } cases[] = {
      {"plain", 42},     {"neg", -7},   {"plus", 5},      {"spaced", 12},        {"hex", 31},
      {"dollar", 255},   {"allbits", -1}, {"trailing", -99}, {"word", -99},      {"empty", -99},
      {"huge", -99},     {"big", 2147483647}, {"small", -2147483647 - 1}, {"double", -99},
      {"quoted", 8},     {"hexneg", -16}, {"hexhuge", -99}, {"missing", -99},
  };
  for (const Case &c : cases) EXPECT_EQ(ini.readInteger("s", c.key, -99), c.expected) << c.key;

  const IniFile b = parsed("[B]\none=1\nzero=0\ntwo=2\nminus=-1\nword=yes\n");
  struct BoolCase { const char *key; bool def, expected; } bools[] = {
      {"one", false, true},   {"zero", true, false}, {"two", false, true},   {"minus", false, true},
      {"word", true, true},   {"word", false, false}, {"missing", true, true}, {"missing", false, false},
  };
  for (const BoolCase &c : bools) EXPECT_EQ(b.readBool("B", c.key, c.def), c.expected) << c.key << c.def;
}

TEST(IniFile, WritingKeepsOrderCommentsAndSpelling) {
  IniFile ini = parsed(
      "; settings\r\n"
      "\r\n"
      "[Config]\r\n"
      "; colours\r\n"
      "ColorBack=1\r\n"
      "\r\n"
      "[Font]\r\n"
      "Name=Arial\r\n");
  ini.writeInteger("config", "COLORBACK", 2);   // existing key keeps its spelling and place
  ini.writeBool("CONFIG", "Flat", true);        // new key after the last entry, before the blank
  ini.writeString("Persistent", "User", "Ana"); // new section at the end
  ini.writeBool("Persistent", "FirstTime", false);
  EXPECT_EQ(ini.toBytes(),
            QByteArray("; settings\r\n"
                       "\r\n"
                       "[Config]\r\n"
                       "; colours\r\n"
                       "ColorBack=2\r\n"
                       "Flat=1\r\n"
                       "\r\n"
                       "[Font]\r\n"
                       "Name=Arial\r\n"
                       "\r\n"
                       "[Persistent]\r\n"
                       "User=Ana\r\n"
                       "FirstTime=0\r\n"));
  EXPECT_EQ(ini.sections(), QStringList({"Config", "Font", "Persistent"}));
  EXPECT_EQ(ini.keys("persistent"), QStringList({"User", "FirstTime"}));
}

TEST(IniFile, EraseSectionAndDeleteKey) {
  IniFile ini = parsed("[A]\nx=1\ny=2\nX=3\n[Sounds.Disable]\nOPEN_TOPIC=1\n[B]\nz=1\n");
  ini.deleteKey("a", "X");  // both spellings of the key go
  EXPECT_FALSE(ini.valueExists("A", "x"));
  EXPECT_EQ(ini.keys("A"), QStringList({"y"}));
  ini.deleteKey("A", "nothing");
  ini.deleteKey("Nowhere", "x");
  ini.eraseSection("SOUNDS.DISABLE");
  EXPECT_FALSE(ini.sectionExists("Sounds.Disable"));
  EXPECT_EQ(ini.sections(), QStringList({"A", "B"}));
  EXPECT_EQ(ini.readString("B", "z"), "1");  // the index still points at the right sections
  ini.eraseSection("missing");
  EXPECT_EQ(ini.toBytes(), QByteArray("[A]\r\ny=2\r\n[B]\r\nz=1\r\n"));
}

TEST(IniFile, PairsAndDuplicates) {
  IniFile ini = parsed("[Search]\n0=placa\n1= pare \n0=repeated\n[other]\nk=v\n[SEARCH]\n2=\"faixa\"\n");
  const QList<QPair<QString, QString>> expected = {{"0", "placa"}, {"1", "pare"}, {"2", "faixa"}};
  EXPECT_EQ(ini.pairs("search"), expected);  // a repeated section continues the first, first value wins
  EXPECT_EQ(ini.readString("Search", "0"), "placa");
  EXPECT_TRUE(ini.pairs("none").isEmpty());
  EXPECT_TRUE(ini.keys("none").isEmpty());
}

TEST(IniFile, RejectsNamesThatWouldBreakTheFileAndStoresLineBreaksAsMarks) {
  IniFile ini;
  const char *badKeys[] = {"", "  ", "a=b", "line\nbreak", "[section", ";comment", "#comment"};
  for (const char *key : badKeys) EXPECT_THROW(ini.writeString("S", key, "v"), IniFileError) << key;
  const char *badSections[] = {"", "a]b", "x\ry"};
  for (const char *section : badSections) EXPECT_THROW(ini.writeString(section, "k", "v"), IniFileError) << section;
  EXPECT_TRUE(ini.sections().isEmpty());

  ini.writeString("Comments", "12", "linha 1\r\nlinha 2\nlinha 3");
  EXPECT_EQ(ini.readString("Comments", "12"), "linha 1|linha 2|linha 3");
  IniFile again;
  again.parse(ini.toBytes());
  EXPECT_EQ(again.keys("Comments"), QStringList({"12"}));
}

TEST(IniFile, DamagedBytesLoadWhatTheyCan) {
  struct Case { QByteArray bytes; const char *section, *key, *expected; } cases[] = {
      {QByteArray("[Config\nFlat=0\n[Font]\nName=X\n"), "Font", "Name", "X"},   // unclosed header
      {QByteArray("Flat=0\n[Config]\nShowHint=0\n"), "Config", "ShowHint", "0"}, // key before any section
      {QByteArray("[]\n=nokey\n[Config]\nnoequals\nFlat=0"), "Config", "Flat", "0"}, // no final line end
      {QByteArray("[Config]\r\nA=1\rB=2\r\n"), "Config", "B", "2"},               // lone CR
      {QByteArray("[Config]\nA=\0\x01\xff\nB=ok\n", 20), "Config", "B", "ok"},     // NUL and control bytes
      {QByteArray("\xef\xbb\xbf[Config]\nA=1\n[Config]\nB=3\n"), "Config", "B", "3"}, // BOM makes the first header junk
  };
  for (const Case &c : cases) {
    IniFile ini;
    ini.parse(c.bytes);
    EXPECT_EQ(ini.readString(c.section, c.key, "missing"), QString::fromUtf8(c.expected)) << c.bytes.toHex().constData();
    ini.toBytes();  // must not crash
  }
  IniFile junk;
  QByteArray noise;
  for (int i = 0; i < 5000; ++i) noise.append(char((i * 7919) % 256));
  junk.parse(noise);
  IniFile reparsed;
  reparsed.parse(junk.toBytes());
  EXPECT_EQ(reparsed.sections(), junk.sections());
}

TEST(IniFile, LoadsAndSavesCp1252Files) {
  QTemporaryDir dir;
  const QString path = dir.filePath("VL.ini");
  IniFile ini(path);
  EXPECT_FALSE(ini.load());  // missing file: empty, no error
  ini.writeString("Persistent", "User", QStringLiteral("João Conceição"));
  ini.writeString("Comments", "7", QStringLiteral("“sinal” € ok"));
  ini.save();
  const QByteArray bytes = readAll(path);
  EXPECT_TRUE(bytes.contains(toCp1252(QStringLiteral("User=João Conceição\r\n"))));
  EXPECT_TRUE(bytes.contains("7=\x93sinal\x94 \x80 ok"));

  IniFile back(path);
  EXPECT_TRUE(back.load());
  EXPECT_EQ(back.readString("PERSISTENT", "user"), QStringLiteral("João Conceição"));
  EXPECT_EQ(back.readString("Comments", "7"), QStringLiteral("“sinal” € ok"));
  EXPECT_FALSE(QFileInfo::exists(path + ".tmp"));
  EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList({"VL.ini"}));  // no temporary left over
}

TEST(IniFile, FailedSaveKeepsTheOldFile) {
  QTemporaryDir dir;
  const QString path = dir.filePath("VL.ini");
  const QByteArray old("[Config]\r\nFlat=0\r\n");
  writeAll(path, old);
  IniFile ini(path);
  ASSERT_TRUE(ini.load());
  for (int i = 0; i < 200; ++i) ini.writeInteger("Readed", QString::number(i), i);
  // A file size limit makes the write fail half-way, as a full disk would (root included).
  rlimit saved{};
  ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &saved), 0);
  const auto previousHandler = signal(SIGXFSZ, SIG_IGN);
  rlimit small = saved;
  small.rlim_cur = 64;
  ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
  EXPECT_THROW(ini.save(), IniFileError);
  setrlimit(RLIMIT_FSIZE, &saved);
  signal(SIGXFSZ, previousHandler);
  EXPECT_EQ(readAll(path), old);
  EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList({"VL.ini"}));  // the partial file is gone
  ini.save();  // and works again once the disk has room
  IniFile back(path);
  back.load();
  EXPECT_EQ(back.readInteger("Readed", "199", -1), 199);
}

TEST(IniFile, SaveFailuresThrowWithAMessage) {
  QTemporaryDir dir;
  IniFile noName;
  EXPECT_THROW(noName.save(), IniFileError);
  IniFile intoMissingFolder(dir.filePath("missing/VL.ini"));
  intoMissingFolder.writeString("A", "b", "c");
  try {
    intoMissingFolder.save();
    FAIL() << "saved into a missing folder";
  } catch (const IniFileError &e) {
    EXPECT_FALSE(e.message().isEmpty());
  }
  // A folder where the file should be: cannot be read.
  ASSERT_TRUE(QDir(dir.path()).mkdir("folder.ini"));
  IniFile folder(dir.filePath("folder.ini"));
  EXPECT_THROW(folder.load(), IniFileError);
  // A pipe must not block the program.
  ASSERT_EQ(mkfifo(QFile::encodeName(dir.filePath("pipe.ini")).constData(), 0600), 0);
  IniFile pipe(dir.filePath("pipe.ini"));
  EXPECT_THROW(pipe.load(), IniFileError);
  // A dangling link is a missing file that cannot be read either.
  ASSERT_TRUE(QFile::link(dir.filePath("nowhere.ini"), dir.filePath("dangling.ini")));
  IniFile dangling(dir.filePath("dangling.ini"));
  EXPECT_THROW(dangling.load(), IniFileError);
}

TEST(IniFile, CopiesAreIndependent) {
  IniFile a = parsed("[S]\nk=1\n");
  IniFile b = a;
  b.writeString("S", "k", "2");
  IniFile c = std::move(b);
  EXPECT_EQ(a.readString("S", "k"), "1");
  EXPECT_EQ(c.readString("S", "k"), "2");
}
