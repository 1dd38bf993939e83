#include "engine/orvanto_bytes.h"

#include <cstring>

namespace vl::orv {

std::string fixedText(const std::uint8_t *field, std::size_t fieldSize) {
  if (fieldSize == 0) return {};
  const auto *begin = reinterpret_cast<const char *>(field);
  const void *nul = std::memchr(begin, 0, fieldSize - 1);
  const std::size_t length = nul ? static_cast<std::size_t>(static_cast<const char *>(nul) - begin) : fieldSize - 1;
  return std::string(begin, length);
}

std::string_view trimBlanks(std::string_view text) {
  auto blank = [](char c) { return static_cast<unsigned char>(c) <= 0x20; };
  while (!text.empty() && blank(text.front())) text.remove_prefix(1);
  while (!text.empty() && blank(text.back())) text.remove_suffix(1);
  return text;
}

}  // namespace vl::orv
