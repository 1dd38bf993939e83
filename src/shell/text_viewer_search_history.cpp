#include "shell/text_viewer_search_history.h"

#include "userdata/settings.h"

namespace vl {

void SearchHistory::add(const QString &text) { addRecentSearch((*m_list), text); }

QString SearchHistory::choose(int i) {
  if (i < 0 || i >= (*m_list).size()) return {};
  const QString text = (*m_list).at(i);
  (*m_list).move(i, 0);
  return text;
}

void SearchHistory::setItems(const QStringList &items) {
  (*m_list).clear();
  for (auto it = items.crbegin(); it != items.crend(); ++it) add(*it);
}

QStringList SearchHistory::storedItems() const { return (*m_list).mid(0, kMaxRecentSearches); }

}  // namespace vl
