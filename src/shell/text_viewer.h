#pragma once
// The topic text viewer: reInfo for text topics, and the same operations for the hot-image
// page's reHotText. Loads the topic's rich text, resolves its link markup and child list,
// positions the view, and handles link clicks, double clicks, selection changes, sections and
// the search commands with their history.
#include <QHash>
#include <QObject>
#include <QPersistentModelIndex>
#include <QPointer>

#include <functional>

#include "shell/shell_hooks.h"
#include "shell/text_viewer_find.h"
#include "shell/text_viewer_links.h"
#include "shell/text_viewer_find_dialog.h"
#include "shell/text_viewer_search_history.h"

class QMenu;
class QUrl;
class QTextEdit;

namespace vl {

class ModuleTable;

class TextViewer : public QObject, public TopicViewer {
  Q_OBJECT
 public:
  explicit TextViewer(TformMain &window);
  ~TextViewer() override;

  // TopicViewer (kind 2)
  void showTopic(TformMain &window, const QModelIndex &node, TNodeData &topic) override;
  void clear(TformMain &window) override;
  void refresh(TformMain &window) override;

  // The whole text display of a topic in `view`: LoadTopicText, ResolveLinks, ExpandChildList,
  // PositionView, with selection events suppressed. The hot-image page calls it for reHotText.
  void showText(QTextEdit *view, const QModelIndex &node, TNodeData &topic);
  // The rich text of the topic's FILE column into the view, title, zoom and commands.
  void LoadTopicText(QTextEdit *view, ModuleTable *table, const TNodeData &topic);
  void ResolveLinks(QTextEdit *view);
  void ExpandChildList(QTextEdit *view, const QModelIndex &node);
  void PositionView(QTextEdit *view, const TNodeData &topic);

  void LinkClicked(const QString &linkText);
  void DoubleClicked(QTextEdit *view);
  void SelectionChanged();
  bool ExistsSection(bool next) const;
  void SectionMove(bool next);
  void Find(const QString &initialText = {});
  void FindNext();

  // The search of the Part's find: whole word (or not), in visible text, at the start of the
  // text; selects the occurrence or puts the caret at its start and scrolls its line to the top.
  static void scrollToTop(QTextEdit *view, int position);
  static void keepViewState(const QTextEdit *view, TNodeData &topic);

  const TopicLinks &links() const { return m_links; }
  bool addressDetection() const { return m_addressDetection; }
  QString pendingAnchor() const { return m_pendingAnchor; }
  void setPendingAnchor(const QString &anchor) { m_pendingAnchor = anchor; }
  QString PendingTerm;
  SearchHistory &searchHistory() { return m_searchHistory; }
  const FindRequest &lastFind() const { return m_lastFind; }
  TfindDialog *findDialog() const { return m_findDialog; }

  // Command links (kind 5): upper-case name -> behaviour. Created empty.
  void registerLinkCommand(const QString &upperName, std::function<void()> command);

  // Hooks of the other viewers and tools; unset ones do nothing.
  std::function<bool(const QString &legendCode)> showLegendEntry;          // hot image viewer
  std::function<void(const QString &caption, int linkIndex)> recordHistory;  // navigation
  std::function<void()> lookUpPendingTerm;     // dictionary: consumes PendingTerm
  std::function<bool()> speechAvailable;       // speech subsystem
  std::function<void(const QString &text)> tableSearch;  // table viewer (empty text: its dialog)
  // The system's information beep and the default handler for addresses (tests observe them).
  std::function<void()> beep;
  std::function<void(const QUrl &address)> openAddress;

 signals:
  void textShown(QTextEdit *view);

 private:
  QTextEdit *view() const;
  void runFind(const FindRequest &request, bool fromDialog);
  void findDialogClosed();
  void rebuildSearchMenu();
  void chooseSearch(int index);
  void watch(QTextEdit *view);
  bool eventFilter(QObject *watched, QEvent *event) override;

  TformMain &m_window;
  TopicLinks m_links;
  bool m_addressDetection = false;
  bool m_loading = false;
  QString m_pendingAnchor;
  QString m_sectionMarker;
  FindRequest m_lastFind;
  SearchHistory m_searchHistory;  // the settings record's recent searches
  QHash<QString, std::function<void()>> m_linkCommands;
  QPointer<TfindDialog> m_findDialog;
  QPointer<QTextEdit> m_findView;
  QMenu *m_searchMenu = nullptr;
};

}  // namespace vl
