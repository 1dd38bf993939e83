#pragma once
// Fixed layout of an Orvanto database file: block sizes, positions and field offsets.
#include <cstddef>
#include <cstdint>

namespace vl::orv {

// Start value of the check of every database-level block.
inline constexpr std::uint32_t kBlockStart = 0xFADA0005u;

// Identification block: magic "Orvanto" 0x1A, format major, format minor.
inline constexpr char kMagic[8] = {'O', 'r', 'v', 'a', 'n', 't', 'o', '\x1A'};
inline constexpr std::size_t kIdentificationSize = 10;
inline constexpr std::size_t kMajorOffset = 8;
inline constexpr std::size_t kMinorOffset = 9;
inline constexpr std::uint16_t kHighestFormatVersion = 0x0101;  // 1.1

// Main header.
inline constexpr std::size_t kMainHeaderSize = 321;
inline constexpr std::size_t kPasswordFlagOffset = 149;
inline constexpr std::size_t kUserAreaSizeOffset = 150;
inline constexpr std::size_t kGuidOffset = 152;
inline constexpr std::size_t kGuidSize = 16;

// Directory header.
inline constexpr std::size_t kDirectoryHeaderSize = 10;
inline constexpr std::size_t kEntryCountOffset = 0;

// Properties block.
inline constexpr std::size_t kPropertiesSize = 538;
inline constexpr std::size_t kTitleOffset = 0;
inline constexpr std::size_t kTitleSize = 128;
inline constexpr std::size_t kContentVersionOffset = 128;
inline constexpr std::size_t kValueAOffset = 132;
inline constexpr std::size_t kValueBOffset = 140;
inline constexpr std::size_t kValueSize = 8;
inline constexpr std::size_t kTextOffset = 154;
inline constexpr std::size_t kTextSize = 128;
inline constexpr std::size_t kDescriptionOffset = 282;
inline constexpr std::size_t kDescriptionSize = 256;

// A protected block is its data, an optional 2-byte word W and a 4-byte stored check.
inline constexpr std::size_t kWordSize = 2;
inline constexpr std::size_t kCheckSize = 4;
inline constexpr std::size_t protectedSize(std::size_t data, bool withWord) {
  return data + (withWord ? kWordSize : 0) + kCheckSize;
}

// Absolute positions of the fixed blocks.
inline constexpr std::uint32_t kIdentificationPosition = 0;
inline constexpr std::uint32_t kMainHeaderPosition = 16;
inline constexpr std::uint32_t kDirectoryHeaderPosition = 343;
inline constexpr std::uint32_t kPropertiesPosition = 359;
inline constexpr std::uint32_t kAfterPropertiesPosition = 903;  // user area or first entry
inline constexpr std::size_t kUserAreaTrailerSize = 4;

// Directory entries and the footer (no W).
inline constexpr std::size_t kEntrySize = 137;
inline constexpr std::size_t kEntrySelfOffset = 0;
inline constexpr std::size_t kEntryNextOffset = 4;
inline constexpr std::size_t kEntryKindOffset = 8;
inline constexpr std::size_t kEntryNameOffset = 9;
inline constexpr std::size_t kEntryNameSize = 128;
inline constexpr std::size_t kMaxTableNameLength = 127;
inline constexpr std::uint8_t kKindFooter = 1;
inline constexpr std::uint8_t kKindTable = 2;
// A table's own data starts this far after its entry: entry, check and 2 bytes not interpreted.
inline constexpr std::uint32_t kTableHeaderOffset = 143;
inline constexpr std::size_t kEntryPadSize = 2;

static_assert(kMainHeaderPosition == protectedSize(kIdentificationSize, true));
static_assert(kDirectoryHeaderPosition == kMainHeaderPosition + protectedSize(kMainHeaderSize, true));
static_assert(kPropertiesPosition == kDirectoryHeaderPosition + protectedSize(kDirectoryHeaderSize, true));
static_assert(kAfterPropertiesPosition == kPropertiesPosition + protectedSize(kPropertiesSize, true));
static_assert(kTableHeaderOffset == protectedSize(kEntrySize, false) + kEntryPadSize);

}  // namespace vl::orv
