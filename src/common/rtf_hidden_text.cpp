#include "common/rtf_hidden_text.h"

#include <QTextBlock>
#include <QTextDocument>

namespace vl {

QList<RtfHiddenRun> rtfHiddenRuns(const QTextDocument &document) {
  QList<RtfHiddenRun> runs;
  for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
    for (auto it = block.begin(); !it.atEnd(); ++it) {
      const QTextFragment fragment = it.fragment();
      const QString hidden = fragment.charFormat().stringProperty(RtfHiddenTextProperty);
      if (hidden.isEmpty()) continue;
      const QString text = fragment.text();
      for (int i = 0; i < text.size(); ++i) {
        if (text.at(i).isLowSurrogate() && i > 0 && text.at(i - 1).isHighSurrogate()) continue;
        runs.append({fragment.position() + i, hidden, false});
      }
    }
    const QString tail = block.blockFormat().stringProperty(RtfHiddenTextProperty);
    if (!tail.isEmpty()) runs.append({block.position() + block.length() - 1, tail, true});
  }
  return runs;
}

}  // namespace vl
