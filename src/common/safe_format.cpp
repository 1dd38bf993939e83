#include "common/safe_format.h"

#include <QLocale>

#include "common/text_utils.h"

namespace vl {

namespace {

[[noreturn]] void fail(const char *why) { throw FormatError(why); }

// Reads a decimal number at pos; -1 when there is none.
int readNumber(const QString &f, qsizetype &pos) {
  if (pos >= f.size() || !f[pos].isDigit()) return -1;
  qint64 n = 0;
  while (pos < f.size() && f[pos].isDigit()) {
    n = n * 10 + f[pos].digitValue();
    if (n > 100000) fail("width too large");
    ++pos;
  }
  return int(n);
}

QString withMinimumDigits(QString digits, int precision) {
  const bool negative = digits.startsWith(u'-');
  if (negative) digits.remove(0, 1);
  if (precision > digits.size()) digits.prepend(QString(precision - digits.size(), u'0'));
  return negative ? u'-' + digits : digits;
}

qint64 integerArg(const FormatArg &a) {
  if (const auto *v = std::get_if<qint64>(&a.value())) return *v;
  fail("integer expected");
}

double floatArg(const FormatArg &a) {
  if (const auto *v = std::get_if<double>(&a.value())) return *v;
  fail("floating-point number expected");
}

}  // namespace

QString Format(const QString &f, const QList<FormatArg> &args) {
  QString out;
  qsizetype next = 0;
  qsizetype pos = 0;
  while (pos < f.size()) {
    const QChar c = f[pos++];
    if (c != u'%') {
      out += c;
      continue;
    }
    if (pos >= f.size()) fail("template ends inside a placeholder");
    if (f[pos] == u'%') {
      out += u'%';
      ++pos;
      continue;
    }
    // Optional "index:".
    const qsizetype start = pos;
    int index = readNumber(f, pos);
    if (index >= 0 && pos < f.size() && f[pos] == u':') {
      next = index;
      ++pos;
    } else {
      pos = start;
    }
    bool left = false;
    if (pos < f.size() && f[pos] == u'-') {
      left = true;
      ++pos;
    }
    const int width = readNumber(f, pos);
    int precision = -1;
    if (pos < f.size() && f[pos] == u'.') {
      ++pos;
      precision = readNumber(f, pos);
      if (precision < 0) fail("precision expected");
    }
    if (pos >= f.size()) fail("template ends inside a placeholder");
    const QChar type = f[pos++].toLower();
    if (next >= args.size()) fail("missing argument");
    const FormatArg &arg = args[next++];
    QString piece;
    switch (type.unicode()) {
      case u'd': piece = withMinimumDigits(QString::number(integerArg(arg)), precision); break;
      case u'u': piece = withMinimumDigits(QString::number(quint64(integerArg(arg)) & 0xFFFFFFFFull), precision); break;
      case u'x': piece = withMinimumDigits(QString::number(quint64(integerArg(arg)), 16).toUpper(), precision); break;
      case u's': {
        const auto *s = std::get_if<QString>(&arg.value());
        if (!s) fail("text expected");
        piece = precision >= 0 ? s->left(precision) : *s;
        break;
      }
      case u'f': piece = QString::number(floatArg(arg), 'f', precision < 0 ? 2 : precision); break;
      case u'e': piece = QString::number(floatArg(arg), 'E', precision < 0 ? 14 : qMax(0, precision - 1)); break;
      case u'g': piece = QString::number(floatArg(arg), 'g', precision < 0 ? 15 : qMax(1, precision)); break;
      case u'n': piece = QLocale().toString(floatArg(arg), 'f', precision < 0 ? 2 : precision); break;
      default: fail("unknown placeholder type");
    }
    if (width > piece.size()) {
      const QString pad(width - piece.size(), u' ');
      piece = left ? piece + pad : pad + piece;
    }
    out += piece;
  }
  return out;
}

QString SafeFormat(const QString &format, const QList<FormatArg> &args) noexcept {
  const QString expanded = ExpandBreaks(format);
  try {
    return Format(expanded, args);
  } catch (...) {
    return expanded;
  }
}

}  // namespace vl
