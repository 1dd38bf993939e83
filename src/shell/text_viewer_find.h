#pragma once
// Text searches over a topic document: the find dialog's search, the whole-word search of
// pending anchors and the section markers.
#include <QString>
#include <QTextCursor>

class QTextDocument;

namespace vl {

struct FindRequest {
  QString text;
  bool wholeWord = false;
  bool matchCase = false;
  bool down = true;
};

// Searches from the current selection: down from its end, up from its start. A null cursor when
// nothing is found.
QTextCursor findFrom(const QTextDocument &document, const QTextCursor &current, const FindRequest &request);

// The first whole-word, case-sensitive occurrence of `word` from the start of the text.
QTextCursor findWord(const QTextDocument &document, const QString &word);

// The section marker (whole word, matching case) after the caret (from caret + 1) or before it
// (searching backwards from the caret); -1 when none or when the marker is blank.
int sectionPosition(const QTextDocument &document, const QString &marker, int caret, bool next);

}  // namespace vl
