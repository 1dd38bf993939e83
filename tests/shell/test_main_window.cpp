#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QProgressBar>
#include <QSplitter>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBrowser>
#include <QToolBar>
#include <QToolButton>
#include <QTreeView>

#include "common/message_box.h"
#include "fake_module.h"
#include "shell/event_sound.h"
#include "shell/form_main.h"
#include "shell/node_data.h"
#include "shell/topic_tree.h"
#include "support/qt_application.h"
#include "support/qt_printers.h"

using namespace vl;
using vltest::topic;

namespace {

// A viewer that shows its page and enables what the text page enables, recording its calls.
struct RecordingViewer : TopicViewer {
  QStringList shown;
  int clears = 0;
  void showTopic(TformMain &window, const QModelIndex &, TNodeData &data) override {
    shown << data.Title;
    for (const char *name : {"actionPrint", "actionSearch", "actionTextSize", "actionLocate", "actionCopyAll"})
      window.rules().setEnabled(QLatin1String(name), true);
    window.rules().setTextSizeMenuEnabled(true);
    window.syncCommands();
    window.showViewerPage(window.page(QStringLiteral("tabSheetRtf")));
  }
  void clear(TformMain &) override { ++clears; }
};

class MainWindowTest : public ::testing::Test {
 protected:
  void SetUp() override {
    vltest::application();
    ASSERT_TRUE(dir.isValid());
    program = dir.filePath(QStringLiteral("VL"));
    core = dir.filePath(QStringLiteral("vl-core.cdb"));
  }
  void writeCore() {
    QFile file(core);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("module");
  }
  std::unique_ptr<TformMain> start(std::shared_ptr<vltest::FakeModuleData> data, bool singleInstance = false) {
    MainWindowOptions options;
    options.programPath = program;
    options.databaseFactory = vltest::fakeFactory(std::move(data));
    options.singleInstanceCheck = singleInstance;
    auto window = std::make_unique<TformMain>(options);
    window->resize(900, 600);
    window->show();
    window->runInitialisation();
    return window;
  }
  template <class T>
  T *child(TformMain &window, const char *name) {
    T *found = window.findChild<T *>(QLatin1String(name));
    EXPECT_NE(found, nullptr) << name;
    return found;
  }
  static bool enabled(TformMain &window, const char *name) { return window.action(QLatin1String(name))->isEnabled(); }

  QTemporaryDir dir;
  QString program, core;
  ScopedMessageRecorder boxes;
};

std::shared_ptr<vltest::FakeModuleData> sampleModule() {
  return vltest::moduleWith({topic(1, "Legislação", "", "rtf", "LEGI0001"), topic(2, "Código de Trânsito", "", "rtf", "LEGI0002"),
                             topic(1, "Sinalização", "", "doc"), topic(2, "Placas", "T", "", "PLAC0001", "Placas"),
                             topic(2, "Figura", "", "wmf"), topic(1, "Simulado", "X", "", "EXAM0001", "Placas")});
}

}  // namespace

TEST_F(MainWindowTest, StartsOnTheModuleAndShowsTheTree) {
  writeCore();
  auto data = sampleModule();
  auto window = start(data);
  EXPECT_TRUE(boxes.requests().isEmpty());
  EXPECT_EQ(window->state(), TformMain::StateReady);
  auto *tree = child<QTreeView>(*window, "treeViewMain");
  ASSERT_EQ(tree->model()->rowCount(), 3);
  EXPECT_EQ(tree->model()->index(0, 0).data().toString(), QStringLiteral("Legislação"));
  EXPECT_EQ(tree->currentIndex(), tree->model()->index(0, 0));  // the first node is selected
  EXPECT_EQ(window->coreGuid(), data->info.guid);
  EXPECT_EQ(window->coreVersion(), QStringLiteral("1.0.0.3"));
  for (const char *name : {"actionFileProperties", "actionQuit", "actionRefresh"}) EXPECT_TRUE(enabled(*window, name)) << name;
  // commands whose subsystem is not installed stay disabled
  for (const char *name : {"actionDic", "actionShowComment", "actionCustomize", "actionInstall", "actionSendSugestion",
                           "actionPagConfig"})
    EXPECT_FALSE(enabled(*window, name)) << name;
  window->setCommandHandler(QStringLiteral("actionDic"), [] {});
  EXPECT_TRUE(enabled(*window, "actionDic"));
  EXPECT_TRUE(child<QLabel>(*window, "panelStatusMsg")->text().isEmpty());
  EXPECT_TRUE(child<QProgressBar>(*window, "panelStatusGauge")->isHidden());
}

