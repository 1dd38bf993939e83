#include "engine/table_format.h"

namespace vl::orv {

ColumnClass columnClassOf(std::uint8_t type) {
  switch (type) {
    case ctString: return ColumnClass::Text;
    case ctSmallint: case ctInteger: case ctWord: case ctAutoInc: return ColumnClass::Integer;
    case ctBoolean: return ColumnClass::Boolean;
    case ctFloat: case ctCurrency: return ColumnClass::Float;
    case ctDate: case ctTime: case ctDateTime: return ColumnClass::DateTime;
    case ctBytes: return ColumnClass::FixedText;
    case ctBlob: case ctMemo: return ColumnClass::Blob;
    default: return ColumnClass::Invalid;
  }
}

std::uint8_t adjustIndexFlags(std::uint8_t flags, bool hasTextSegment) {
  if (!hasTextSegment) return flags & 0xC1;
  if (flags & kIndexStringSort) return flags | kIndexLocale;
  if (flags & kIndexLocale) return flags & ~kIndexAccentInsensitive;
  return flags;
}

}  // namespace vl::orv
