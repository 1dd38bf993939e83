#include <gtest/gtest.h>

#include <QAction>
#include <QLabel>
#include <QMenu>
#include <QScrollBar>
#include <QTest>
#include <QTreeView>
#include <QUrl>

#include "common/ini_file.h"
#include "shell/navigation.h"
#include "shell/node_data.h"
#include "shell/text_viewer_find_dialog.h"
#include "support/qt_printers.h"
#include "text_viewer_fixtures.h"
#include "text_window_fixture.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>

using namespace vl;
using namespace vltest;

namespace {

// Records the addresses the default handler would open.
struct UrlRecorder {
  explicit UrlRecorder(TextViewer &viewer) {
    viewer.openAddress = [this](const QUrl &url) { opened << url; };
  }
  QList<QUrl> opened;
};

}  // namespace

TEST_F(TextWindowTest, ShowsTheTopicTextWithItsLinksAndCommands) {
  show(Legislation);
  EXPECT_EQ(window->viewerKind(), KindText);
  EXPECT_TRUE(text().startsWith(QStringLiteral("Veja Velocidade e ver regras.\nacima e portal e placa e comando.\n")));
  EXPECT_TRUE(text().endsWith(QStringLiteral("\nLimites aqui no fim.")));
  EXPECT_FALSE(text().contains(QStringLiteral("~«")));
  EXPECT_EQ(page.text->links().size(), 6u);
  EXPECT_FALSE(page.text->addressDetection());
  EXPECT_EQ(info->document()->metaInformation(QTextDocument::DocumentTitle), QStringLiteral("Legislação de trânsito"));
  for (const char *name : {"actionPrint", "actionSearch", "actionCopyAll", "actionTextSize", "actionLocate"}) EXPECT_TRUE(enabled(name)) << name;
  for (const char *name : {"actionCopySel", "actionSearchNext", "actionShowSet", "actionDefinition"}) EXPECT_FALSE(enabled(name)) << name;
  EXPECT_EQ(info->textCursor().position(), 0);

  show(Empty);
  EXPECT_TRUE(text().isEmpty());
  for (const char *name : {"actionPrint", "actionSearch", "actionCopyAll", "actionCopySel"}) EXPECT_FALSE(enabled(name)) << name;
}

TEST_F(TextWindowTest, TopicLinkOpensTheTargetSelectsTheAnchorWordAndBackRestoresTheView) {
  show(Legislation);
  QTextCursor caret(info->document());
  caret.setPosition(12);
  caret.setPosition(16, QTextCursor::KeepAnchor);
  info->setTextCursor(caret);
  info->verticalScrollBar()->setValue(info->verticalScrollBar()->maximum() / 3);
  const int scroll = info->verticalScrollBar()->value();
  ASSERT_GT(scroll, 0);
  sounds.clear();
  click(QStringLiteral("ver regras"));
  EXPECT_EQ(window->currentNode(), node(Speed));
  EXPECT_EQ(info->textCursor().selectedText(), QStringLiteral("velocidade"));
  EXPECT_EQ(info->textCursor().selectionStart(), text().indexOf(QStringLiteral("velocidade máxima")));
  EXPECT_GT(info->verticalScrollBar()->value(), 0);  // its line scrolled to the top
  EXPECT_TRUE(sounds.contains(QStringLiteral("LINK")));
  EXPECT_FALSE(sounds.contains(QStringLiteral("OPEN_TOPIC")));
  EXPECT_TRUE(page.text->pendingAnchor().isEmpty());
  ASSERT_EQ(page.navigation->history().count(), 1);
  EXPECT_EQ(page.navigation->history().at(0).caption, QStringLiteral("Legislação"));
  EXPECT_TRUE(enabled("actionBack"));

  window->action(QStringLiteral("actionBack"))->trigger();
  EXPECT_EQ(window->currentNode(), node(Legislation));
  EXPECT_EQ(info->textCursor().selectionStart(), 12);
  EXPECT_EQ(info->textCursor().selectionEnd(), 16);
  EXPECT_EQ(info->verticalScrollBar()->value(), scroll);
  EXPECT_TRUE(page.navigation->history().empty());  // nothing recorded for the topic left by Back
  EXPECT_FALSE(enabled("actionBack"));

  sounds.clear();
  click(QStringLiteral("Velocidade"));  // no anchor: caret at the start
  EXPECT_EQ(window->currentNode(), node(Speed));
  EXPECT_EQ(info->textCursor().position(), 0);
}

