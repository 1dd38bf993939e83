#include "engine/user_locale.h"

#include <unicode/dcfmtsym.h>
#include <unicode/locid.h>

#include <cstdlib>
#include <string_view>

#include "engine/cp1252.h"

namespace vl::orv {

namespace {

// POSIX precedence for the numeric category.
std::string numericLocaleName() {
  for (const char *variable : {"LC_ALL", "LC_NUMERIC", "LANG"}) {
    const char *value = std::getenv(variable);
    if (value && *value) return value;
  }
  return {};
}

}  // namespace

std::string userDecimalSeparator() {
  std::string name = numericLocaleName();
  name = name.substr(0, name.find_first_of(".@"));  // pt_BR.UTF-8@euro -> pt_BR
  if (name.empty() || name == "C" || name == "POSIX") return ".";
  UErrorCode status = U_ZERO_ERROR;
  const icu::DecimalFormatSymbols symbols(icu::Locale::createCanonical(name.c_str()), status);
  if (U_FAILURE(status)) return ".";
  std::string utf8;
  symbols.getConstSymbol(icu::DecimalFormatSymbols::kDecimalSeparatorSymbol).toUTF8String(utf8);
  const std::string separator = utf8ToCp1252(utf8);
  return separator.empty() ? "." : separator;
}

}  // namespace vl::orv