TEST_F(MainWindowTest, DispatchesByKindAndAppliesTheBlankPage) {
  writeCore();
  auto window = start(sampleModule());
  auto viewer = std::make_shared<RecordingViewer>();
  window->setViewer(KindText, viewer);
  auto *pages = child<QTabWidget>(*window, "pgCtrlViewers");
  TopicTree &tree = window->contents();
  const QStringList blankCommands = CommandRules::blankPageCommands();
  const struct {
    int creation;
    int viewerKind;
    const char *page;
  } cases[] = {{1, KindText, "tabSheetRtf"}, {2, 0, "tabSheetBlank"}, {3, 0, "tabSheetBlank"},  // no table viewer installed
               {4, 0, "tabSheetBlank"}, {0, KindText, "tabSheetRtf"}};
  for (const auto &c : cases) {
    SCOPED_TRACE(c.creation);
    window->selectNode(tree.nodeAt(c.creation));
    EXPECT_EQ(window->viewerKind(), c.viewerKind);
    EXPECT_EQ(pages->currentWidget()->objectName(), QLatin1String(c.page));
    for (const QString &name : {QStringLiteral("actionPrint"), QStringLiteral("actionTextSize"), QStringLiteral("actionLocate")})
      EXPECT_EQ(window->action(name)->isEnabled(), c.viewerKind == KindText && window->commandAvailable(name))
          << name.toStdString();
    if (c.viewerKind == 0)
      for (const QString &name : blankCommands) EXPECT_FALSE(window->action(name)->isEnabled()) << name.toStdString();
    EXPECT_EQ(enabled(*window, "actionNavPrior"), c.creation != 0);
    EXPECT_TRUE(enabled(*window, "actionNavNext"));
  }
  EXPECT_EQ(viewer->shown, (QStringList{"Código de Trânsito", "Legislação"}));
  EXPECT_GE(viewer->clears, 5);
}

TEST_F(MainWindowTest, TreeChangeWaitsForTheDelayAndNavigationWalksTheTree) {
  writeCore();
  auto window = start(sampleModule());
  QStringList opened;
  setEventSoundPlayer([&](const QString &name) { opened << name; });
  auto *tree = child<QTreeView>(*window, "treeViewMain");
  QList<QModelIndex> shown;
  QObject::connect(window.get(), &TformMain::topicDisplayed, [&](const QModelIndex &node) { shown << node; });
  tree->setCurrentIndex(window->contents().nodeAt(2));
  EXPECT_TRUE(shown.isEmpty());  // not before the 200 ms delay
  QTest::qWait(350);
  ASSERT_EQ(shown.size(), 1);
  EXPECT_EQ(shown.front(), window->contents().nodeAt(2));
  EXPECT_TRUE(opened.contains(QStringLiteral("OPEN_TOPIC")));

  opened.clear();
  window->action(QStringLiteral("actionNavNext"))->trigger();
  EXPECT_EQ(window->currentNode(), window->contents().nodeAt(3));
  EXPECT_EQ(opened.first(), QStringLiteral("CLICK"));
  EXPECT_EQ(window->action(QStringLiteral("actionNavNext"))->statusTip(), QStringLiteral("Tópico Seguinte: Figura"));
  window->selectNode(window->contents().nodeAt(5));
  EXPECT_FALSE(enabled(*window, "actionNavNext"));  // the last node
  window->action(QStringLiteral("actionNavPrior"))->trigger();
  EXPECT_EQ(window->currentNode(), window->contents().nodeAt(4));
  setEventSoundPlayer({});
}

