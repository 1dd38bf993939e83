#pragma once
// The link markup of topic texts and its resolution inside a QTextDocument.
//
// Topic texts carry links as visible markup: "~«" digit body "»", where body is
// target["#"anchor]["~"caption]. resolveLinks turns each one into a clickable span: the span's
// visible text is the display text, its character format has isAnchor set and anchorHref
// "vl:" + n (n = the link's entry in the TopicLinks list), which stands for the hidden «n»
// prefix. Anchor marks (digit 6) leave no visible text: their name goes into the anchorNames
// of the character that follows, or into the block's kAnchorsAtBlockEnd property when the mark
// ends its paragraph. expandChildList replaces the first "~^" marker by one link line per child.
#include <QPersistentModelIndex>
#include <QString>
#include <QStringList>

#include <functional>
#include <optional>
#include <vector>

class QTextDocument;
class QTextCursor;

namespace vl {

class TopicTree;

enum LinkKind : unsigned char {
  LinkExternal = 1,
  LinkTopic = 2,
  LinkLegend = 3,
  LinkAnchor = 4,
  LinkCommand = 5,
};

struct TAutoLinkData {
  TAutoLinkData(unsigned char kind, QString target, QString anchor, QString caption, QPersistentModelIndex node = {})
      : kind(kind), target(std::move(target)), anchor(std::move(anchor)), caption(std::move(caption)), node(std::move(node)) {}
  explicit TAutoLinkData(QPersistentModelIndex node) : kind(LinkTopic), node(std::move(node)) {}

  unsigned char kind;
  QString target;   // address (1), legend code (3), command name (5)
  QString anchor;   // 2, 4
  QString caption;  // 4
  QPersistentModelIndex node;  // 2
};

struct TopicLink {
  QString displayText;
  TAutoLinkData data;
};

// The topic link list: entry n is the link whose span carries "vl:" + n.
using TopicLinks = std::vector<TopicLink>;

// A topic a link can point at.
struct LinkTarget {
  QPersistentModelIndex node;
  QString title;
  QString caption;
};

// Finds the topic for a link identifier: the first node in tree order whose TopicId, Title or
// caption equals it ignoring case.
using TopicLookup = std::function<std::optional<LinkTarget>(const QString &identifier)>;
TopicLookup treeTopicLookup(const TopicTree &tree);
// The children of a node, in tree order.
std::vector<LinkTarget> childTopics(const TopicTree &tree, const QModelIndex &node);

// Block property holding the anchor names that stand at the end of that block (QStringList).
inline constexpr int kAnchorsAtBlockEnd = 0x100000 + 0x5301;

// "vl:" + n and back; -1 when the text is no link number.
QString linkHref(int n);
int linkNumber(const QString &href);

// Whether a link display span belongs to an automatically detected address instead.
bool isAddressHref(const QString &href);

// One markup candidate, parsed.
struct LinkMarkup {
  QChar digit;
  QString identifier;
  QString anchor;
  QString caption;
};
// The parts of a candidate "~«" ... "»" (at least 6 characters, third a digit); nullopt otherwise.
std::optional<LinkMarkup> parseLinkMarkup(const QString &candidate);

// The display text of a topic link for a link digit (1 Title, 3 caption in lower case, 4 the
// link's caption, 2/8/9 the caption; 0 "link" and the rest empty for child lists).
QString topicDisplayText(QChar digit, const LinkTarget &topic, const QString &linkCaption, bool childList);

// Resolves every markup link of the document, appending the links to `links`.
void resolveLinks(QTextDocument &document, TopicLinks &links, const TopicLookup &lookup);

// Replaces the first "~^" marker by the child lines. Returns false when there is no marker.
bool expandChildList(QTextDocument &document, TopicLinks &links, const std::vector<LinkTarget> &children);

// Marks typed addresses (http://, https://, ftp://, www., mailto:) as links whose href is the address.
int detectAddresses(QTextDocument &document);

// Replaces the cursor's selection by a link span of entry n with the given text.
void insertLinkSpan(QTextCursor &cursor, int n, const QString &text);

// The position of the link span "vl:" + n, or of the anchor mark `name`; -1 when absent.
int linkPosition(const QTextDocument &document, int n);
int anchorPosition(const QTextDocument &document, const QString &name);
// Every anchor name of the document in document order (for tests and diagnostics).
QStringList anchorNames(const QTextDocument &document);

}  // namespace vl
