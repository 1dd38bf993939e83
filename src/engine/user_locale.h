#pragma once
// The user's locale settings as the environment gives them (LC_ALL, LC_NUMERIC, LANG).
#include <string>

namespace vl::orv {

// The decimal separator of the user's numeric locale, in cp1252; "." for C/POSIX or unknown.
std::string userDecimalSeparator();

}  // namespace vl::orv
