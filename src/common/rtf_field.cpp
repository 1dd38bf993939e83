#include "common/rtf_field.h"

#include <QList>

namespace vl::rtf {

namespace {

struct Argument {
  QString text;
  bool isSwitch = false;
};

// Field arguments: words, "quoted texts" (\\ and \" escape inside quotes) and \x switches.
QList<Argument> splitArguments(QStringView text) {
  QList<Argument> args;
  qsizetype i = 0;
  const qsizetype n = text.size();
  while (i < n) {
    const QChar c = text[i];
    if (c.isSpace()) {
      ++i;
      continue;
    }
    Argument arg;
    if (c == u'"') {
      ++i;
      while (i < n && text[i] != u'"') {
        if (text[i] == u'\\' && i + 1 < n && (text[i + 1] == u'\\' || text[i + 1] == u'"')) ++i;
        arg.text.append(text[i]);
        ++i;
      }
      ++i;
    } else if (c == u'\\' && i + 1 < n && text[i + 1] != u'\\') {
      arg.isSwitch = true;
      arg.text = text[i + 1];
      i += 2;
    } else {
      while (i < n && !text[i].isSpace()) {
        if (text[i] == u'\\' && i + 1 < n && text[i + 1] == u'\\') ++i;
        arg.text.append(text[i]);
        ++i;
      }
    }
    args.append(arg);
  }
  return args;
}

QString quoted(const QString &text) {
  QString out = QStringLiteral("\"");
  for (QChar c : text) {
    if (c == u'\\' || c == u'"') out.append(u'\\');
    out.append(c);
  }
  out.append(u'"');
  return out;
}

}  // namespace

std::optional<HyperlinkField> parseHyperlinkInstruction(QStringView instruction) {
  const QList<Argument> args = splitArguments(instruction);
  if (args.isEmpty() || args.front().isSwitch ||
      args.front().text.compare(QLatin1String("HYPERLINK"), Qt::CaseInsensitive) != 0)
    return std::nullopt;
  HyperlinkField field;
  QString address, bookmark;
  bool haveAddress = false;
  for (qsizetype i = 1; i < args.size(); ++i) {
    const Argument &arg = args[i];
    if (arg.isSwitch) {
      const QChar kind = arg.text.isEmpty() ? QChar() : arg.text[0].toLower();
      const bool takesText = kind == u'l' || kind == u'o' || kind == u't';
      if (takesText && i + 1 < args.size() && !args[i + 1].isSwitch) {
        ++i;
        if (kind == u'l') bookmark = args[i].text;
        if (kind == u'o') field.toolTip = args[i].text;
      }
      continue;
    }
    if (!haveAddress) {
      address = arg.text;
      haveAddress = true;
    }
  }
  if (!bookmark.isEmpty()) address += u'#' + bookmark;
  if (address.isEmpty()) return std::nullopt;
  field.href = address;
  return field;
}

QString hyperlinkInstruction(const QString &href, const QString &toolTip) {
  QString instruction = QStringLiteral("HYPERLINK ");
  if (href.startsWith(u'#'))
    instruction += QStringLiteral("\\l ") + quoted(href.mid(1));
  else
    instruction += quoted(href);
  if (!toolTip.isEmpty()) instruction += QStringLiteral(" \\o ") + quoted(toolTip);
  return instruction;
}

}  // namespace vl::rtf
