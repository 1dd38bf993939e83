#pragma once
// The diagnostic trace: internal messages that are never shown to the user. The program keeps no
// log, so the trace discards what it is given.
#include <QString>

namespace vl {

enum class TraceSeverity { Info, Warning, Error };

inline void Trace(const QString &text, TraceSeverity severity = TraceSeverity::Info) {
  (void)text;
  (void)severity;
}

}  // namespace vl