TEST_F(MainWindowTest, TextSizeButtonStepsAndScalesTheViewerFont) {
  writeCore();
  auto window = start(sampleModule());
  window->setViewer(KindText, std::make_shared<RecordingViewer>());
  window->selectNode(window->contents().nodeAt(0));
  window->setBaseFont(QFont(QStringLiteral("DejaVu Sans"), 10));
  QAction *size = window->action(QStringLiteral("actionTextSize"));
  ASSERT_TRUE(size->isEnabled());
  auto *pages = child<QTabWidget>(*window, "pgCtrlViewers");
  auto *menu = child<QMenu>(*window, "popMenuTextSize");
  QList<int> levels, fontSizes;
  for (int i = 0; i < 5; ++i) {
    size->trigger();
    levels << window->textSize();
    fontSizes << pages->font().pointSize();
    EXPECT_TRUE(menu->actions().at(window->textSize())->isChecked());
  }
  EXPECT_EQ(levels, (QList<int>{1, 0, 4, 3, 2}));
  EXPECT_EQ(fontSizes, (QList<int>{12, 15, 7, 8, 10}));
  auto *text = child<QTextBrowser>(*window, "reInfo");
  text->setHtml(QStringLiteral("<p><span style='font-size:20pt'>Pare</span></p>"));
  window->selectTextSize(0);
  QTextCursor cursor(text->document());
  cursor.setPosition(1);
  EXPECT_DOUBLE_EQ(cursor.charFormat().fontPointSize(), 30.0);
  window->selectTextSize(4);
  cursor.setPosition(1);
  EXPECT_NEAR(cursor.charFormat().fontPointSize(), 13.333, 0.01);  // from the loaded size, not cumulative
}

TEST_F(MainWindowTest, NavigationBarTreeAndStatusBarToggles) {
  writeCore();
  auto window = start(sampleModule());
  QAction *nav = window->action(QStringLiteral("actionShowNavBar"));
  nav->trigger();
  EXPECT_EQ(window->navBarHeight(), 0);
  EXPECT_FALSE(nav->isChecked());
  nav->trigger();
  EXPECT_EQ(window->navBarHeight(), 23);
  EXPECT_TRUE(nav->isChecked());
  window->setNavBarHeight(69);  // refused
  EXPECT_EQ(window->navBarHeight(), 23);
  window->setNavBarHeight(68);
  EXPECT_EQ(window->navBarHeight(), 68);

  QAction *treeToggle = window->action(QStringLiteral("actionShowTree"));
  auto *left = child<QWidget>(*window, "panelMainLeft");
  const int width = window->treePaneWidth();
  ASSERT_GT(width, 0);
  treeToggle->trigger();
  EXPECT_EQ(window->treePaneWidth(), 0);
  EXPECT_TRUE(left->isHidden());
  EXPECT_FALSE(treeToggle->isChecked());
  treeToggle->trigger();
  EXPECT_EQ(window->treePaneWidth(), width);
  EXPECT_FALSE(left->isHidden());
  EXPECT_TRUE(treeToggle->isChecked());
  treeToggle->trigger();
  window->action(QStringLiteral("actionLocate"))->setEnabled(true);  // as a viewer would
  window->rules().setEnabled(QStringLiteral("actionLocate"), true);
  window->syncCommands();
  window->action(QStringLiteral("actionLocate"))->trigger();  // shows the tree again
  EXPECT_TRUE(treeToggle->isChecked());

  QAction *status = window->action(QStringLiteral("actionShowStatusBar"));
  status->trigger();
  EXPECT_FALSE(window->statusBarShown());
  status->trigger();
  EXPECT_TRUE(window->statusBarShown());
}

