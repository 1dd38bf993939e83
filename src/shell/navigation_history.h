#pragma once
// The back history: entries newest first, at most 199, and the menu made from its newest 17.
#include <QPersistentModelIndex>
#include <QString>

#include <deque>
#include <optional>
#include <vector>

namespace vl {

struct TBackData {
  QString caption;              // tree caption, plus ": " + link caption for anchor jumps
  QPersistentModelIndex node;   // the topic left, or in which the jump happened
  int linkIndex = -1;           // the anchor link followed; -1 for plain entries
  QString listText;             // the topic's Title when recorded
};

class BackHistory {
 public:
  static constexpr int kLimit = 199;
  static constexpr int kMenuItems = 17;

  // Inserts an entry for `node` at the top. A plain entry (blank link caption) is not added when
  // the newest entry already refers to that node. Returns whether an entry was added.
  bool record(const QPersistentModelIndex &node, const QString &treeCaption, const QString &title,
              const QString &linkCaption, int linkIndex);

  struct Target {
    QPersistentModelIndex node;
    int linkIndex = -1;
  };
  // Entry i's target; entries 0..i are deleted. nullopt (and nothing deleted) when i is out of range.
  std::optional<Target> takeBack(int i);

  int count() const { return static_cast<int>(m_entries.size()); }
  bool empty() const { return m_entries.empty(); }
  const TBackData &at(int i) const { return m_entries.at(static_cast<size_t>(i)); }
  void clear() { m_entries.clear(); }

  struct MenuItem {
    QString caption;
    QString hint;  // "|Voltar a: " + list text
  };
  std::vector<MenuItem> menuItems() const;

 private:
  std::deque<TBackData> m_entries;
};

}  // namespace vl
