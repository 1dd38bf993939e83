#include "data/data_error.h"

#include <cstring>

namespace vl {

std::string formatError(const char *pattern, const std::string &argument) {
  std::string text(pattern);
  const auto at = text.find("%s");
  if (at != std::string::npos) text.replace(at, 2, argument);
  return text;
}

void raiseDatabaseError(const char *text, const void *component) { throw DatabaseError(text, component); }

void raiseDatabaseError(const char *pattern, const std::string &argument, const void *component) {
  throw DatabaseError(formatError(pattern, argument), component);
}

}  // namespace vl