TEST_F(MainWindowTest, MissingModuleShowsTheFourLineBox) {
  auto window = start(sampleModule());
  ASSERT_EQ(boxes.requests().size(), 1);
  const MessageRequest &box = boxes.requests().front();
  EXPECT_EQ(box.kind, MessageKind::Error);
  EXPECT_EQ(box.caption, QStringLiteral("Vialume"));
  EXPECT_EQ(box.text, QStringLiteral("Não encontrei o módulo principal de dados:\n") + core +
                          QStringLiteral("\n\nNenhuma informação estará disponível."));
  EXPECT_EQ(window->contents().rowCount(), 0);
  EXPECT_EQ(window->state(), TformMain::StateReady);
  for (const char *name : {"actionDic", "actionShowComment", "actionFileProperties", "actionCustomize"})
    EXPECT_FALSE(enabled(*window, name)) << name;
}

TEST_F(MainWindowTest, DamagedModuleShowsTheLoaderBoxAndAnEmptyTree) {
  writeCore();
  auto data = sampleModule();
  data->corruptTables = {QStringLiteral("Placas")};
  auto window = start(data);
  ASSERT_EQ(boxes.requests().size(), 1);
  EXPECT_EQ(boxes.requests().front().caption, QStringLiteral("Carregador de Módulos"));
  EXPECT_TRUE(boxes.requests().front().text.endsWith(QStringLiteral("A Tabela 'Placas' está corrompida.")));
  EXPECT_EQ(window->contents().rowCount(), 0);
  EXPECT_TRUE(window->modules().empty());
  EXPECT_FALSE(enabled(*window, "actionFileProperties"));
  EXPECT_EQ(window->coreGuid(), data->info.guid);  // kept: the next start does not verify again
}

TEST_F(MainWindowTest, SecondInstanceClosesSilently) {
  writeCore();
  auto first = start(sampleModule(), true);
  ASSERT_TRUE(first->isVisible());
  bool secondClosed = false;
  auto second = std::make_unique<TformMain>([&] {
    MainWindowOptions options;
    options.programPath = program;
    options.databaseFactory = vltest::fakeFactory(sampleModule());
    return options;
  }());
  QObject::connect(second.get(), &TformMain::closed, [&] { secondClosed = true; });
  second->show();
  second->runInitialisation();
  EXPECT_TRUE(secondClosed);
  EXPECT_FALSE(second->isVisible());
  EXPECT_TRUE(boxes.requests().isEmpty());
  EXPECT_EQ(second->contents().rowCount(), 0);
  EXPECT_TRUE(first->isVisible());
}

