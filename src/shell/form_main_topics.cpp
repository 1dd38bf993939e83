// Showing a topic: the tree's change handling, viewer dispatch, the title bar, the blank page,
// tree hints and status-bar hints.
#include <QAction>
#include <QApplication>
#include <QHelpEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QProgressBar>
#include <QSplitter>
#include <QStatusTipEvent>
#include <QTabWidget>
#include <QTextBrowser>
#include <QTimer>
#include <QToolButton>
#include <QToolTip>
#include <QTreeView>

#include "common/panel_gradient.h"
#include "shell/event_sound.h"
#include "shell/form_main.h"
#include "shell/hints.h"
#include "shell/node_data.h"
#include "shell/picture_lists.h"
#include "shell/topic_tree.h"

namespace vl {

void TformMain::onTreeSelectionChanged() {
  // state 5: a topic reached through the history is shown too (without entering the history)
  if (m_state != StateReady && m_state != StateHistory) return;
  showTopic(currentNode());
}

void TformMain::clearViewers() {
  m_timerStartSpeech->stop();
  m_reInfo->clear();
  if (m_reHotText) m_reHotText->clear();
  m_reParents->clear();
  for (auto &[kind, viewer] : m_viewers) viewer->clear(*this);
}

void TformMain::showTopic(const QModelIndex &node) {
  TNodeData *topic = m_tree->nodeData(node);
  m_shownNode = node;
  if (!topic) {
    clearViewers();
    showBlankPage();
    syncCommands();
    emit topicDisplayed(node);
    return;
  }
  if (!m_suppressOpenSound) PlayEventSound(QStringLiteral("OPEN_TOPIC"));
  m_suppressOpenSound = false;
  QApplication::setOverrideCursor(Qt::WaitCursor);
  refreshStateIcons(topic);
  refreshTitlePicture(node);
  // read-mark commands: the read-marks subsystem refines them through topicShown
  m_rules.setEnabled(QStringLiteral("actionSetReaded"), topic->CanRevise && topic->ReadState == 0);
  m_rules.setEnabled(QStringLiteral("actionResetReaded"), topic->CanRevise && topic->ReadState == 1);
  m_treeViewMain->scrollTo(node);
  clearViewers();
  const bool historyEmpty = m_hooks.historyEmpty ? m_hooks.historyEmpty() : true;
  m_rules.topicShown(*topic, m_tree->previousNode(node).isValid(), m_tree->nextNode(node).isValid(), historyEmpty);
  refreshNavCommands(node);
  if (m_hooks.topicShown) m_hooks.topicShown(*this, node);

  ModuleTable *table = currentTopicTable();
  const auto viewer = m_viewers.find(topic->Kind);
  if (table && viewer != m_viewers.end()) {
    m_titleBar->setCaption(topic->Title);
    const QString readText = m_hooks.readStatusText ? m_hooks.readStatusText(*topic) : QString();
    m_titleBar->setToolTip(QString());
    m_titleBar->setStatusTip(topic->ReadState == 1 ? readText : QString());
    m_viewerKind = topic->Kind;
    m_rules.setEnabled(QStringLiteral("actionDoComment"), m_initialised && !m_modules.empty());
    syncCommands();
    viewer->second->showTopic(*this, node, *topic);
  } else {
    // headings, pictures and kinds whose viewer is not installed
    showBlankPage();
  }
  syncCommands();
  QApplication::restoreOverrideCursor();
  emit topicDisplayed(node);
}

void TformMain::showBlankPage() {
  clearTitlePicture();
  m_imageTopicState->clear();
  m_imageTopicState->setToolTip(QString());
  m_imageTopicComment->hide();
  m_viewerKind = 0;
  m_titleBar->setCaption(QString());
  m_pgCtrlViewers->setCurrentWidget(page(QStringLiteral("tabSheetBlank")));
  m_rules.blankPage();
  syncCommands();
}

void TformMain::clearTitlePicture() {
  m_imageTopicTitle->clear();
  m_titlePictureShown = -1;
}

void TformMain::refreshTitlePicture(const QModelIndex &node) {
  for (QModelIndex up = node; up.isValid(); up = up.parent()) {
    const int state = m_tree->stateIndex(up);
    if (state == -1) continue;
    if (state != m_titlePictureShown) {
      m_imageTopicTitle->setPixmap(m_pictures->titlePictureFor(state));
      m_titlePictureShown = state;
    }
    return;
  }
  // no picture on the path: the one shown before stays
}

void TformMain::refreshStateIcons(const TNodeData *topic) {
  const int state = topic ? stateIconIndex(*topic) : -1;
  if (state < 0)
    m_imageTopicState->clear();
  else
    m_imageTopicState->setPixmap(m_pictures->statePicture(state));
  const QString hint = topic ? stateIconHint(*topic) : QString();
  m_imageTopicState->setToolTip(hintTooltip(hint));
  m_imageTopicState->setStatusTip(hint.isEmpty() ? QString() : hintStatusPart(hint));
  const bool comment = topic && !topic->Comment.trimmed().isEmpty();
  m_imageTopicComment->setVisible(comment);
  m_imageTopicComment->setToolTip(comment ? topic->Comment : QString());
}

void TformMain::refreshNavCommands(const QModelIndex &node) {
  const struct {
    const char *name;
    QModelIndex target;
    const char *button;
  } sides[] = {{"actionNavPrior", m_tree->previousNode(node), "bvhBtnPrior"},
               {"actionNavNext", m_tree->nextNode(node), "bvhBtnNext"}};
  for (const auto &side : sides) {
    QAction *act = action(QLatin1String(side.name));
    const QString caption = act->text();
    const QString hint = side.target.isValid()
                             ? caption + u'|' + caption + QStringLiteral(": ") + side.target.data().toString()
                             : caption + u'|' + caption;
    act->setToolTip(hintTooltip(hint));
    act->setStatusTip(hintStatusPart(hint));
    if (auto *button = findChild<QWidget *>(QLatin1String(side.button))) {
      button->setToolTip(act->toolTip());
      button->setStatusTip(act->statusTip());
      button->setEnabled(side.target.isValid());
    }
  }
}

void TformMain::updateTreeHint(const QPoint &position) {
  const QModelIndex node = m_treeViewMain->indexAt(position);
  const TNodeData *topic = m_tree->nodeData(node);
  if (!topic) {
    m_treeViewMain->setToolTip(QString());
    m_treeViewMain->setStatusTip(QString());
    return;
  }
  const bool commentsOnTree = m_settings.showCommentsOnTree;
  const QString readText = m_hooks.readStatusText ? m_hooks.readStatusText(*topic) : QString();
  const QString hint = treeNodeHint(*topic, m_tree->rowCount(node) > 0, commentsOnTree, readText);
  const QString shortPart = hintTooltip(hint);
  if (shortPart != m_treeViewMain->toolTip() && !shortPart.trimmed().isEmpty()) QToolTip::hideText();
  m_treeViewMain->setToolTip(shortPart);
  showHintInStatus(hint);
}

void TformMain::showHintInStatus(const QString &hint) { SetStatusText(statusLineForHint(hint)); }

bool TformMain::event(QEvent *event) {
  if (event->type() == QEvent::StatusTip) {
    // the application's current hint: its long part in the status line
    if (m_panelStatusGauge->isHidden()) showHintInStatus(static_cast<QStatusTipEvent *>(event)->tip());
    return true;
  }
  return QMainWindow::event(event);
}

bool TformMain::eventFilter(QObject *watched, QEvent *event) {
  if (event->type() == QEvent::ToolTip && !m_settings.showHint && watched->isWidgetType() &&
      static_cast<QWidget *>(watched)->window() == this)
    return true;  // hints switched off
  if (watched == m_splitterNav && event->type() == QEvent::Resize) {
    const int height = m_navToggle.size();
    const int total = m_splitterNav->height();
    if (total > height && m_splitterNav->sizes().value(1) != height) m_splitterNav->setSizes({total - height, height});
    return false;
  }
  if (watched == m_treeViewMain->viewport() && event->type() == QEvent::MouseMove) {
    updateTreeHint(static_cast<QMouseEvent *>(event)->position().toPoint());
  } else if (watched == m_treeViewMain->viewport() && event->type() == QEvent::ToolTip) {
    const QModelIndex node = m_treeViewMain->indexAt(static_cast<QHelpEvent *>(event)->pos());
    const QString tip = m_treeViewMain->toolTip();
    if (!node.isValid() || tip.isEmpty()) {
      QToolTip::hideText();
      return true;
    }
    QToolTip::showText(static_cast<QHelpEvent *>(event)->globalPos(), tip, m_treeViewMain);
    return true;
  } else if ((watched == m_treeViewMain || watched == m_treeViewFavorites) && event->type() == QEvent::KeyPress) {
    auto *key = static_cast<QKeyEvent *>(event);
    auto *tree = static_cast<QTreeView *>(watched);
    if ((key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter)) {
      const QModelIndex node = tree->currentIndex();
      if (node.isValid() && tree->model()->rowCount(node) > 0) {
        tree->setExpanded(node, !tree->isExpanded(node));
        return true;
      }
    }
    if (watched == m_treeViewFavorites) {
      if (key->key() == Qt::Key_Delete && action(QStringLiteral("actionFavDel"))) {
        action(QStringLiteral("actionFavDel"))->trigger();
        return true;
      }
      if (key->key() == Qt::Key_F2 && action(QStringLiteral("actionFavRen"))) {
        action(QStringLiteral("actionFavRen"))->trigger();
        return true;
      }
    }
  } else if (watched == m_imageTopicComment && event->type() == QEvent::MouseButtonRelease) {
    triggerCommand(QStringLiteral("actionDoComment"));
    return true;
  }
  return QMainWindow::eventFilter(watched, event);
}

}  // namespace vl
