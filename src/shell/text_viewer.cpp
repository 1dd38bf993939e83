#include "shell/text_viewer.h"

#include <QAbstractTextDocumentLayout>
#include <QAction>
#include <QApplication>
#include <QDesktopServices>
#include <QMenu>
#include <QMouseEvent>
#include <QScrollBar>
#include <QTabWidget>
#include <QTextBlock>
#include <QTextBrowser>
#include <QTextDocument>
#include <QToolButton>
#include <QTreeView>
#include <QUrl>

#include "common/cp1252_qt.h"
#include "common/rtf_reader.h"
#include "common/text_utils.h"
#include "shell/event_sound.h"
#include "shell/form_main.h"
#include "shell/hints.h"
#include "shell/module_database.h"
#include "shell/node_data.h"
#include "shell/rich_zoom.h"
#include "shell/text_size.h"
#include "shell/text_viewer_find_dialog.h"
#include "shell/topic_tree.h"

namespace vl {

TextViewer::TextViewer(TformMain &window)
    : QObject(&window), m_window(window), m_searchHistory(&window.recentSearches()) {
  beep = [] { QApplication::beep(); };
  openAddress = [](const QUrl &address) { QDesktopServices::openUrl(address); };
  watch(window.textView());
  connect(window.textView(), &QTextBrowser::anchorClicked, this, [this](const QUrl &url) { LinkClicked(url.toString()); });

  const auto command = [this](const char *name, std::function<void()> behaviour) {
    m_window.setCommandHandler(QLatin1String(name), std::move(behaviour));
  };
  command("actionSearch", [this] { Find(); });
  command("actionSearchNext", [this] { FindNext(); });
  for (const bool next : {true, false}) {
    command(next ? "actionSectNext" : "actionSectPrior", [this, next] {
      if (IsBlank(m_sectionMarker)) {
        m_window.rules().setEnabled(QStringLiteral("actionSectNext"), false);
        m_window.rules().setEnabled(QStringLiteral("actionSectPrior"), false);
        m_window.syncCommands();
        return;
      }
      SectionMove(next);
    });
  }
  command("actionDefinition", [this] { DoubleClicked(view()); });

  m_searchMenu = window.findChild<QMenu *>(QStringLiteral("popMenuSearch"));
  if (m_searchMenu) connect(m_searchMenu, &QMenu::aboutToShow, this, &TextViewer::rebuildSearchMenu);
  // the viewer menu's Definition item runs the double-click behaviour of the view
  if (auto *viewerMenu = window.findChild<QMenu *>(QStringLiteral("popMenuViewer")))
    connect(viewerMenu, &QMenu::aboutToShow, this, [this] { SelectionChanged(); });
  connect(&window, &TformMain::topicDisplayed, this, [this] { m_pendingAnchor.clear(); });
}

TextViewer::~TextViewer() = default;

void TextViewer::watch(QTextEdit *view) {
  if (!view) return;
  view->viewport()->installEventFilter(this);
  connect(view, &QTextEdit::selectionChanged, this, &TextViewer::SelectionChanged);
  connect(view, &QTextEdit::cursorPositionChanged, this, &TextViewer::SelectionChanged);
}

bool TextViewer::eventFilter(QObject *watched, QEvent *event) {
  if (event->type() == QEvent::MouseButtonDblClick) {
    // the view selects the word first; the lookup follows
    for (QTextEdit *candidate : {static_cast<QTextEdit *>(m_window.textView()), m_window.currentRichView()}) {
      if (candidate && candidate->viewport() == watched) {
        QPointer<QTextEdit> target(candidate);
        QMetaObject::invokeMethod(this, [this, target] { if (target) DoubleClicked(target); }, Qt::QueuedConnection);
        break;
      }
    }
  }
  return QObject::eventFilter(watched, event);
}

QTextEdit *TextViewer::view() const { return m_window.currentRichView(); }

void TextViewer::showTopic(TformMain &window, const QModelIndex &node, TNodeData &topic) {
  window.showViewerPage(window.page(QStringLiteral("tabSheetRtf")));
  showText(window.textView(), node, topic);
}

void TextViewer::clear(TformMain &) {
  m_links.clear();
  m_addressDetection = false;
  m_sectionMarker.clear();
}

void TextViewer::refresh(TformMain &window) {
  if (QTextEdit *current = window.currentRichView()) current->viewport()->update();
}

void TextViewer::showText(QTextEdit *view, const QModelIndex &node, TNodeData &topic) {
  if (!view) return;
  if (view != m_window.textView() && !view->property("vlWatched").toBool()) {
    view->setProperty("vlWatched", true);
    watch(view);
    if (auto *browser = qobject_cast<QTextBrowser *>(view))
      connect(browser, &QTextBrowser::anchorClicked, this, [this](const QUrl &url) { LinkClicked(url.toString()); });
  }
  m_loading = true;
  m_sectionMarker = topic.SectionSearch;
  LoadTopicText(view, m_window.currentTopicTable(), topic);
  ResolveLinks(view);
  ExpandChildList(view, node);
  m_addressDetection = m_links.empty();
  if (m_addressDetection) detectAddresses(*view->document());
  PositionView(view, topic);
  m_loading = false;
  SelectionChanged();
  emit textShown(view);
}

void TextViewer::LoadTopicText(QTextEdit *view, ModuleTable *table, const TNodeData &topic) {
  QByteArray bytes;
  if (table) {
    try {
      table->setRecNo(topic.RecordNumber);
      bytes = toCp1252(table->asText(QStringLiteral("FILE")));
    } catch (const ModuleError &error) {
      bytes = toCp1252(error.message());  // shown in place of the text
    }
  }
  QTextDocument *document = view->document();
  document->clear();
  readRtf(bytes, document);
  document->setMetaInformation(QTextDocument::DocumentTitle, topic.Title);
  applyZoom(view, TextSizeLevels::ratio(m_window.textSize()));
  document->setModified(false);
  view->ensureCursorVisible();

  CommandRules &rules = m_window.rules();
  const bool hasText = !document->isEmpty();
  rules.setEnabled(QStringLiteral("actionPrint"), hasText);
  rules.setEnabled(QStringLiteral("actionSearch"), hasText);
  rules.setEnabled(QStringLiteral("actionSearchNext"), hasText && !m_lastFind.text.isEmpty());
  rules.setEnabled(QStringLiteral("actionTextSize"), true);
  rules.setEnabled(QStringLiteral("actionLocate"), true);
  rules.setEnabled(QStringLiteral("actionShowSet"), false);
  rules.setEnabled(QStringLiteral("actionSpeech"), speechAvailable && speechAvailable());
  rules.setEnabled(QStringLiteral("actionCopySel"), hasText);
  rules.setEnabled(QStringLiteral("actionCopyAll"), hasText);
  rules.setTextSizeMenuEnabled(true);
  if (QAction *speech = m_window.action(QStringLiteral("actionSpeech"))) {
    const QString hint = twoPartHint(speech->text(), QStringLiteral("Ler o título do texto"));
    speech->setToolTip(hintTooltip(hint));
    speech->setStatusTip(hintStatusPart(hint));
  }
  m_window.syncCommands();
}

void TextViewer::ResolveLinks(QTextEdit *view) { resolveLinks(*view->document(), m_links, treeTopicLookup(m_window.contents())); }

void TextViewer::ExpandChildList(QTextEdit *view, const QModelIndex &node) {
  expandChildList(*view->document(), m_links, childTopics(m_window.contents(), node));
}

void TextViewer::scrollToTop(QTextEdit *view, int position) {
  const QTextBlock block = view->document()->findBlock(position);
  if (!block.isValid()) return;
  const QTextLayout *layout = block.layout();
  const QRectF blockRect = view->document()->documentLayout()->blockBoundingRect(block);
  qreal y = blockRect.top();
  if (layout && layout->lineCount() > 0) {
    const QTextLine line = layout->lineForTextPosition(position - block.position());
    if (line.isValid()) y += line.y();
  }
  view->verticalScrollBar()->setValue(static_cast<int>(y));
}

void TextViewer::PositionView(QTextEdit *view, const TNodeData &topic) {
  QTextCursor cursor(view->document());
  if (!IsBlank(m_pendingAnchor)) {
    const QTextCursor found = findWord(*view->document(), m_pendingAnchor);
    if (!found.isNull()) {
      view->setTextCursor(found);
      scrollToTop(view, found.selectionStart());
      view->setFocus();
    }
    return;
  }
  if (topic.ViewSaved) {
    const int last = view->document()->characterCount() - 1;
    const int start = std::clamp(topic.ViewState[2], 0, last);
    cursor.setPosition(start);
    cursor.setPosition(std::clamp(start + topic.ViewState[3], 0, last), QTextCursor::KeepAnchor);
    view->setTextCursor(cursor);
    view->horizontalScrollBar()->setValue(topic.ViewState[0]);
    view->verticalScrollBar()->setValue(topic.ViewState[1]);
    return;
  }
  view->setTextCursor(cursor);
}

void TextViewer::keepViewState(const QTextEdit *view, TNodeData &topic) {
  const QTextCursor cursor = view->textCursor();
  topic.ViewState[0] = view->horizontalScrollBar()->value();
  topic.ViewState[1] = view->verticalScrollBar()->value();
  topic.ViewState[2] = cursor.selectionStart();
  topic.ViewState[3] = cursor.selectionEnd() - cursor.selectionStart();
  topic.ViewSaved = true;
}

void TextViewer::registerLinkCommand(const QString &upperName, std::function<void()> command) {
  if (command)
    m_linkCommands.insert(upperName, std::move(command));
  else
    m_linkCommands.remove(upperName);
}

void TextViewer::LinkClicked(const QString &linkText) {
  const auto openExternal = [this](const QString &address) {
    if (QAction *offline = m_window.action(QStringLiteral("actionWorkOffline")); offline && offline->isChecked()) {
      m_window.SetStatusText(address + QStringLiteral(" - ") + m_window.offlineNotice());
      if (beep) beep();
      return;
    }
    PlayEventSound(QStringLiteral("LINK"));
    if (openAddress) openAddress(QUrl::fromUserInput(address));
  };
  if (m_addressDetection) {
    openExternal(linkText);
    return;
  }
  const int n = linkNumber(linkText);
  if (n < 0 || n >= static_cast<int>(m_links.size())) return;
  const TAutoLinkData link = m_links[static_cast<size_t>(n)].data;  // the list is rebuilt by a jump
  switch (link.kind) {
    case LinkExternal:
      openExternal(link.target);
      break;
    case LinkTopic: {
      if (!link.node.isValid()) return;
      m_window.suppressNextOpenSound();
      PlayEventSound(QStringLiteral("LINK"));
      m_pendingAnchor = link.anchor;
      const bool contentsActive = [this] {
        auto *pages = m_window.findChild<QTabWidget *>(QStringLiteral("pgCtrlNodes"));
        return pages && pages->currentIndex() == 0;
      }();
      m_window.selectNode(link.node, true);
      if (contentsActive)
        if (auto *tree = m_window.findChild<QTreeView *>(QStringLiteral("treeViewMain"))) tree->setFocus();
      break;
    }
    case LinkLegend:
      if (!showLegendEntry || !showLegendEntry(link.target))
        if (beep) beep();
      break;
    case LinkAnchor: {
      QTextEdit *current = view();
      if (!current) return;
      const int position = anchorPosition(*current->document(), link.anchor);
      if (position < 0) return;
      QTextCursor cursor(current->document());
      cursor.setPosition(position);
      current->setTextCursor(cursor);
      scrollToTop(current, position);
      if (recordHistory) recordHistory(link.caption, n);
      current->setFocus();
      break;
    }
    case LinkCommand: {
      const auto command = m_linkCommands.constFind(link.target.toUpper());
      if (command != m_linkCommands.cend())
        (*command)();
      else if (beep)
        beep();
      break;
    }
    default:
      break;
  }
}

void TextViewer::DoubleClicked(QTextEdit *view) {
  if (!view) return;
  const QString selected = view->textCursor().selectedText();
  if (IsBlank(selected)) return;
  PendingTerm = selected.trimmed();
  if (QAction *dictionary = m_window.action(QStringLiteral("actionDic")); dictionary && dictionary->isEnabled())
    dictionary->trigger();
  if (lookUpPendingTerm && !IsBlank(PendingTerm)) lookUpPendingTerm();
}

void TextViewer::SelectionChanged() {
  if (m_loading) return;
  QTextEdit *current = view();
  if (!current) return;
  QTextCursor cursor = current->textCursor();
  if (cursor.hasSelection() && cursor.selectedText() == QString(QChar::ObjectReplacementCharacter)) {
    cursor.clearSelection();
    current->setTextCursor(cursor);  // comes back here with the collapsed selection
    return;
  }
  const int length = cursor.selectionEnd() - cursor.selectionStart();
  CommandRules &rules = m_window.rules();
  rules.setEnabled(QStringLiteral("actionCopySel"), length > 0);
  rules.setEnabled(QStringLiteral("actionSectNext"), ExistsSection(true));
  rules.setEnabled(QStringLiteral("actionSectPrior"), ExistsSection(false));
  rules.setEnabled(QStringLiteral("actionDefinition"), cursor.selectedText().size() > 1);
  m_window.syncCommands();
}

bool TextViewer::ExistsSection(bool next) const {
  if (m_window.viewerKind() != KindText) return false;
  const QTextEdit *info = m_window.textView();
  return sectionPosition(*info->document(), m_sectionMarker, info->textCursor().position(), next) >= 0;
}

void TextViewer::SectionMove(bool next) {
  QTextEdit *info = m_window.textView();
  const int position = sectionPosition(*info->document(), m_sectionMarker, info->textCursor().position(), next);
  if (position < 0) return;
  QTextCursor cursor(info->document());
  cursor.setPosition(position);
  info->setTextCursor(cursor);
  info->ensureCursorVisible();
  info->setFocus();
}

}  // namespace vl
