#include "common/text_utils.h"

#include <QStringList>

namespace vl {

QString ExpandBreaks(const QString &text) {
  QString out = text;
  out.replace(u'|', QStringLiteral("\r\n"));
  return out;
}

QString CollapseBreaks(const QString &text) {
  QString out = text;
  out.replace(QStringLiteral("\r\n"), QStringLiteral("|"));
  out.replace(u'\n', u'|');
  out.replace(u'\r', u'|');
  return out;
}

QString CleanCaption(const QString &caption, bool dropDots) {
  QString out = caption;
  const qsizetype amp = out.indexOf(u'&');
  if (amp >= 0) out.remove(amp, 1);
  out = out.trimmed();
  if (dropDots && out.endsWith(QStringLiteral("..."))) out.chop(3);
  return out;
}

bool IsBlank(const QString &text) { return text.trimmed().isEmpty(); }

QString ListItem(const QString &text, int n, const QString &defaultValue, QChar delimiter) {
  if (n < 0) return defaultValue;
  const QStringList items = text.split(delimiter);
  if (n >= items.size()) return defaultValue;
  const QString item = items[n].trimmed();
  return item.isEmpty() ? defaultValue : item;
}

QString Shorten(const QString &text, int limit, bool cutAnywhere) {
  if (text.size() <= limit) return text;
  QString out = text.left(qMax(0, limit - 3));
  if (!cutAnywhere && !out.isEmpty() && !out.back().isSpace()) {
    qsizetype blank = out.size() - 1;
    while (blank >= 0 && !out[blank].isSpace()) --blank;
    if (blank >= 0) out.truncate(blank + 1);
  }
  while (!out.isEmpty() && out.back().isSpace()) out.chop(1);
  return out + QStringLiteral("...");
}

QString ReplaceLimited(const QString &text, const QString &pattern, const QString &replacement, int max) {
  if (pattern.isEmpty()) return text;
  QString out;
  qsizetype from = 0;
  int done = 0;
  while (max <= 0 || done < max) {
    const qsizetype at = text.indexOf(pattern, from, Qt::CaseSensitive);
    if (at < 0) break;
    out += QStringView(text).mid(from, at - from);
    out += replacement;
    from = at + pattern.size();
    ++done;
  }
  out += QStringView(text).mid(from);
  return out;
}

int PositionOfNth(const QString &pattern, const QString &text, int n) {
  if (n < 1 || pattern.isEmpty()) return 0;
  qsizetype at = -1;
  for (int i = 0; i < n; ++i) {
    at = text.indexOf(pattern, at + 1, Qt::CaseSensitive);
    if (at < 0) return 0;
  }
  return int(at) + 1;
}

}  // namespace vl
