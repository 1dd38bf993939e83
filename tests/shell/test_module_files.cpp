// The main window on module files built by the writer, the settings file across two starts,
// and the program itself started twice.
#include <gtest/gtest.h>

#include <QAction>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <QTreeView>

#include <fstream>

#include "common/ini_file.h"
#include "common/message_box.h"
#include "module_file.h"
#include "shell/form_main.h"
#include "shell/module_factory.h"
#include "shell/node_data.h"
#include "shell/topic_tree.h"
#include "shell/vl_tables.h"
#include "support/qt_application.h"
#include "support/qt_printers.h"

using namespace vl;

namespace {

class ModuleFileTest : public ::testing::Test {
 protected:
  void SetUp() override {
    vltest::application();
    ASSERT_TRUE(dir.isValid());
    program = dir.filePath(QStringLiteral("VL"));
  }
  void writeModule(const std::vector<std::uint8_t> &image) {
    std::ofstream out(dir.filePath(QStringLiteral("vl-core.cdb")).toStdString(), std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char *>(image.data()), static_cast<std::streamsize>(image.size()));
  }
  std::unique_ptr<TformMain> start() {
    MainWindowOptions options;
    options.programPath = program;
    options.databaseFactory = moduleDatabaseFactory();
    options.singleInstanceCheck = false;
    auto window = std::make_unique<TformMain>(options);
    window->show();
    window->runInitialisation();
    return window;
  }
  QTemporaryDir dir;
  QString program;
  ScopedMessageRecorder boxes;
};

}  // namespace

TEST_F(ModuleFileTest, StartsOnABuiltModule) {
  writeModule(vltest::buildModuleImage(vltest::sampleTopics()));
  auto window = start();
  EXPECT_TRUE(boxes.requests().isEmpty());
  const TopicTree &tree = window->contents();
  ASSERT_EQ(tree.rowCount(), 3);
  EXPECT_EQ(tree.index(0, 0).data().toString(), QStringLiteral("Legislação de trânsito"));
  EXPECT_EQ(tree.index(0, 0, tree.index(0, 0)).data().toString(), QStringLiteral("O Código de Trânsito Brasileiro"));
  const TNodeData *table = tree.nodeData(tree.nodeAt(3));
  ASSERT_NE(table, nullptr);
  EXPECT_EQ(table->Kind, KindTable);
  EXPECT_EQ(table->Title, QStringLiteral("Placas"));
  EXPECT_EQ(table->TableIndex, 1);
  EXPECT_EQ(tree.nodeData(tree.nodeAt(1))->RecordNumber, 2);
  EXPECT_EQ(tree.nodeData(tree.nodeAt(4))->Kind, KindExam);
  EXPECT_EQ(window->tables().Count(), 2);
  EXPECT_EQ(window->tables().Item(1)->TopicId, QStringLiteral("PLAC0001"));
  EXPECT_EQ(window->coreGuid(), QUuid::fromString(QStringLiteral("{76543210-BA98-FEDC-0102-030405060708}")));
  EXPECT_EQ(window->coreVersion(), QStringLiteral("1.0.0.1"));
  EXPECT_TRUE(window->action(QStringLiteral("actionFileProperties"))->isEnabled());
  // the topic's text is the FILE column of its own "toc" record
  window->selectNode(tree.nodeAt(1));
  ModuleTable *text = window->currentTopicTable();
  ASSERT_NE(text, nullptr);
  text->setRecNo(tree.nodeData(tree.nodeAt(1))->RecordNumber);
  EXPECT_EQ(text->asText(QStringLiteral("FILE")), QStringLiteral("{\\rtf1 O Código de Trânsito Brasileiro}"));
}

TEST_F(ModuleFileTest, DamagedTableGivesTheLoaderBoxAndAnEmptyTree) {
  writeModule(vltest::buildModuleImage(vltest::sampleTopics(), true));
  auto window = start();
  ASSERT_EQ(boxes.requests().size(), 1);
  const MessageRequest &box = boxes.requests().front();
  EXPECT_EQ(box.caption, QStringLiteral("Carregador de Módulos"));
  EXPECT_EQ(box.text, QStringLiteral("Não foi possível instalar o módulo de Vialume\n'") + dir.filePath("vl-core.cdb") +
                          QStringLiteral("'\n\nA Tabela 'Placas' está corrompida."));
  EXPECT_EQ(window->contents().rowCount(), 0);
  EXPECT_EQ(window->tables().Count(), 0);
  EXPECT_TRUE(window->modules().empty());
  EXPECT_FALSE(window->action(QStringLiteral("actionFileProperties"))->isEnabled());
}

