#pragma once
// Little-endian fields and fixed-size cp1252 text fields of the file format.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace vl::orv {

inline std::uint16_t getWord(const std::uint8_t *p) {
  return static_cast<std::uint16_t>(p[0] | (p[1] << 8));
}
inline std::uint32_t getDword(const std::uint8_t *p) {
  return static_cast<std::uint32_t>(p[0]) | (static_cast<std::uint32_t>(p[1]) << 8) |
         (static_cast<std::uint32_t>(p[2]) << 16) | (static_cast<std::uint32_t>(p[3]) << 24);
}
inline void putWord(std::uint8_t *p, std::uint16_t v) {
  p[0] = static_cast<std::uint8_t>(v);
  p[1] = static_cast<std::uint8_t>(v >> 8);
}
inline void putDword(std::uint8_t *p, std::uint32_t v) {
  for (int i = 0; i < 4; ++i) p[i] = static_cast<std::uint8_t>(v >> (8 * i));
}

// The characters of a fixed text field before its first NUL, at most fieldSize - 1 of them.
std::string fixedText(const std::uint8_t *field, std::size_t fieldSize);

// Leading and trailing characters <= 0x20 removed.
std::string_view trimBlanks(std::string_view text);

}  // namespace vl::orv
