#include "shell/text_viewer_find.h"

#include <QTextDocument>

#include "common/text_utils.h"

namespace vl {

QTextCursor findFrom(const QTextDocument &document, const QTextCursor &current, const FindRequest &request) {
  if (request.text.isEmpty()) return {};
  QTextDocument::FindFlags flags;
  if (request.wholeWord) flags |= QTextDocument::FindWholeWords;
  if (request.matchCase) flags |= QTextDocument::FindCaseSensitively;
  if (!request.down) flags |= QTextDocument::FindBackward;
  const int from = request.down ? current.selectionEnd() : current.selectionStart();
  return document.find(request.text, from, flags);
}

QTextCursor findWord(const QTextDocument &document, const QString &word) {
  if (word.isEmpty()) return {};
  return document.find(word, 0, QTextDocument::FindWholeWords | QTextDocument::FindCaseSensitively);
}

int sectionPosition(const QTextDocument &document, const QString &marker, int caret, bool next) {
  if (IsBlank(marker)) return -1;
  QTextDocument::FindFlags flags = QTextDocument::FindWholeWords | QTextDocument::FindCaseSensitively;
  if (!next) flags |= QTextDocument::FindBackward;
  const QTextCursor found = document.find(marker, next ? caret + 1 : caret, flags);
  if (found.isNull()) return -1;
  if (!next && found.selectionStart() >= caret) return -1;
  return found.selectionStart();
}

}  // namespace vl
