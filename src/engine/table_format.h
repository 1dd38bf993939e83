#pragma once
// Fixed numbers of a table's storage: offsets relative to the table base, check start values,
// column type codes.
#include <cstdint>

#include "engine/orvanto_format.h"

namespace vl::orv {

// The table header lies at kTableHeaderOffset (orvanto_format.h): 55 data bytes, W, check.
inline constexpr std::uint32_t kTableHeaderSize = 55;
inline constexpr std::uint32_t kTablePropertiesOffset = 204;  // 274 data bytes, W, check
inline constexpr std::uint32_t kTablePropertiesSize = 274;
inline constexpr std::uint32_t kColumnSectionOffset = 484;

inline constexpr std::uint32_t kColumnsStart = 0xFADA0001u;   // + column count
inline constexpr std::uint32_t kRecordStart = 0xFADA0002u;    // XOR (address + N)
inline constexpr std::uint32_t kTemplateStart = 0xFADA0003u;
inline constexpr std::uint32_t kBlobStart = 0xFADA0004u;
inline constexpr std::uint32_t kTableCrcStart = 0xFADA0006u;
inline constexpr std::uint32_t kIndexStart = 0xFADA0007u;     // + index count (descriptors) or + index number (blocks)

inline constexpr std::uint8_t kIndexMarker = 0x3A;  // ':'
inline constexpr std::uint32_t kMaxStringSize = 8192;
inline constexpr std::uint32_t kMaxBytesSize = 127;
inline constexpr std::uint32_t kMaxNameLength = 127;
inline constexpr std::uint32_t kMaxTemplateSize = 65535;
inline constexpr std::uint32_t kVerifyChunk = 10240;

// Column type codes.
enum ColumnType : std::uint8_t {
  ctString = 1,
  ctSmallint = 2,
  ctInteger = 3,
  ctWord = 4,
  ctBoolean = 5,
  ctFloat = 6,
  ctCurrency = 7,
  ctDate = 9,
  ctTime = 10,
  ctDateTime = 11,
  ctBytes = 12,
  ctAutoInc = 14,
  ctBlob = 15,
  ctMemo = 16,
};

enum class ColumnClass : std::uint8_t { Invalid, Text, Integer, Boolean, Float, DateTime, FixedText, Blob };

ColumnClass columnClassOf(std::uint8_t type);

// Text segments: String, Bytes, Blob, Memo.
inline bool isTextType(std::uint8_t type) {
  return type == ctString || type == ctBytes || type == ctBlob || type == ctMemo;
}

// Index flags.
inline constexpr std::uint8_t kIndexCaseInsensitive = 0x02;
inline constexpr std::uint8_t kIndexAccentInsensitive = 0x04;
inline constexpr std::uint8_t kIndexLocale = 0x08;
inline constexpr std::uint8_t kIndexStringSort = 0x10;
inline constexpr std::uint8_t kIndexFoldBytes = 0x20;
// Segment flags.
inline constexpr std::uint8_t kSegmentDescending = 0x01;
inline constexpr std::uint8_t kSegmentFold = 0x02;

// Index flags as stored in a live index: a keyless-text index keeps only 0x01/0x40/0x80,
// string sort implies locale comparison, locale comparison drops accent folding.
std::uint8_t adjustIndexFlags(std::uint8_t flags, bool hasTextSegment);

// Little-endian helpers.
inline std::uint32_t readLe(const std::uint8_t *p, unsigned width) {
  std::uint32_t v = 0;
  for (unsigned i = 0; i < width; ++i) v |= std::uint32_t(p[i]) << (8 * i);
  return v;
}
inline void writeLe(std::uint8_t *p, std::uint32_t v, unsigned width) {
  for (unsigned i = 0; i < width; ++i) p[i] = static_cast<std::uint8_t>(v >> (8 * i));
}
inline std::uint32_t checkMask(unsigned k) { return k >= 4 ? 0xFFFFFFFFu : (1u << (8 * k)) - 1u; }

}  // namespace vl::orv
