#include "shell/hints.h"

#include <QLocale>

#include "common/text_utils.h"
#include "shell/node_data.h"

namespace vl {

QString twoPartHint(const QString &caption, const QString &designedHint) {
  QString shortText = CleanCaption(caption, false);
  shortText.remove(QStringLiteral("..."));
  return shortText.trimmed() + u'|' + designedHint;
}

QString hintTooltip(const QString &hint) { return hint.section(u'|', 0, 0); }

QString hintStatusPart(const QString &hint) {
  const qsizetype bar = hint.indexOf(u'|');
  return bar < 0 ? hint : hint.mid(bar + 1);
}

QString statusLineForHint(const QString &hint) {
  const QString text = hintStatusPart(hint);
  if (text.isEmpty()) return text;
  const QChar last = text.back();
  if (last == u'.' || last == u'?' || last == u':' || last == u'!') return text;
  return text + u'.';
}

QString readDateTimeText(const TNodeData &node) {
  if (node.ReadState != 1 || !node.ReadDate.isValid()) return {};
  return QLocale().toString(node.ReadDate, QLocale::ShortFormat);
}

QString readProgressText(const TNodeData &node, bool hasChildren) {
  if (!hasChildren || !node.CanRevise) return {};
  if (node.ReadDescendants == 0) return QStringLiteral("nenhum subtopico lido");
  if (node.ReadDescendants == node.DescendantCount)
    return node.DescendantCount == 1 ? QStringLiteral("subtopico lido")
                                     : QStringLiteral("todos os subtopicos lidos");
  return QStringLiteral("%1 de %2 subtopicos lidos").arg(node.ReadDescendants).arg(node.DescendantCount);
}

QString treeNodeHint(const TNodeData &node, bool hasChildren, bool commentsOnTree,
                     const QString &readStatus) {
  const QString shortPart = commentsOnTree ? node.Comment : QString();
  const QString &read = readStatus;
  const QString progress = readProgressText(node, hasChildren);
  QString info;
  if (read.trimmed().isEmpty()) {
    info = progress;
    if (!info.isEmpty()) info[0] = info[0].toUpper();
  } else if (progress.trimmed().isEmpty()) {
    info = read;
  } else {
    info = read + QStringLiteral(", ") + progress;
  }
  const QString suffix = info.trimmed().isEmpty() ? QString() : QStringLiteral(" (") + info + u')';
  return shortPart + u'|' + node.Title + suffix;
}

int stateIconIndex(const TNodeData &node) {
  const bool read = node.ReadState == 1;
  if (read && node.InFavorites) return 2;
  if (read) return 0;
  if (node.InFavorites) return 1;
  return -1;
}

QString stateIconHint(const TNodeData &node) {
  if (node.ReadState == 1) {
    const bool fav = node.InFavorites;
    return QStringLiteral("Lido%1|Tópico%2 lido em %3")
        .arg(fav ? QStringLiteral(" e em Favoritos") : QString(),
             fav ? QStringLiteral(", em favoritos,") : QString(), readDateTimeText(node));
  }
  if (node.InFavorites) return QStringLiteral("Em Favoritos|Tópico incluído na lista de favoritos");
  return {};
}

}  // namespace vl
