#pragma once
// Hidden RTF text (\v) in a QTextDocument.
//
// The reader keeps hidden text out of the visible text and stores it as a string property:
// - on the character format of the first visible character (text or picture) that follows the
//   hidden text in the same paragraph: the hidden text stands just before that character;
// - on the block format when no visible character follows it in its paragraph: the hidden text
//   stands at the end of that paragraph.
// Consecutive hidden runs with only formatting between them are joined. The writer writes the
// property back as \v text at the same place, so hidden text survives a round trip. A character
// that carries the property carries it alone: neighbouring characters with the same format keep
// their own copy of the text before each of them.
#include <QList>
#include <QString>
#include <QTextFormat>

class QTextDocument;

namespace vl {

constexpr int RtfHiddenTextProperty = QTextFormat::UserProperty + 0x5201;

struct RtfHiddenRun {
  int position = 0;       // document position the hidden text stands at
  QString text;
  bool atBlockEnd = false;  // stored on the block format: `position` is the end of that block
  bool operator==(const RtfHiddenRun &) const = default;
};

// Every hidden run of the document in document order.
QList<RtfHiddenRun> rtfHiddenRuns(const QTextDocument &document);

}  // namespace vl
