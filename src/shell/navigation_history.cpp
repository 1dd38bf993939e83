#include "shell/navigation_history.h"

#include "common/safe_format.h"
#include "common/text_utils.h"

namespace vl {

bool BackHistory::record(const QPersistentModelIndex &node, const QString &treeCaption, const QString &title,
                         const QString &linkCaption, int linkIndex) {
  const bool plain = IsBlank(linkCaption);
  if (plain && !m_entries.empty() && m_entries.front().node == node) return false;
  TBackData entry;
  entry.caption = plain ? treeCaption : treeCaption + QStringLiteral(": ") + linkCaption;
  entry.node = node;
  entry.linkIndex = plain ? -1 : linkIndex;
  entry.listText = title;
  m_entries.push_front(std::move(entry));
  if (m_entries.size() > static_cast<size_t>(kLimit)) m_entries.pop_back();
  return true;
}

std::optional<BackHistory::Target> BackHistory::takeBack(int i) {
  if (i < 0 || i >= count()) return std::nullopt;
  Target target{m_entries[static_cast<size_t>(i)].node, m_entries[static_cast<size_t>(i)].linkIndex};
  m_entries.erase(m_entries.begin(), m_entries.begin() + i + 1);
  return target;
}

std::vector<BackHistory::MenuItem> BackHistory::menuItems() const {
  std::vector<MenuItem> items;
  for (int i = 0; i < count() && i < kMenuItems; ++i) {
    const TBackData &entry = at(i);
    items.push_back({entry.caption, u'|' + SafeFormat(QStringLiteral("Voltar a: %s"), {entry.listText})});
  }
  return items;
}

}  // namespace vl
