#pragma once
// The operating system's text for an error number (errno), in Portuguese.
#include <QString>

namespace vl {

// The message for `code` without trailing blanks and stops; for a code other than 0 followed by
// " [0x%.4X]" and ".". An unknown code gives the bracketed code alone, code 0 the message alone.
QString SystemErrorText(int code);
// The same for the current errno.
QString SystemErrorText();

}  // namespace vl
