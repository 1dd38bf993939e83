#include <gtest/gtest.h>

#include "support/qt_printers.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QWidget>

#include "common/ini_file.h"
#include "common/message_box.h"
#include "common/program_files.h"
#include "support/qt_application.h"
#include "userdata/settings_store.h"

using namespace vl;

namespace {

QByteArray fileBytes(const QString &path) {
  QFile f(path);
  return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

class Store : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { vltest::application(); }
  QTemporaryDir dir;
  QString path() const { return dir.filePath("VL.ini"); }
};

}  // namespace

TEST_F(Store, DefaultPathIsBesideTheProgram) {
  EXPECT_EQ(defaultSettingsPath(), QDir(QCoreApplication::applicationDirPath()).filePath("VL.ini"));
  EXPECT_EQ(SettingsStore().path(), defaultSettingsPath());
}

TEST_F(Store, FirstRunUsesDefaultsAndTheFirstExitCreatesTheFile) {
  ScopedMessageRecorder boxes;
  SettingsStore store(path());
  QWidget main;
  main.resize(900, 600);
  Settings settings;
  const MainLayout layout = store.LoadLayoutAndConfig(&main, settings, LayoutGeometry{0, 2, 600, 400, 300});
  store.LoadPersistent(settings);
  Settings expected;
  expected.user = LoginName();
  EXPECT_EQ(settings, expected);
  EXPECT_EQ(layout, (MainLayout{300, false, 0, 300, 80, 150}));
  EXPECT_TRUE(boxes.requests().isEmpty());
  EXPECT_FALSE(QFile::exists(path()));

  store.SavePersistent(settings);
  EXPECT_TRUE(store.SaveLayout(&main, layout));
  IniFile ini(path());
  ASSERT_TRUE(ini.load());
  EXPECT_EQ(ini.readString("Persistent", "FirstTime"), "0");
  EXPECT_EQ(ini.readInteger("MainPos", "TreesWidth", -1), 300);
  EXPECT_EQ(ini.readInteger("MainPos", "Win.Width", -1), 900);
  EXPECT_TRUE(boxes.requests().isEmpty());
}

TEST_F(Store, SettingsSurviveARestart) {
  ScopedMessageRecorder boxes;
  SettingsStore store(path());
  Settings s;
  s.flat = false;
  s.user = QStringLiteral("Joana");
  s.fontName = "DejaVu Sans";
  s.fontSize = 13;
  s.textSize = 0;
  s.recentSearches = {"pare", "siga"};
  const QList<SoundSetting> sounds = {{"OPEN_TOPIC", false, {}}, {"CLOSE", true, "/tmp/c.wav"}};
  ASSERT_TRUE(store.SaveConfig(s, sounds));
  store.SavePersistent(s);
  QWidget main;
  main.setGeometry(20, 30, 640, 480);
  main.show();
  ASSERT_TRUE(store.SaveLayout(&main, MainLayout{200, true, 1, 250, 60, 100}));

  // The next start.
  QWidget next;
  next.resize(500, 400);
  Settings read;
  const MainLayout layout = store.LoadLayoutAndConfig(&next, read, LayoutGeometry{0, 2, 600, 400, 300});
  store.LoadPersistent(read);
  Settings expected = s;
  expected.firstTime = false;
  EXPECT_EQ(read, expected);
  EXPECT_EQ(layout, (MainLayout{200, true, 1, 250, 60, 100}));
  EXPECT_EQ(next.geometry(), QRect(20, 30, 640, 480));
  EXPECT_EQ(next.font().family(), "DejaVu Sans");
  EXPECT_EQ(next.font().pointSize(), 13);
  QList<SoundSetting> back = {{"OPEN_TOPIC"}, {"CLOSE"}};
  EXPECT_TRUE(store.LoadSoundSettings(back));
  EXPECT_FALSE(back[0].enabled);
  EXPECT_EQ(back[1].file, "/tmp/c.wav");
  EXPECT_TRUE(boxes.requests().isEmpty());

  // Saving one part keeps the others.
  const QByteArray before = fileBytes(path());
  ASSERT_TRUE(store.SavePlacement(&main, "ExamPos"));
  IniFile ini(path());
  ini.load();
  EXPECT_EQ(ini.readString("Font", "Name"), "DejaVu Sans");
  EXPECT_TRUE(ini.sectionExists("ExamPos"));
  EXPECT_TRUE(fileBytes(path()).startsWith(before));
}

