#include "shell/text_viewer_links.h"

#include <QColor>
#include <QRegularExpression>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>

#include "common/rtf_hidden_text.h"
#include "shell/topic_tree.h"

namespace vl {

namespace {

const QString kOpen = QStringLiteral("~\u00AB");
constexpr QChar kClose = QChar(0x00BB);
const QString kChildMarker = QStringLiteral("~^");

bool isLinkDigit(QChar c) { return c >= u'0' && c <= u'9'; }

void addUnique(QStringList &list, const QStringList &more) {
  for (const QString &name : more)
    if (!list.contains(name)) list << name;
}

// The format of the character at `position`.
QTextCharFormat formatAt(QTextDocument &document, int position) {
  QTextCursor cursor(&document);
  cursor.setPosition(position + 1);
  return cursor.charFormat();
}

// The anchor names on the characters within [from, to).
QStringList takeAnchorNames(QTextDocument &document, int from, int to) {
  QStringList names;
  for (QTextBlock block = document.findBlock(from); block.isValid() && block.position() < to; block = block.next()) {
    for (auto it = block.begin(); !it.atEnd(); ++it) {
      const QTextFragment fragment = it.fragment();
      if (fragment.position() + fragment.length() <= from || fragment.position() >= to) continue;
      addUnique(names, fragment.charFormat().anchorNames());
    }
  }
  return names;
}

// Puts anchor names before the character at `position`: on that character when the block goes on,
// else on the block's end.
void placeAnchorNames(QTextDocument &document, int position, const QStringList &names) {
  if (names.isEmpty()) return;
  const QTextBlock block = document.findBlock(position);
  if (!block.isValid()) return;
  QTextCursor cursor(&document);
  if (position < block.position() + block.length() - 1) {
    QStringList all = formatAt(document, position).anchorNames();
    addUnique(all, names);
    cursor.setPosition(position);
    cursor.setPosition(position + 1, QTextCursor::KeepAnchor);
    QTextCharFormat format;
    format.setAnchorNames(all);
    cursor.mergeCharFormat(format);
    return;
  }
  QStringList all = block.blockFormat().property(kAnchorsAtBlockEnd).toStringList();
  addUnique(all, names);
  cursor.setPosition(position);
  QTextBlockFormat format;
  format.setProperty(kAnchorsAtBlockEnd, all);
  cursor.mergeBlockFormat(format);
}

QTextCharFormat linkFormat(QTextCharFormat base, const QString &href) {
  base.setAnchor(true);
  base.setAnchorHref(href);
  base.setForeground(QColor(0, 0, 255));
  base.setFontUnderline(true);
  return base;
}

// Replaces the cursor's selection by `text` in `format`; anchor names of the replaced characters
// move to the first character of the new text (or onward when it is empty).
void replaceSelection(QTextCursor &cursor, const QString &text, QTextCharFormat format) {
  QTextDocument &document = *cursor.document();
  const int from = cursor.selectionStart();
  const QStringList names = takeAnchorNames(document, from, cursor.selectionEnd());
  format.clearProperty(QTextFormat::AnchorName);
  format.clearProperty(RtfHiddenTextProperty);
  cursor.insertText(text, format);
  placeAnchorNames(document, from, names);
}

// The format of the first selected character without anchor names and hidden text.
QTextCharFormat selectionBaseFormat(QTextCursor &cursor) {
  QTextCharFormat format = formatAt(*cursor.document(), cursor.selectionStart());
  format.clearProperty(QTextFormat::AnchorName);
  format.clearProperty(RtfHiddenTextProperty);
  return format;
}

void appendLink(QTextCursor &cursor, TopicLinks &links, const QString &display, TAutoLinkData data) {
  const int n = static_cast<int>(links.size());
  links.push_back(TopicLink{display, std::move(data)});
  insertLinkSpan(cursor, n, display);
}

}  // namespace

QString linkHref(int n) { return QStringLiteral("vl:") + QString::number(n); }

int linkNumber(const QString &href) {
  if (!href.startsWith(QStringLiteral("vl:"))) return -1;
  bool ok = false;
  const int n = href.mid(3).toInt(&ok);
  return ok && n >= 0 ? n : -1;
}

bool isAddressHref(const QString &href) { return !href.isEmpty() && !href.startsWith(QStringLiteral("vl:")); }

TopicLookup treeTopicLookup(const TopicTree &tree) {
  return [&tree](const QString &identifier) -> std::optional<LinkTarget> {
    for (QModelIndex node = tree.firstNode(); node.isValid(); node = tree.nextNode(node)) {
      const TNodeData *data = tree.nodeData(node);
      const QString caption = node.data(Qt::DisplayRole).toString();
      const auto same = [&identifier](const QString &text) { return text.compare(identifier, Qt::CaseInsensitive) == 0; };
      if ((data && (same(data->TopicId) || same(data->Title))) || same(caption))
        return LinkTarget{QPersistentModelIndex(node), data ? data->Title : QString(), caption};
    }
    return std::nullopt;
  };
}

std::vector<LinkTarget> childTopics(const TopicTree &tree, const QModelIndex &node) {
  std::vector<LinkTarget> children;
  if (!node.isValid()) return children;
  for (int row = 0; row < tree.rowCount(node); ++row) {
    const QModelIndex child = tree.index(row, 0, node);
    const TNodeData *data = tree.nodeData(child);
    children.push_back(LinkTarget{QPersistentModelIndex(child), data ? data->Title : QString(), child.data().toString()});
  }
  return children;
}

std::optional<LinkMarkup> parseLinkMarkup(const QString &candidate) {
  if (candidate.size() < 6 || !candidate.startsWith(kOpen) || !candidate.endsWith(kClose) || !isLinkDigit(candidate[2]))
    return std::nullopt;
  LinkMarkup markup;
  markup.digit = candidate[2];
  const QString body = candidate.mid(3, candidate.size() - 4);
  const qsizetype tilde = body.indexOf(u'~');
  if (tilde >= 1) {
    markup.caption = body.mid(tilde + 1);
    const QString target = body.left(tilde);
    const qsizetype hash = target.indexOf(u'#');
    markup.identifier = hash < 0 ? target : target.left(hash);
    markup.anchor = hash < 0 ? QString() : target.mid(hash + 1);
  } else {
    markup.identifier = markup.caption = body;
  }
  return markup;
}

QString topicDisplayText(QChar digit, const LinkTarget &topic, const QString &linkCaption, bool childList) {
  switch (digit.unicode()) {
    case u'1': return topic.title;
    case u'3': return topic.caption.toLower();
    case u'2':
    case u'8':
    case u'9': return topic.caption;
    case u'0': return childList ? QStringLiteral("link") : linkCaption;
    default: return linkCaption;
  }
}

void insertLinkSpan(QTextCursor &cursor, int n, const QString &text) {
  replaceSelection(cursor, text, linkFormat(selectionBaseFormat(cursor), linkHref(n)));
}

void resolveLinks(QTextDocument &document, TopicLinks &links, const TopicLookup &lookup) {
  int p = 0;
  for (;;) {
    const QString text = document.toRawText();
    const qsizetype b = text.indexOf(kOpen, p, Qt::CaseInsensitive);
    if (b < 0) return;
    const qsizetype close = text.indexOf(kClose, b);
    const qsizetype a = close < 0 ? -1 : close + 1;
    if (a - b < 6) return;  // can never become a link: the scan stalls here
    const auto markup = parseLinkMarkup(text.mid(b, a - b));
    p = static_cast<int>(a);  // unless a replacement moves it
    if (!markup) continue;    // stays in the text as written

    QTextCursor cursor(&document);
    cursor.setPosition(static_cast<int>(b));
    cursor.setPosition(static_cast<int>(a), QTextCursor::KeepAnchor);
    const LinkMarkup &m = *markup;
    switch (m.digit.unicode()) {
      case u'0': appendLink(cursor, links, m.caption, TAutoLinkData(LinkExternal, m.identifier, {}, {})); break;
      case u'5': appendLink(cursor, links, m.caption, TAutoLinkData(LinkLegend, m.identifier, {}, {})); break;
      case u'7': appendLink(cursor, links, m.caption, TAutoLinkData(LinkCommand, m.identifier, {}, {})); break;
      case u'6': {
        QStringList names = takeAnchorNames(document, static_cast<int>(b), static_cast<int>(a));
        names << m.identifier;
        cursor.removeSelectedText();
        placeAnchorNames(document, static_cast<int>(b), names);
        break;
      }
      default: {
        const bool idBlank = m.identifier.trimmed().isEmpty();
        const bool anchorBlank = m.anchor.trimmed().isEmpty();
        if (idBlank && anchorBlank) break;  // the markup stays visible
        if (idBlank) {
          appendLink(cursor, links, m.caption, TAutoLinkData(LinkAnchor, {}, m.anchor, m.caption));
          break;
        }
        const std::optional<LinkTarget> topic = lookup ? lookup(m.identifier) : std::nullopt;
        if (topic) {
          appendLink(cursor, links, topicDisplayText(m.digit, *topic, m.caption, false),
                     TAutoLinkData(LinkTopic, {}, m.anchor, m.caption, topic->node));
        } else if (!m.caption.trimmed().isEmpty()) {
          replaceSelection(cursor, m.caption, selectionBaseFormat(cursor));
        }
        break;
      }
    }
    if (cursor.hasSelection())
      p = cursor.selectionEnd();
    else
      p = cursor.position();
  }
}

bool expandChildList(QTextDocument &document, TopicLinks &links, const std::vector<LinkTarget> &children) {
  const QString text = document.toRawText();
  const qsizetype at = text.indexOf(kChildMarker);
  if (at < 0) return false;
  const bool hasDigit = at + 2 < text.size() && isLinkDigit(text[at + 2]);
  const QChar digit = hasDigit ? text[at + 2] : QChar(u'0');
  QTextCursor cursor(&document);
  cursor.setPosition(static_cast<int>(at));
  cursor.setPosition(static_cast<int>(at + (hasDigit ? 3 : 2)), QTextCursor::KeepAnchor);
  const QTextCharFormat base = selectionBaseFormat(cursor);
  const QStringList names = takeAnchorNames(document, static_cast<int>(at), cursor.selectionEnd());
  cursor.removeSelectedText();
  for (size_t i = 0; i < children.size(); ++i) {
    if (i > 0) cursor.insertBlock();
    const int n = static_cast<int>(links.size());
    const QString display = topicDisplayText(digit, children[i], QString(), true);
    links.push_back(TopicLink{display, TAutoLinkData(children[i].node)});
    cursor.insertText(display, linkFormat(base, linkHref(n)));
  }
  placeAnchorNames(document, static_cast<int>(at), names);
  return true;
}

int detectAddresses(QTextDocument &document) {
  static const QRegularExpression address(
      QStringLiteral("(?<![\\w@.])((?:https?|ftp)://|www\\.|mailto:)[^\\s<>\"\u00AB\u00BB\u2029\uFFFC]+"),
      QRegularExpression::CaseInsensitiveOption);
  const QString text = document.toRawText();
  int count = 0;
  for (auto it = address.globalMatch(text); it.hasNext();) {
    const QRegularExpressionMatch match = it.next();
    QString found = match.captured();
    while (!found.isEmpty() && QStringLiteral(".,;:!?)]'").contains(found.back())) found.chop(1);
    if (found.size() <= match.capturedLength(1)) continue;  // a prefix alone
    const int start = static_cast<int>(match.capturedStart());
    if (formatAt(document, start).isAnchor()) continue;
    QTextCursor cursor(&document);
    cursor.setPosition(start);
    cursor.setPosition(start + static_cast<int>(found.size()), QTextCursor::KeepAnchor);
    QTextCharFormat format;
    format.setAnchor(true);
    format.setAnchorHref(found);
    format.setForeground(QColor(0, 0, 255));
    format.setFontUnderline(true);
    cursor.mergeCharFormat(format);
    ++count;
  }
  return count;
}

int linkPosition(const QTextDocument &document, int n) {
  const QString href = linkHref(n);
  for (QTextBlock block = document.begin(); block.isValid(); block = block.next())
    for (auto it = block.begin(); !it.atEnd(); ++it)
      if (it.fragment().charFormat().anchorHref() == href) return it.fragment().position();
  return -1;
}

int anchorPosition(const QTextDocument &document, const QString &name) {
  for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
    for (auto it = block.begin(); !it.atEnd(); ++it)
      if (it.fragment().charFormat().anchorNames().contains(name)) return it.fragment().position();
    if (block.blockFormat().property(kAnchorsAtBlockEnd).toStringList().contains(name))
      return block.position() + block.length() - 1;
  }
  return -1;
}

QStringList anchorNames(const QTextDocument &document) {
  QStringList names;
  for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
    for (auto it = block.begin(); !it.atEnd(); ++it) addUnique(names, it.fragment().charFormat().anchorNames());
    addUnique(names, block.blockFormat().property(kAnchorsAtBlockEnd).toStringList());
  }
  return names;
}

}  // namespace vl
