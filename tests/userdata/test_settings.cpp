#include <gtest/gtest.h>

#include "support/qt_printers.h"

#include "common/ini_file.h"
#include "common/program_files.h"
#include "userdata/settings.h"

using namespace vl;

namespace {

IniFile parsed(const char *text) {
  IniFile ini;
  ini.parse(QByteArray(text));
  return ini;
}

Settings readAll(const IniFile &ini) {
  Settings s;
  readConfig(ini, s);
  readPersistent(ini, s);
  return s;
}

}  // namespace

TEST(Settings, MissingFileGivesEveryDefault) {
  const Settings s = readAll(IniFile());
  Settings expected;
  expected.user = LoginName();
  EXPECT_EQ(s, expected);
  EXPECT_EQ(s.colorBackValue(), QColor(175, 211, 175));
  EXPECT_EQ(s.colorInitialPanelValue(), QColor(192, 220, 192));
  EXPECT_EQ(s.colorWinValue(), QColor(Qt::white));
  EXPECT_EQ(s.fontColorValue(), QColor(Qt::black));
  EXPECT_EQ(s.fontName, "Tahoma");
  EXPECT_EQ(s.fontSize, 10);
  EXPECT_TRUE(s.flat && s.reUseWin && s.autoSpeech && s.informResults && s.showHint && s.giveInstructions &&
              s.showCommentsOnTree && s.useMSSpeech && s.soundsEnabled && s.statusBarVisible &&
              s.navigationBarVisible && s.firstTime);
  EXPECT_FALSE(s.autoSpeechNatural || s.workOffLine || s.autoNextQuestion);
  EXPECT_EQ(s.textSize, 2);
  EXPECT_EQ(s.navigationBarHeight, 23);
  EXPECT_EQ(s.correctWindowHide, 2);
  EXPECT_TRUE(s.msSpeechEngine.isNull() && s.coreGuid.isNull());
}

TEST(Settings, WritesTheDocumentedKeys) {
  IniFile ini;
  Settings s;
  s.user = "Ana";
  s.recentSearches = {"pare", "faixa"};
  writeConfig(ini, s);
  writePersistent(ini, s);
  const char *lines[] = {
      "[Config]", "ColorBack=11522991", "ColorWin=16777215", "ColorPanel=16777215", "ColorInitialPanel=12639424",
      "Flat=1", "ReUseWin=1", "AutoSpeech=1", "AutoSpeechNatural=0", "InformResults=1", "ShowHint=1",
      "giveInstructions=1", "showCommentsOnTree=1", "UseMSSpeech=1",
      "MSSpeechEngine={00000000-0000-0000-0000-000000000000}", "[Font]", "Name=Tahoma", "Size=10", "Color=0",
      "[Search]", "0=pare", "1=faixa", "[Persistent]", "User=Ana", "TextSize=2", "SoundsOff=1",
      "StatusBar.Visible=1", "NavigationBar.Visible=1", "NavigationBar.Height=23", "CorrectWindowHide=2",
      "WorkOffLine=0", "AutoNextQuestion=0", "Core.GUID={00000000-0000-0000-0000-000000000000}", "Core.Version=",
      "FirstTime=0",
  };
  const QStringList written = QString::fromLatin1(ini.toBytes()).split("\r\n", Qt::SkipEmptyParts);
  QStringList expected;
  for (const char *l : lines) expected << l;
  EXPECT_EQ(written, expected);
}

