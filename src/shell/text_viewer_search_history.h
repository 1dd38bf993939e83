#pragma once
// The search history of the search tool button: texts newest first, without duplicates. The
// settings keep its first items (Settings::recentSearches, written by writePersistent).
#include <QString>
#include <QStringList>

namespace vl {

class SearchHistory {
 public:
  // Works on `storage` (the settings record's list) when given, else on a list of its own.
  explicit SearchHistory(QStringList *storage = nullptr) : m_list(storage ? storage : &m_own) {}
  SearchHistory(const SearchHistory &) = delete;
  SearchHistory &operator=(const SearchHistory &) = delete;

  const QStringList &items() const { return *m_list; }
  // A non-blank text goes to the top (moved there when present).
  void add(const QString &text);
  // Moves item i to the top and returns its text; empty when i is out of range.
  QString choose(int i);
  // From and into the settings record's list (the first kMaxRecentSearches items are stored).
  void setItems(const QStringList &items);
  QStringList storedItems() const;

 private:
  QStringList m_own;
  QStringList *m_list;
};

}  // namespace vl
