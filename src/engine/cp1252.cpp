#include "engine/cp1252.h"

#include <array>

namespace vl {

namespace {

// 0x80..0x9F; 0 marks the unassigned positions.
constexpr std::array<char16_t, 32> kHighBlock = {
    0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0,      0x017D, 0,
    0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178};

void appendUtf8(std::string &out, char32_t cp) {
  if (cp < 0x80) {
    out += static_cast<char>(cp);
  } else if (cp < 0x800) {
    out += static_cast<char>(0xC0 | (cp >> 6));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  } else if (cp < 0x10000) {
    out += static_cast<char>(0xE0 | (cp >> 12));
    out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  } else {
    out += static_cast<char>(0xF0 | (cp >> 18));
    out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
    out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  }
}

}  // namespace

char32_t cp1252ToUnicode(unsigned char byte) {
  if (byte < 0x80 || byte >= 0xA0) return byte;
  const char16_t mapped = kHighBlock[byte - 0x80];
  return mapped ? mapped : byte;
}

int unicodeToCp1252(char32_t cp) {
  if (cp < 0x80 || (cp >= 0xA0 && cp <= 0xFF)) return static_cast<int>(cp);
  for (std::size_t i = 0; i < kHighBlock.size(); ++i) {
    if (kHighBlock[i] == cp) return static_cast<int>(0x80 + i);
  }
  if (cp >= 0x80 && cp < 0xA0 && kHighBlock[cp - 0x80] == 0) return static_cast<int>(cp);
  return -1;
}

std::string cp1252ToUtf8(std::string_view bytes) {
  std::string out;
  out.reserve(bytes.size() + bytes.size() / 4);
  for (unsigned char b : bytes) appendUtf8(out, cp1252ToUnicode(b));
  return out;
}

std::string utf8ToCp1252(std::string_view utf8, char replacement) {
  std::string out;
  out.reserve(utf8.size());
  std::size_t i = 0;
  const std::size_t n = utf8.size();
  while (i < n) {
    const unsigned char lead = static_cast<unsigned char>(utf8[i]);
    int extra;
    char32_t cp;
    if (lead < 0x80) {
      extra = 0;
      cp = lead;
    } else if ((lead & 0xE0) == 0xC0) {
      extra = 1;
      cp = lead & 0x1F;
    } else if ((lead & 0xF0) == 0xE0) {
      extra = 2;
      cp = lead & 0x0F;
    } else if ((lead & 0xF8) == 0xF0) {
      extra = 3;
      cp = lead & 0x07;
    } else {
      out += replacement;
      ++i;
      continue;
    }
    bool ok = true;
    for (int k = 1; k <= extra; ++k) {
      if (i + k >= n || (static_cast<unsigned char>(utf8[i + k]) & 0xC0) != 0x80) {
        ok = false;
        break;
      }
      cp = (cp << 6) | (static_cast<unsigned char>(utf8[i + k]) & 0x3F);
    }
    if (!ok) {
      out += replacement;
      ++i;
      continue;
    }
    i += extra + 1;
    const int byte = unicodeToCp1252(cp);
    out += byte < 0 ? replacement : static_cast<char>(byte);
  }
  return out;
}

unsigned char cp1252Upper(unsigned char b) {
  if (b >= 'a' && b <= 'z') return static_cast<unsigned char>(b - 0x20);
  if (b >= 0xE0 && b <= 0xFE && b != 0xF7) return static_cast<unsigned char>(b - 0x20);
  switch (b) {
    case 0x9A: return 0x8A;  // š
    case 0x9C: return 0x8C;  // œ
    case 0x9E: return 0x8E;  // ž
    case 0xFF: return 0x9F;  // ÿ
    default: return b;
  }
}

std::string cp1252Upper(std::string_view bytes) {
  std::string out(bytes);
  for (char &c : out) c = static_cast<char>(cp1252Upper(static_cast<unsigned char>(c)));
  return out;
}

}  // namespace vl
