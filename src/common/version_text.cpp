#include "common/version_text.h"

#ifndef VL_VERSION_TEXT
#error "VL_VERSION_TEXT must be defined by the build"
#endif

namespace vl {

const QString &VersionText() {
  static const QString text = QStringLiteral(VL_VERSION_TEXT).trimmed();
  return text;
}

}  // namespace vl