TEST(Settings, RoundTripsEveryValue) {
  Settings s;
  s.colorBack = 0x102030;
  s.colorWin = 0x405060;
  s.colorPanel = 0x708090;
  s.colorInitialPanel = 0xA0B0C0;
  s.flat = false;
  s.reUseWin = false;
  s.autoSpeech = false;
  s.autoSpeechNatural = true;
  s.informResults = false;
  s.showHint = false;
  s.giveInstructions = false;
  s.showCommentsOnTree = false;
  s.useMSSpeech = false;
  s.msSpeechEngine = QUuid::fromString(QStringLiteral("{6a2b5f3c-1d4e-4f70-9a8b-0c1d2e3f4a5b}"));
  s.fontName = "DejaVu Sans";
  s.fontSize = 12;
  s.fontColor = 0x0000FF;
  s.user = QStringLiteral("José da Conceição");
  s.textSize = 4;
  s.soundsEnabled = false;
  s.statusBarVisible = false;
  s.navigationBarVisible = false;
  s.navigationBarHeight = 31;
  s.correctWindowHide = 0;
  s.workOffLine = true;
  s.autoNextQuestion = true;
  s.coreGuid = QUuid::fromString(QStringLiteral("{11111111-2222-3333-4444-555555555555}"));
  s.coreVersion = "1.0.2.7";
  s.recentSearches = {"a", "b", "c", "d", "e", "f", "g"};
  IniFile ini;
  writeConfig(ini, s);
  writePersistent(ini, s);
  IniFile back;
  back.parse(ini.toBytes());
  Settings expected = s;
  expected.firstTime = false;  // every exit writes it false
  EXPECT_EQ(readAll(back), expected);
  EXPECT_EQ(back.readString("Config", "MSSpeechEngine"), "{6A2B5F3C-1D4E-4F70-9A8B-0C1D2E3F4A5B}");
}

TEST(Settings, ClampsAndBadValues) {
  struct Case { const char *file; int textSize; bool soundsEnabled; int colorBack; } cases[] = {
      {"[Persistent]\nTextSize=9\n", 4, true, 11522991},
      {"[Persistent]\nTextSize=-3\n", 0, true, 11522991},
      {"[Persistent]\nTextSize=abc\n", 2, true, 11522991},
      {"[persistent]\ntextsize=3\nSOUNDSOFF=1\n", 3, true, 11522991},
      {"[Persistent]\nSoundsOff=0\n", 2, false, 11522991},
      {"[Config]\nColorBack=-16777201\n", 2, true, 11522991},  // not a plain colour: the default
      {"[Config]\nColorBack=0x00FF00\n", 2, true, 0x00FF00},
      {"[Config]\nColorBack=16777216\n", 2, true, 11522991},
  };
  for (const Case &c : cases) {
    const Settings s = readAll(parsed(c.file));
    EXPECT_EQ(s.textSize, c.textSize) << c.file;
    EXPECT_EQ(s.soundsEnabled, c.soundsEnabled) << c.file;
    EXPECT_EQ(s.colorBack, c.colorBack) << c.file;
  }
}

TEST(Settings, Guids) {
  struct Case { const char *text; const char *expected; } cases[] = {
      {"", nullptr}, {"garbage", nullptr}, {"{not-a-guid}", nullptr},
      {"6a2b5f3c-1d4e-4f70-9a8b-0c1d2e3f4a5b", nullptr},  // braces required
      {"{6a2b5f3c-1d4e-4f70-9a8b-0c1d2e3f4a5b}", "{6a2b5f3c-1d4e-4f70-9a8b-0c1d2e3f4a5b}"},
      {" {6A2B5F3C-1D4E-4F70-9A8B-0C1D2E3F4A5B} ", "{6a2b5f3c-1d4e-4f70-9a8b-0c1d2e3f4a5b}"},
  };
  for (const Case &c : cases) {
    IniFile ini;
    ini.writeString("Config", "MSSpeechEngine", c.text);
    const QUuid id = readGuid(ini, "Config", "MSSpeechEngine");
    if (c.expected)
      EXPECT_EQ(id, QUuid::fromString(QString(c.expected))) << c.text;
    else
      EXPECT_TRUE(id.isNull()) << c.text;
  }
}

