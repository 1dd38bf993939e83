#include "common/rtf_reader.h"

#include "common/cp1252_qt.h"
#include "common/rtf_parser.h"

#include <QTextDocument>

namespace vl {

namespace {

void loadPlainText(QByteArrayView data, QTextDocument *document) {
  QString text;
  if (data.startsWith("\xEF\xBB\xBF"))
    text = QString::fromUtf8(data.sliced(3));
  else
    text = fromCp1252(data);
  text.replace(QLatin1String("\r\n"), QLatin1String("\n"));
  text.replace(u'\r', u'\n');
  // Control characters other than tab and line end are not text, as in RTF.
  text.removeIf([](QChar c) { return c.unicode() < 0x20 && c != u'\t' && c != u'\n'; });
  document->setPlainText(text);
}

}  // namespace

bool looksLikeRtf(QByteArrayView data) {
  qsizetype i = 0;
  while (i < data.size() && (data[i] == ' ' || data[i] == '\t' || data[i] == '\r' || data[i] == '\n')) ++i;
  return data.sliced(i).startsWith("{\\rtf");
}

RtfReadResult readRtf(QByteArrayView data, QTextDocument *document, const RtfReadOptions &options) {
  if (!document) return {};
  const bool undo = document->isUndoRedoEnabled();
  document->setUndoRedoEnabled(false);
  document->clear();
  RtfReadResult result;
  if (looksLikeRtf(data)) {
    rtf::Parser parser(std::string_view(data.data(), size_t(data.size())), document, options);
    result = parser.run();
  } else {
    loadPlainText(data, document);
  }
  document->setUndoRedoEnabled(undo);
  return result;
}

}  // namespace vl