TEST_F(ModuleFileTest, NotAModuleFileGivesTheEngineMessage) {
  QFile file(dir.filePath(QStringLiteral("vl-core.cdb")));
  ASSERT_TRUE(file.open(QIODevice::WriteOnly));
  file.write(QByteArray(600, 'x'));
  file.close();
  auto window = start();
  ASSERT_EQ(boxes.requests().size(), 1);
  EXPECT_EQ(boxes.requests().front().caption, QStringLiteral("Carregador de Módulos"));
  EXPECT_TRUE(boxes.requests().front().text.contains(QStringLiteral("[Orvanto: ")))
      << boxes.requests().front().text.toStdString();
  EXPECT_EQ(window->contents().rowCount(), 0);
}

TEST_F(ModuleFileTest, SettingsAreWrittenAtCloseAndReadAtTheNextStart) {
  writeModule(vltest::buildModuleImage(vltest::sampleTopics()));
  {
    auto window = start();
    window->selectTextSize(4);
    window->action(QStringLiteral("actionShowNavBar"))->trigger();
    window->action(QStringLiteral("actionShowStatusBar"))->trigger();
    window->action(QStringLiteral("actionShowTree"))->trigger();
    window->action(QStringLiteral("actionWorkOffline"))->trigger();
    window->action(QStringLiteral("actionSoundsEnabled"))->trigger();
    ASSERT_TRUE(window->close());
  }
  IniFile ini(dir.filePath(QStringLiteral("VL.ini")));
  ASSERT_TRUE(ini.load());
  EXPECT_EQ(ini.readInteger(QStringLiteral("Persistent"), QStringLiteral("TextSize"), -1), 4);
  EXPECT_EQ(ini.readString(QStringLiteral("Persistent"), QStringLiteral("FirstTime")), QStringLiteral("0"));
  EXPECT_EQ(ini.readString(QStringLiteral("Persistent"), QStringLiteral("SoundsOff")), QStringLiteral("0"));
  EXPECT_EQ(ini.readInteger(QStringLiteral("Persistent"), QStringLiteral("NavigationBar.Height"), 0), 23);
  EXPECT_EQ(ini.readString(QStringLiteral("Persistent"), QStringLiteral("Core.Version")), QStringLiteral("1.0.0.1"));
  EXPECT_EQ(QUuid::fromString(ini.readString(QStringLiteral("Persistent"), QStringLiteral("Core.GUID"))),
            QUuid::fromString(QStringLiteral("{76543210-BA98-FEDC-0102-030405060708}")));
  EXPECT_TRUE(ini.readBool(QStringLiteral("MainPos"), QStringLiteral("TreesVisible"), false));

  auto again = start();
  EXPECT_EQ(again->textSize(), 4);
  EXPECT_EQ(again->navBarHeight(), 0);
  EXPECT_FALSE(again->statusBarShown());
  EXPECT_EQ(again->treePaneWidth(), 217);  // a pane hidden at exit returns at its design width
  EXPECT_TRUE(again->action(QStringLiteral("actionWorkOffline"))->isChecked());
  EXPECT_FALSE(again->action(QStringLiteral("actionSoundsEnabled"))->isChecked());
  again->action(QStringLiteral("actionShowNavBar"))->trigger();
  EXPECT_EQ(again->navBarHeight(), 23);
  EXPECT_TRUE(boxes.requests().isEmpty());
}

TEST(Program, SecondInstanceEndsByItselfWithoutAMessage) {
  const QString built = qEnvironmentVariable("VL_APP_DIR") + QStringLiteral("/VL");
  ASSERT_TRUE(QFile::exists(built)) << built.toStdString();
  QTemporaryDir dir;
  const QString program = dir.filePath(QStringLiteral("VL"));
  ASSERT_TRUE(QFile::copy(built, program));
  QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
  env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
  QProcess first;
  first.setProcessEnvironment(env);
  first.start(program, {});
  ASSERT_TRUE(first.waitForStarted());
  // without a core module the first instance waits in its error box, holding the instance
  QTest::qWait(2500);
  ASSERT_EQ(first.state(), QProcess::Running);
  QProcess second;
  second.setProcessEnvironment(env);
  second.start(program, {});
  ASSERT_TRUE(second.waitForStarted());
  EXPECT_TRUE(second.waitForFinished(15000));
  EXPECT_EQ(second.exitStatus(), QProcess::NormalExit);
  EXPECT_EQ(second.exitCode(), 0);
  EXPECT_EQ(first.state(), QProcess::Running);
  first.kill();
  first.waitForFinished(5000);
}