TEST_F(Store, FileErrorsShowTheWarningBoxes) {
  // A folder where the settings file should be: it can be neither read nor written.
  ASSERT_TRUE(QDir(dir.path()).mkdir("VL.ini"));
  ScopedMessageRecorder boxes;
  SettingsStore store(path());
  QWidget window;
  window.resize(300, 200);
  Settings s;
  QList<SoundSetting> sounds = {{"OPEN_TOPIC"}};
  struct Case { std::function<bool()> run; const char *line; } cases[] = {
      {[&] { store.LoadLayoutAndConfig(&window, s, {}); return false; }, "Ocorreu um erro ao ler o layout da janela de"},
      {[&] { return store.SaveLayout(&window, {}); }, "Ocorreu um erro ao salvar o layout da janela em "},
      {[&] { return store.SaveConfig(s, sounds); }, "Ocorreu um erro ao salvar as configurações do usuário em"},
      {[&] { return store.LoadSoundSettings(sounds); }, "Ocorreu um erro ao ler as personalizações de som de"},
      {[&] { return store.LoadPlacement(&window, "ExamPos"); }, "Ocorreu um erro ao ler o tamanho da janela em"},
      {[&] { return store.SavePlacement(&window, "ExamPos"); }, "Ocorreu um erro ao salvar o tamanho da janela em"},
  };
  for (const Case &c : cases) {
    const qsizetype before = boxes.requests().size();
    EXPECT_FALSE(c.run()) << c.line;
    ASSERT_EQ(boxes.requests().size(), before + 1) << c.line;
    const MessageRequest &box = boxes.requests().back();
    EXPECT_EQ(box.kind, MessageKind::Warning);
    EXPECT_EQ(box.caption, "Vialume");
    const QStringList lines = box.text.split('\n');
    ASSERT_EQ(lines.size(), 4) << box.text.toStdString();
    EXPECT_EQ(lines[0], QString::fromUtf8(c.line));
    EXPECT_EQ(lines[1], path());
    EXPECT_EQ(lines[2], "");
    EXPECT_FALSE(lines[3].isEmpty());
  }
  EXPECT_EQ(sounds[0].enabled, true);  // goes on with what it has

  // Persistent values: errors ignored, the program goes on with the defaults.
  const qsizetype before = boxes.requests().size();
  s.textSize = 4;
  store.LoadPersistent(s);
  store.SavePersistent(s);
  EXPECT_EQ(s.textSize, 2);
  EXPECT_EQ(boxes.requests().size(), before);
  // Silent placement wrappers report nothing.
  EXPECT_FALSE(store.LoadPlacement(&window, "ExamPos", true));
  EXPECT_FALSE(store.SavePlacement(&window, "ExamPos", {}, true));
  EXPECT_EQ(boxes.requests().size(), before);
}

TEST_F(Store, ADamagedFileLoadsWhatItCan) {
  QFile f(path());
  ASSERT_TRUE(f.open(QIODevice::WriteOnly));
  f.write("\x00\x01garbage\n[Config\nFlat=0\n[Config]\nFlat=0\nColorBack=zz\n[Persistent]\nTextSize=9\n\xff\xfe", 80);
  f.close();
  ScopedMessageRecorder boxes;
  SettingsStore store(path());
  QWidget main;
  main.resize(600, 400);
  Settings s;
  store.LoadLayoutAndConfig(&main, s, {});
  store.LoadPersistent(s);
  EXPECT_FALSE(s.flat);
  EXPECT_EQ(s.colorBack, Settings().colorBack);
  EXPECT_EQ(s.textSize, 4);
  EXPECT_TRUE(boxes.requests().isEmpty());
  store.SavePersistent(s);  // and it can be written again, keeping the rest
  IniFile ini(path());
  ini.load();
  EXPECT_EQ(ini.readString("Config", "Flat"), "0");
  EXPECT_EQ(ini.readString("Persistent", "FirstTime"), "0");
}

TEST_F(Store, PlacementWrappersKeepWindowsOnScreen) {
  ScopedMessageRecorder boxes;
  SettingsStore store(path());
  QWidget window;
  window.show();
  ASSERT_TRUE(store.update(
      [](IniFile &ini) {
        ini.writeInteger("Customize", "Win.Left", -500);
        ini.writeInteger("Customize", "Win.Top", -400);
        ini.writeInteger("Customize", "Win.Width", 300);
        ini.writeInteger("Customize", "Win.Height", 200);
      },
      "x"));
  EXPECT_TRUE(store.LoadPlacement(&window, "Customize"));
  EXPECT_TRUE(workAreaOf(&window).contains(window.frameGeometry().topLeft()));
  EXPECT_EQ(window.size(), QSize(300, 200));
  EXPECT_TRUE(boxes.requests().isEmpty());
}