TEST(Settings, RecentSearches) {
  Settings s;
  readPersistent(parsed("[Search]\n0=pare\n1=\n2=faixa\n3=PARE\n4=pare\n6=placa\n9=ignored\n"), s);
  // 6 down to 0 go to the front; "pare" at 4 moves to the front again when 0 is read.
  EXPECT_EQ(s.recentSearches, QStringList({"pare", "faixa", "PARE", "placa"}));

  QStringList list = {"a", "b"};
  addRecentSearch(list, "b");
  addRecentSearch(list, "  ");
  EXPECT_EQ(list, QStringList({"b", "a"}));

  s.recentSearches = {"1", "2", "3", "4", "5", "6", "7", "8", "9"};
  IniFile ini = parsed("[Search]\n8=old\n");
  writePersistent(ini, s);
  EXPECT_EQ(ini.keys("Search"), QStringList({"0", "1", "2", "3", "4", "5", "6"}));
  EXPECT_EQ(ini.readString("Search", "6"), "7");
}

TEST(Settings, SoundCustomisations) {
  IniFile ini = parsed("[Sounds.Disable]\nSTALE=1\n[Sounds.Files]\nSTALE=/x.wav\n");
  const QList<SoundSetting> sounds = {
      {"OPEN_TOPIC", false, ""}, {"CLOSE", true, "  /home/u/close.wav "}, {"ERROR", false, "/e.wav"}, {"OK", true, " "}};
  writeSoundSettings(ini, sounds);
  EXPECT_EQ(ini.keys("Sounds.Disable"), QStringList({"OPEN_TOPIC", "ERROR"}));
  EXPECT_EQ(ini.keys("Sounds.Files"), QStringList({"CLOSE", "ERROR"}));

  QList<SoundSetting> back = {{"open_topic"}, {"CLOSE"}, {"ERROR"}, {"OK"}, {"STALE"}};
  readSoundSettings(ini, back);
  struct Expect { bool enabled; const char *file; } expected[] = {
      {false, ""}, {true, "/home/u/close.wav"}, {false, "/e.wav"}, {true, ""}, {true, ""}};
  for (int i = 0; i < back.size(); ++i) {
    EXPECT_EQ(back[i].enabled, expected[i].enabled) << i;
    EXPECT_EQ(back[i].file, QString(expected[i].file)) << i;
  }
}

TEST(Settings, MainLayoutDefaultsAndClamps) {
  const LayoutGeometry g{900, 2, 600, 400, 300};
  struct Case { const char *file; MainLayout expected; } cases[] = {
      {"", {300, false, 0, 300, 80, 150}},
      {"[MainPos]\nTableWidth=5\nTableMemoHeight=1\nHotHeight=2\n", {300, false, 0, 30, 20, 20}},
      {"[MainPos]\nTableWidth=5000\nTableMemoHeight=5000\nHotHeight=5000\n", {300, false, 0, 590, 390, 290}},
      {"[MainPos]\nTreesWidth=250\nTreesVisible=1\nTreesActive=1\n", {250, true, 1, 300, 80, 150}},
      {"[MainPos]\nTreesActive=7\n", {300, false, 1, 300, 80, 150}},
      {"[MainPos]\nTreesActive=-1\nTableWidth=x\n", {300, false, 0, 300, 80, 150}},
  };
  for (const Case &c : cases) {
    const MainLayout l = readMainLayout(parsed(c.file), g);
    EXPECT_EQ(l, c.expected) << c.file << " -> " << l.treesWidth << " " << l.treesHidden << " " << l.treesActive
                             << " " << l.tableWidth << " " << l.tableMemoHeight << " " << l.hotHeight;
  }
  // A page smaller than the minimum: its own limit, never negative.
  const MainLayout tiny = readMainLayout(parsed("[MainPos]\nTableWidth=100\n"), LayoutGeometry{90, 1, 25, 15, 5});
  EXPECT_EQ(tiny.tableWidth, 15);
  EXPECT_EQ(tiny.tableMemoHeight, 5);
  EXPECT_EQ(tiny.hotHeight, 0);
  EXPECT_EQ(tiny.treesActive, 0);

  IniFile ini;
  writeMainLayout(ini, MainLayout{250, true, 1, 200, 70, 120});
  EXPECT_EQ(readMainLayout(ini, g), (MainLayout{250, true, 1, 200, 70, 120}));
  EXPECT_EQ(ini.keys("MainPos"),
            QStringList({"TreesWidth", "TreesVisible", "TreesActive", "TableWidth", "TableMemoHeight", "HotHeight"}));
}
