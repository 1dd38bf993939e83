#pragma once
// Pictures of the viewer tool bar and the navigation buttons, drawn in code.
#include <QIcon>
#include <QString>

namespace vl {

// The icon of a command by name; a null icon for commands without a picture.
QIcon commandIcon(const QString &commandName);

}  // namespace vl
