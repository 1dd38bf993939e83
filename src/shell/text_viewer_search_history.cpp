#include "shell/text_viewer_search_history.h"

#include "userdata/settings.h"

namespace vl {

void SearchHistory::add(const QString &text) { addRecentSearch(m_items, text); }

QString SearchHistory::choose(int i) {
  if (i < 0 || i >= m_items.size()) return {};
  const QString text = m_items.at(i);
  m_items.move(i, 0);
  return text;
}

void SearchHistory::setItems(const QStringList &items) {
  m_items.clear();
  for (auto it = items.crbegin(); it != items.crend(); ++it) add(*it);
}

QStringList SearchHistory::storedItems() const { return m_items.mid(0, kMaxRecentSearches); }

}  // namespace vl
