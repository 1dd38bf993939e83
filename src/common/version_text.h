#pragma once
#include <QString>

namespace vl {

// The program's version text, from the build information ("1.0.0"); computed once.
const QString &VersionText();

}  // namespace vl