TEST_F(TextWindowTest, AnchorLinkJumpsInsideTheTopicAndRecordsItsCaption) {
  show(Legislation);
  const int acima = linkOf(QStringLiteral("acima"));
  click(QStringLiteral("acima"));
  EXPECT_EQ(info->textCursor().position(), text().indexOf(QStringLiteral("Limites aqui")));
  EXPECT_FALSE(info->textCursor().hasSelection());
  ASSERT_EQ(page.navigation->history().count(), 1);
  EXPECT_EQ(page.navigation->history().at(0).caption, QStringLiteral("Legislação: acima"));
  EXPECT_EQ(page.navigation->history().at(0).linkIndex, acima);

  // going back while the topic is shown returns the caret to the link followed
  page.navigation->GoBack(0);
  EXPECT_EQ(window->currentNode(), node(Legislation));
  EXPECT_EQ(info->textCursor().position(), text().indexOf(QStringLiteral("acima")));
  EXPECT_TRUE(page.navigation->history().empty());

  // the jump's entry stands for the topic: leaving it adds no plain entry
  click(QStringLiteral("acima"));
  show(Addresses);
  ASSERT_EQ(page.navigation->history().count(), 1);
  EXPECT_EQ(page.navigation->history().at(0).caption, QStringLiteral("Legislação: acima"));
}

TEST_F(TextWindowTest, ExternalLegendCommandAndOutOfRangeLinks) {
  UrlRecorder recorder(*page.text);
  show(Legislation);
  sounds.clear();
  click(QStringLiteral("portal"));
  ASSERT_EQ(recorder.opened.size(), 1);
  EXPECT_EQ(recorder.opened.front(), QUrl(QStringLiteral("https://www.gov.br/")));
  EXPECT_EQ(sounds, QStringList{QStringLiteral("LINK")});

  window->action(QStringLiteral("actionWorkOffline"))->setChecked(true);
  sounds.clear();
  click(QStringLiteral("portal"));
  EXPECT_EQ(recorder.opened.size(), 1);
  EXPECT_EQ(beeps, 1);
  EXPECT_TRUE(sounds.isEmpty());
  EXPECT_EQ(window->findChild<QLabel *>(QStringLiteral("panelStatusMsg"))->text(),
            QStringLiteral("https://www.gov.br/ - ") + window->offlineNotice());

  click(QStringLiteral("placa"));  // no hot image viewer to show the legend entry
  EXPECT_EQ(beeps, 2);
  QStringList legends;
  page.text->showLegendEntry = [&](const QString &code) {
    legends << code;
    return true;
  };
  click(QStringLiteral("placa"));
  EXPECT_EQ(legends, QStringList{QStringLiteral("R-1")});
  EXPECT_EQ(beeps, 2);

  click(QStringLiteral("comando"));  // the command table is empty
  EXPECT_EQ(beeps, 3);
  int runs = 0;
  page.text->registerLinkCommand(QStringLiteral("NADA"), [&] { ++runs; });
  click(QStringLiteral("comando"));
  EXPECT_EQ(runs, 1);
  EXPECT_EQ(beeps, 3);

  const QModelIndex before = window->currentNode();
  page.text->LinkClicked(linkHref(99));
  page.text->LinkClicked(QStringLiteral("vl:x"));
  EXPECT_EQ(window->currentNode(), before);
  EXPECT_EQ(beeps, 3);
}

TEST_F(TextWindowTest, TypedAddressesAreLinksOnlyInTextsWithoutMarkupLinks) {
  UrlRecorder recorder(*page.text);
  show(Addresses);
  EXPECT_TRUE(page.text->addressDetection());
  EXPECT_EQ(linkSpans(*info->document()), (std::vector<Span>{{"www.gov.br/transito", "www.gov.br/transito"}}));
  page.text->LinkClicked(QStringLiteral("www.gov.br/transito"));
  ASSERT_EQ(recorder.opened.size(), 1);
  EXPECT_EQ(recorder.opened.front().host(), QStringLiteral("www.gov.br"));
  show(Legislation);
  EXPECT_FALSE(page.text->addressDetection());
}

TEST_F(TextWindowTest, ChildListLinksOpenTheChildren) {
  show(Speed);
  EXPECT_TRUE(text().startsWith(QStringLiteral("Tipos de via:\nVia urbana\nRodovia\nEstrada\n")));
  ASSERT_EQ(page.text->links().size(), 3u);
  click(QStringLiteral("Rodovia"));
  EXPECT_EQ(window->currentNode(), node(Highway));
  EXPECT_EQ(text(), QStringLiteral("Na rodovia."));
}

