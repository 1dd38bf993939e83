#pragma once
// Windows code page 1252: the single-byte encoding of every stored text.
#include <string>
#include <string_view>

namespace vl {

// Unicode code point of a cp1252 byte. The five unassigned bytes (0x81, 0x8D, 0x8F, 0x90, 0x9D)
// map to the C1 control of the same value, as Windows' conversion does.
char32_t cp1252ToUnicode(unsigned char byte);

// The cp1252 byte of a code point, or -1 when the code page has none.
int unicodeToCp1252(char32_t codePoint);

std::string cp1252ToUtf8(std::string_view bytes);

// Characters outside the code page become `replacement`; malformed UTF-8 sequences too.
std::string utf8ToCp1252(std::string_view utf8, char replacement = '?');

// Upper-casing as the Windows character functions do it for code page 1252.
unsigned char cp1252Upper(unsigned char byte);
std::string cp1252Upper(std::string_view bytes);

}  // namespace vl
