// The text page on module files read by the engine: a module built by the writer, and the core
// module of the program folder (when it has been built).
#include <gtest/gtest.h>

#include <QAction>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTextBrowser>
#include <QTreeView>

#include <fstream>

#include "common/message_box.h"
#include "module_file.h"
#include "shell/form_main.h"
#include "shell/module_factory.h"
#include "shell/navigation.h"
#include "shell/node_data.h"
#include "shell/text_viewer.h"
#include "shell/text_viewer_install.h"
#include "shell/topic_tree.h"
#include "support/qt_application.h"
#include "support/qt_printers.h"

using namespace vl;

namespace {

std::unique_ptr<TformMain> startOn(const QString &program, const QString &core, TextPage &page) {
  MainWindowOptions options;
  options.programPath = program;
  options.coreModulePath = core;
  options.databaseFactory = moduleDatabaseFactory();
  options.singleInstanceCheck = false;
  auto window = std::make_unique<TformMain>(options);
  page = installTextPage(*window);
  window->resize(1000, 700);
  window->show();
  window->runInitialisation();
  return window;
}

QModelIndex nodeWithId(const TopicTree &tree, const QString &id) {
  for (QModelIndex node = tree.firstNode(); node.isValid(); node = tree.nextNode(node))
    if (tree.nodeData(node) && tree.nodeData(node)->TopicId == id) return node;
  return {};
}

}  // namespace

TEST(TextViewerModules, LoadsTheTopicTextThroughTheEngine) {
  vltest::application();
  QTemporaryDir dir;
  ScopedMessageRecorder boxes;
  const std::vector<std::uint8_t> image = vltest::buildModuleImage(vltest::sampleTopics());
  const QString core = dir.filePath(QStringLiteral("vl-core.cdb"));
  std::ofstream(core.toStdString(), std::ios::binary).write(reinterpret_cast<const char *>(image.data()),
                                                            static_cast<std::streamsize>(image.size()));
  TextPage page;
  auto window = startOn(dir.filePath(QStringLiteral("VL")), core, page);
  ASSERT_TRUE(boxes.requests().isEmpty());
  window->selectNode(nodeWithId(window->contents(), QStringLiteral("LEGI0001")), true);
  EXPECT_EQ(window->textView()->toPlainText(), QStringLiteral("O Código de Trânsito Brasileiro"));
  EXPECT_EQ(window->findChild<QTextBrowser *>(QStringLiteral("reParents"))->toPlainText(), QStringLiteral("Legislação de trânsito"));
}

TEST(TextViewerModules, TheCoreModuleShowsItsTextsWithLinks) {
  vltest::application();
  const QString core = qEnvironmentVariable("VL_APP_DIR") + QStringLiteral("/vl-core.cdb");
  if (!QFile::exists(core)) GTEST_SKIP() << "core module not built: " << core.toStdString();
  QTemporaryDir dir;
  ScopedMessageRecorder boxes;
  TextPage page;
  auto window = startOn(dir.filePath(QStringLiteral("VL")), core, page);
  ASSERT_TRUE(boxes.requests().isEmpty());
  const TopicTree &tree = window->contents();
  QTextBrowser *info = window->textView();

  // every text topic resolves its markup: no link markup stays visible
  for (QModelIndex node = tree.firstNode(); node.isValid(); node = tree.nextNode(node)) {
    if (tree.nodeData(node)->Kind != KindText) continue;
    window->selectNode(node, true);
    EXPECT_FALSE(info->toPlainText().contains(QStringLiteral("~«"))) << node.data().toString().toStdString();
    EXPECT_FALSE(info->toPlainText().contains(QStringLiteral("~^"))) << node.data().toString().toStdString();
  }

  const QModelIndex welcome = nodeWithId(tree, QStringLiteral("INTR0001"));
  ASSERT_TRUE(welcome.isValid());
  window->selectNode(welcome, true);
  ASSERT_FALSE(page.text->links().empty());
  int topicLink = -1;
  for (size_t i = 0; i < page.text->links().size(); ++i)
    if (page.text->links()[i].data.kind == LinkTopic && page.text->links()[i].data.anchor.isEmpty()) {
      topicLink = static_cast<int>(i);
      break;
    }
  ASSERT_GE(topicLink, 0);
  const QModelIndex target = page.text->links()[static_cast<size_t>(topicLink)].data.node;
  if (!qEnvironmentVariable("VL_SHOT_DIR").isEmpty())
    window->grab().save(qEnvironmentVariable("VL_SHOT_DIR") + QStringLiteral("/text-topic.png"));

  QTextCursor caret(info->document());
  caret.setPosition(linkPosition(*info->document(), topicLink));
  info->setTextCursor(caret);
  page.text->LinkClicked(linkHref(topicLink));
  EXPECT_EQ(window->currentNode(), target);
  window->action(QStringLiteral("actionBack"))->trigger();
  EXPECT_EQ(window->currentNode(), welcome);
  EXPECT_EQ(info->textCursor().position(), linkPosition(*info->document(), topicLink));

  // a second-level topic: its parents line and the next topic
  const QModelIndex ctb = nodeWithId(tree, QStringLiteral("LEGI0001"));
  ASSERT_TRUE(ctb.isValid());
  window->selectNode(ctb, true);
  EXPECT_EQ(window->findChild<QTextBrowser *>(QStringLiteral("reParents"))->toPlainText(), ctb.parent().data().toString());
  page.navigation->ParentsLineClicked(QStringLiteral("vl:0"));
  EXPECT_EQ(window->currentNode(), ctb.parent());
  if (!qEnvironmentVariable("VL_SHOT_DIR").isEmpty())
    window->grab().save(qEnvironmentVariable("VL_SHOT_DIR") + QStringLiteral("/text-topic-children.png"));
  window->action(QStringLiteral("actionNavNext"))->trigger();
  EXPECT_EQ(window->currentNode(), tree.nextNode(ctb.parent()));
}