TEST_F(TextWindowTest, HistoryRecordsTheTopicsLeftAndTheMenuShowsTheNewest) {
  show(Legislation);  // A (the start-up selection already showed it)
  show(Speed);        // B
  show(Urban);        // C
  BackHistory &history = page.navigation->history();
  ASSERT_EQ(history.count(), 2);
  EXPECT_EQ(QModelIndex(history.at(0).node), node(Speed));
  window->action(QStringLiteral("actionBack"))->trigger();
  EXPECT_EQ(window->currentNode(), node(Speed));
  ASSERT_EQ(history.count(), 1);
  EXPECT_EQ(QModelIndex(history.at(0).node), node(Legislation));

  for (int i = 0; i < 250; ++i) show(i % 2 ? Addresses : Articles);
  EXPECT_EQ(history.count(), 199);
  auto *menu = window->findChild<QMenu *>(QStringLiteral("popMenuBack"));
  ASSERT_NE(menu, nullptr);
  emit menu->aboutToShow();
  ASSERT_EQ(menu->actions().size(), 17);
  EXPECT_EQ(menu->actions().at(0)->text(), QStringLiteral("Artigos"));  // the topic left last
  EXPECT_EQ(menu->actions().at(0)->statusTip(), QStringLiteral("Voltar a: Artigos"));
  EXPECT_EQ(menu->defaultAction(), menu->actions().at(0));

  // the third item: the three newest entries go and its topic is shown
  const QModelIndex third = history.at(2).node;
  menu->actions().at(2)->trigger();
  EXPECT_EQ(window->currentNode(), third);
  EXPECT_EQ(history.count(), 196);
}

TEST_F(TextWindowTest, ParentsLineAndPreviousNext) {
  show(Highway);
  auto *parents = window->findChild<QTextBrowser *>(QStringLiteral("reParents"));
  ASSERT_NE(parents, nullptr);
  EXPECT_EQ(parents->toPlainText(), QStringLiteral("Legislação » Velocidade"));
  EXPECT_EQ(window->action(QStringLiteral("actionNavNext"))->statusTip(), QStringLiteral("Tópico Seguinte: Estrada"));
  sounds.clear();
  page.navigation->ParentsLineClicked(QStringLiteral("vl:1"));
  EXPECT_EQ(window->currentNode(), node(Legislation));
  EXPECT_EQ(sounds, QStringList{QStringLiteral("LINK")});  // no OPEN_TOPIC
  EXPECT_TRUE(parents->toPlainText().isEmpty());
  EXPECT_EQ(QModelIndex(page.navigation->history().at(0).node), node(Highway));

  // next in tree order enters a collapsed branch
  auto *tree = window->findChild<QTreeView *>(QStringLiteral("treeViewMain"));
  tree->collapseAll();
  window->action(QStringLiteral("actionNavNext"))->trigger();
  EXPECT_EQ(window->currentNode(), node(Speed));
  window->action(QStringLiteral("actionNavNext"))->trigger();
  EXPECT_EQ(window->currentNode(), node(Urban));
  show(Last);
  EXPECT_FALSE(enabled("actionNavNext"));
}

TEST_F(TextWindowTest, SectionCommandsMoveBetweenMarkers) {
  show(Articles);
  EXPECT_TRUE(enabled("actionSectNext"));
  EXPECT_FALSE(enabled("actionSectPrior"));
  window->action(QStringLiteral("actionSectNext"))->trigger();
  EXPECT_EQ(info->textCursor().position(), text().indexOf(QStringLiteral("Art. 1")));
  EXPECT_FALSE(info->textCursor().hasSelection());
  window->action(QStringLiteral("actionSectNext"))->trigger();
  window->action(QStringLiteral("actionSectNext"))->trigger();
  EXPECT_EQ(info->textCursor().position(), text().indexOf(QStringLiteral("Art. 3")));
  EXPECT_FALSE(enabled("actionSectNext"));
  EXPECT_TRUE(enabled("actionSectPrior"));
  window->action(QStringLiteral("actionSectPrior"))->trigger();
  EXPECT_EQ(info->textCursor().position(), text().indexOf(QStringLiteral("Art. 2")));
  show(Legislation);  // no marker
  EXPECT_FALSE(enabled("actionSectNext"));
  EXPECT_FALSE(enabled("actionSectPrior"));
}

