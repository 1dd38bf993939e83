#include "shell/navigation.h"

#include <QAction>
#include <QMenu>
#include <QTextBrowser>
#include <QTreeView>
#include <QUrl>

#include "shell/event_sound.h"
#include "shell/form_main.h"
#include "shell/hints.h"
#include "shell/navigation_parents.h"
#include "shell/node_data.h"
#include "shell/text_viewer.h"
#include "shell/text_viewer_links.h"
#include "shell/topic_tree.h"

namespace vl {

Navigation::Navigation(TformMain &window, TextViewer &text) : QObject(&window), m_window(window), m_text(text) {
  window.setCommandHandler(QStringLiteral("actionBack"), [this] { GoBack(0); });
  m_backMenu = window.findChild<QMenu *>(QStringLiteral("popMenuBack"));
  if (m_backMenu) connect(m_backMenu, &QMenu::aboutToShow, this, &Navigation::rebuildBackMenu);
  if (auto *parentsLine = window.findChild<QTextBrowser *>(QStringLiteral("reParents")))
    connect(parentsLine, &QTextBrowser::anchorClicked, this, [this](const QUrl &url) { ParentsLineClicked(url.toString()); });
  text.recordHistory = [this](const QString &caption, int linkIndex) { RecordHistory(caption, linkIndex); };
}

void Navigation::record(const QModelIndex &node, const QString &caption, int linkIndex) {
  if (m_window.state() != TformMain::StateReady || !node.isValid()) return;
  const TNodeData *topic = m_window.contents().nodeData(node);
  if (!topic) return;
  if (!m_history.record(QPersistentModelIndex(node), node.data().toString(), topic->Title, caption, linkIndex)) return;
  if (m_backMenu && m_backMenu->isEmpty()) m_backMenu->addAction(node.data().toString());  // lets the drop-down open
}

void Navigation::RecordHistory(const QString &caption, int linkIndex) { record(m_window.currentNode(), caption, linkIndex); }

void Navigation::LeaveTopic(const QModelIndex &left) {
  TNodeData *topic = m_window.contents().nodeData(left);
  if (!topic || m_window.state() != TformMain::StateReady) return;
  record(left, QString(), -1);
  switch (topic->Kind) {
    case KindText:
      TextViewer::keepViewState(m_window.textView(), *topic);
      break;
    case KindHotImage:
      if (keepHotImageView) keepHotImageView(*topic);
      break;
    case KindTable:
      if (keepTableView) keepTableView(*topic);
      break;
    default:
      break;
  }
}

void Navigation::GoBack(int index) {
  const auto target = m_history.takeBack(index);
  if (!target) return;
  if (target->node != QPersistentModelIndex(m_window.currentNode())) {
    m_window.setState(TformMain::StateHistory);
    m_window.selectNode(target->node, true);
    m_window.setState(TformMain::StateReady);
    return;
  }
  if (target->linkIndex == -1) return;
  QTextEdit *view = m_window.currentRichView();
  if (!view) return;
  const int position = linkPosition(*view->document(), target->linkIndex);
  if (position < 0) return;
  QTextCursor cursor(view->document());
  cursor.setPosition(position);
  view->setTextCursor(cursor);
  TextViewer::scrollToTop(view, position);
  view->setFocus();
}

void Navigation::rebuildBackMenu() {
  m_backMenu->clear();
  const auto items = m_history.menuItems();
  for (size_t i = 0; i < items.size(); ++i) {
    QAction *item = m_backMenu->addAction(items[i].caption);
    item->setToolTip(hintTooltip(items[i].hint));
    item->setStatusTip(hintStatusPart(items[i].hint));
    const int position = static_cast<int>(i);
    connect(item, &QAction::triggered, this, [this, position] { GoBack(position); });
    if (i == 0) m_backMenu->setDefaultAction(item);
  }
}

void Navigation::BuildParentsLine(const QModelIndex &node) {
  m_parents = parentsOf(node);
  if (auto *parentsLine = m_window.findChild<QTextBrowser *>(QStringLiteral("reParents")))
    buildParentsLine(*parentsLine->document(), m_parents);
}

void Navigation::ParentsLineClicked(const QString &linkText) {
  PlayEventSound(QStringLiteral("LINK"));
  m_window.suppressNextOpenSound();
  const int i = linkNumber(linkText);
  if (i >= 0 && i < static_cast<int>(m_parents.size())) m_window.selectNode(m_parents[static_cast<size_t>(i)], true);
  if (auto *tree = m_window.findChild<QTreeView *>(QStringLiteral("treeViewMain"))) tree->setFocus();
}

}  // namespace vl