TEST_F(MainWindowTest, StructureMenusHintsAndToolBarOrder) {
  auto window = start(sampleModule());
  for (const char *name : {"panelBack", "panelMainLeft", "pgCtrlNodes", "tabSheetContents", "tabSheetFavorites",
                           "treeViewFavorites", "splitterMain", "panelProperties", "bvpgPropTitle", "panelImageTopic",
                           "imageTopicTitle", "imageTopicComment", "imageTopicState", "panelPropMain", "toolBarViewers",
                           "panelViewers", "tabSheetBlank", "tabSheetRtf", "tabSheetTable", "tabSheetList", "tabSheetHot",
                           "reInfo", "splitterNav", "panelPropNav", "bvhBtnPrior", "reParents", "bvhBtnNext", "panelStatus",
                           "panelStatusMsg", "panelStatusGauge", "panelStatusGrip", "panelPageBtns", "toolButtonCopy"})
    EXPECT_NE(window->findChild<QObject *>(QLatin1String(name)), nullptr) << name;
  QStringList menus;
  for (QAction *item : window->menuBar()->actions()) menus << item->text();
  EXPECT_EQ(menus, (QStringList{"&Arquivo", "&Editar", "E&xibir", "Fe&rramentas", "Aj&uda"}));
  QAction *print = window->action(QStringLiteral("actionPrint"));
  EXPECT_EQ(print->toolTip(), QStringLiteral("Imprimir"));
  EXPECT_EQ(print->statusTip(), QStringLiteral("Imprime o tópico ativo."));
  EXPECT_EQ(print->shortcut(), QKeySequence(QStringLiteral("Ctrl+P")));
  QStringList bar;
  for (QAction *item : child<QToolBar>(*window, "toolBarViewers")->actions()) {
    if (item->isSeparator()) {
      bar << "|";
      continue;
    }
    QWidget *widget = child<QToolBar>(*window, "toolBarViewers")->widgetForAction(item);
    bar << widget->objectName();
  }
  EXPECT_EQ(bar, (QStringList{"toolButtonBack", "toolButtonAddToFavorites", "toolButtonLocate", "|", "toolButtonPrint", "|",
                              "toolButtonReaded", "toolButtonDoComment", "toolButtonSearch", "toolButtonCopy",
                              "toolButtonShowSet", "|", "toolButtonSectPrior", "toolButtonSectNext", "|",
                              "toolButtonTextSize", "|", "toolButtonSpeech"}));
  EXPECT_EQ(window->offlineNotice(),
            QStringLiteral("Os links externos estão desativados. Para ativar desmarque: 'Trabalhar off-line' do menu Arquivo."));
  // hints reach the status line with a final stop
  QStatusTipEvent tip(QStringLiteral("Sem ponto"));
  QApplication::sendEvent(window.get(), &tip);
  EXPECT_EQ(child<QLabel>(*window, "panelStatusMsg")->text(), QStringLiteral("Sem ponto."));
}

TEST_F(MainWindowTest, OfflineWebLinkAsksAndNoOpensNothing) {
  auto window = start(sampleModule());
  boxes.setAnswer(false);
  QStringList sounds;
  setEventSoundPlayer([&](const QString &name) { sounds << name; });
  window->action(QStringLiteral("actionWorkOffline"))->trigger();
  ASSERT_TRUE(window->action(QStringLiteral("actionWorkOffline"))->isChecked());
  const int before = static_cast<int>(boxes.requests().size());
  window->action(QStringLiteral("actionVLWeb"))->trigger();
  ASSERT_EQ(boxes.requests().size(), before + 1);
  const MessageRequest &box = boxes.requests().back();
  EXPECT_EQ(box.kind, MessageKind::Question);
  EXPECT_TRUE(box.yesIsDefault);
  EXPECT_EQ(box.caption, QStringLiteral("Vialume na Web"));
  EXPECT_TRUE(box.text.endsWith(QStringLiteral("\n\nMesmo assim, deseja visitar a casa de Vialume agora?")));
  EXPECT_FALSE(sounds.contains(QStringLiteral("LINK")));
  setEventSoundPlayer({});
}

TEST_F(MainWindowTest, CloseIsRefusedWhileAGameStaysOpen) {
  writeCore();
  auto window = start(sampleModule());
  QStringList questions;
  bool gameCloses = false;
  window->hooks().closeGameWindow = [&](const QString &question) {
    questions << question;
    return gameCloses;
  };
  int saves = 0;
  window->hooks().saveUserData = [&](TformMain &) { ++saves; };
  EXPECT_FALSE(window->close());
  EXPECT_EQ(questions, QStringList{"O jogo está ativo, deseja finalizá-lo?"});
  EXPECT_EQ(saves, 0);
  gameCloses = true;
  window->hooks().closeExamWindow = [&](const QString &question) {
    questions << question;
    return true;
  };
  EXPECT_TRUE(window->close());
  EXPECT_EQ(questions.back(), QStringLiteral("Uma prova está sendo realizada, deseja finalizá-la?"));
  EXPECT_EQ(saves, 1);
}