TEST_F(TextWindowTest, FindDialogFindNextAndTheSearchHistory) {
  show(Legislation);
  QTextCursor selection(info->document());
  selection.setPosition(0);
  selection.setPosition(4, QTextCursor::KeepAnchor);
  info->setTextCursor(selection);
  EXPECT_TRUE(enabled("actionCopySel"));
  EXPECT_TRUE(enabled("actionDefinition"));
  window->action(QStringLiteral("actionSearch"))->trigger();
  TfindDialog *dialog = page.text->findDialog();
  ASSERT_NE(dialog, nullptr);
  EXPECT_EQ(dialog->windowTitle(), QStringLiteral("Localizar"));
  EXPECT_EQ(dialog->request().text, QStringLiteral("Veja"));
  dialog->findChild<QLineEdit *>(QStringLiteral("editFindText"))->setText(QStringLiteral("preenchimento número 7 "));
  dialog->findChild<QCheckBox *>(QStringLiteral("checkMatchCase"))->setChecked(true);
  dialog->findChild<QPushButton *>(QStringLiteral("buttonFindNext"))->click();
  EXPECT_EQ(info->textCursor().selectionStart(), text().indexOf(QStringLiteral("preenchimento número 7 ")));
  EXPECT_TRUE(boxes.requests().isEmpty());
  dialog->findChild<QLineEdit *>(QStringLiteral("editFindText"))->setText(QStringLiteral("PREENCHIMENTO"));
  dialog->findChild<QPushButton *>(QStringLiteral("buttonFindNext"))->click();
  ASSERT_EQ(boxes.requests().size(), 1);
  EXPECT_EQ(boxes.requests().front().text, QStringLiteral("Não encontrei o texto \"PREENCHIMENTO\"."));
  dialog->findChild<QLineEdit *>(QStringLiteral("editFindText"))->setText(QStringLiteral("Linha"));
  dialog->reject();
  EXPECT_TRUE(enabled("actionSearchNext"));
  EXPECT_EQ(page.text->searchHistory().items(), QStringList{QStringLiteral("Linha")});

  const int before = info->textCursor().selectionEnd();
  window->action(QStringLiteral("actionSearchNext"))->trigger();
  EXPECT_EQ(info->textCursor().selectedText(), QStringLiteral("Linha"));
  EXPECT_GT(info->textCursor().selectionStart(), before);
  EXPECT_TRUE(enabled("actionSearchNext"));

  // choosing a history item opens the dialog with its text
  page.text->searchHistory().add(QStringLiteral("regras"));
  auto *menu = window->findChild<QMenu *>(QStringLiteral("popMenuSearch"));
  ASSERT_NE(menu, nullptr);
  emit menu->aboutToShow();
  ASSERT_EQ(menu->actions().size(), 2);
  menu->actions().at(1)->trigger();
  EXPECT_EQ(page.text->searchHistory().items().front(), QStringLiteral("Linha"));
  EXPECT_TRUE(dialog->isVisible());
  EXPECT_EQ(dialog->request().text, QStringLiteral("Linha"));
  dialog->reject();
}

TEST_F(TextWindowTest, DoubleClickStoresThePendingTermForTheDictionary) {
  show(Legislation);
  QStringList looked;
  page.text->lookUpPendingTerm = [&] {
    looked << page.text->PendingTerm;
    page.text->PendingTerm.clear();
  };
  QTextCursor word(info->document());
  word.setPosition(QStringLiteral("Veja Velocidade e ").size());
  word.select(QTextCursor::WordUnderCursor);
  info->setTextCursor(word);
  window->action(QStringLiteral("actionDefinition"))->trigger();
  EXPECT_EQ(looked, QStringList{QStringLiteral("ver")});
  // a blank selection sets nothing
  QTextCursor blank(info->document());
  blank.setPosition(4);
  blank.setPosition(5, QTextCursor::KeepAnchor);
  info->setTextCursor(blank);
  page.text->DoubleClicked(info);
  EXPECT_EQ(looked.size(), 1);
}

TEST_F(TextWindowTest, SearchHistoryIsKeptInTheSettingsFile) {
  for (int i = 0; i < 9; ++i) page.text->searchHistory().add(QStringLiteral("busca %1").arg(i));
  EXPECT_EQ(window->recentSearches().front(), QStringLiteral("busca 8"));
  window->close();
  IniFile ini(dir.filePath(QStringLiteral("VL.ini")));
  ASSERT_TRUE(ini.load());
  EXPECT_EQ(ini.keys(QStringLiteral("Search")).size(), 7);
  EXPECT_EQ(ini.readString(QStringLiteral("Search"), QStringLiteral("0")), QStringLiteral("busca 8"));
  EXPECT_EQ(ini.readString(QStringLiteral("Search"), QStringLiteral("6")), QStringLiteral("busca 2"));
}
