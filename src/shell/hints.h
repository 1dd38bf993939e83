#pragma once
// Texts of the two-part hints: command hints, the status-bar line, tree hints and the
// title bar's state icon.
#include <QDateTime>
#include <QString>

namespace vl {

struct TNodeData;

// Tooltip part | status part. `caption` is the command's menu caption.
QString twoPartHint(const QString &caption, const QString &designedHint);

QString hintTooltip(const QString &hint);     // before the first "|"
QString hintStatusPart(const QString &hint);  // after the first "|" (the whole hint when it has none)

// The status line's text for the application's current hint.
QString statusLineForHint(const QString &hint);

// The read date-time of a read topic as text in the user's format; empty when unread.
QString readDateTimeText(const TNodeData &node);

// Progress of the subtopics read ("3 de 5 subtopicos lidos" ...); empty when not applicable.
QString readProgressText(const TNodeData &node, bool hasChildren);

// Hint of a contents-tree node; `readStatus` is the topic's read-status text (empty when unread).
QString treeNodeHint(const TNodeData &node, bool hasChildren, bool commentsOnTree,
                     const QString &readStatus);

// Picture index (0 read, 1 favorites, 2 both, -1 none) and hint of the title bar's state icon.
int stateIconIndex(const TNodeData &node);
QString stateIconHint(const TNodeData &node);

}  // namespace vl
