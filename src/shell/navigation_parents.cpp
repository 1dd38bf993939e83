#include "shell/navigation_parents.h"

#include <QTextCursor>
#include <QTextDocument>

#include "shell/text_viewer_links.h"

namespace vl {

std::vector<QPersistentModelIndex> parentsOf(const QModelIndex &node) {
  std::vector<QPersistentModelIndex> parents;
  for (QModelIndex up = node.parent(); up.isValid(); up = up.parent()) parents.emplace_back(up);
  return parents;
}

void buildParentsLine(QTextDocument &document, const std::vector<QPersistentModelIndex> &parents) {
  document.clear();
  QTextCursor cursor(&document);
  const QTextCharFormat plain = cursor.charFormat();
  for (int i = static_cast<int>(parents.size()) - 1; i >= 0; --i) {
    const QString caption = parents[static_cast<size_t>(i)].data().toString();
    const int start = cursor.position();
    cursor.insertText(caption, plain);
    cursor.setPosition(start, QTextCursor::KeepAnchor);
    insertLinkSpan(cursor, i, caption);
    if (i > 0) cursor.insertText(QStringLiteral(" \u00BB "), plain);
  }
}

}  // namespace vl
