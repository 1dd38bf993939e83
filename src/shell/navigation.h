#pragma once
// Navigation of the main window: leaving a topic (history entry and kept view), the back
// history with its menu, and the parents line.
#include <QObject>
#include <QPersistentModelIndex>

#include <functional>
#include <vector>

#include "shell/navigation_history.h"

class QMenu;

namespace vl {

class TformMain;
class TextViewer;
struct TNodeData;

class Navigation : public QObject {
  Q_OBJECT
 public:
  Navigation(TformMain &window, TextViewer &text);

  // The tree is about to leave `left`: history entry and its view state.
  void LeaveTopic(const QModelIndex &left);
  // An entry for the selected topic (caption blank: a plain entry).
  void RecordHistory(const QString &caption, int linkIndex);
  void GoBack(int index);
  void BuildParentsLine(const QModelIndex &node);
  void ParentsLineClicked(const QString &linkText);

  BackHistory &history() { return m_history; }
  const std::vector<QPersistentModelIndex> &parents() const { return m_parents; }

  // The views other viewers keep (table: grid position and order; hot image: example and text).
  std::function<void(TNodeData &)> keepTableView;
  std::function<void(TNodeData &)> keepHotImageView;

 private:
  void record(const QModelIndex &node, const QString &caption, int linkIndex);
  void rebuildBackMenu();

  TformMain &m_window;
  TextViewer &m_text;
  BackHistory m_history;
  std::vector<QPersistentModelIndex> m_parents;
  QMenu *m_backMenu = nullptr;
};

}  // namespace vl
