#pragma once
// Index objects of a table: descriptors, entry layout and decoding.
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "engine/jump_table.h"

namespace vl {

struct TOrvanto_Index_Segment {
  std::uint16_t column = 0;
  std::uint8_t flags = 0;  // 0x01 descending (reported only), 0x02 fold Bytes
};

// One decoded index entry.
struct TOrvanto_Index_Entry {
  std::uint32_t address = 0;
  bool head = true;
  std::uint32_t duplicates = 0;  // head: group size - 1; others: distance back to the head
};

class TOrvanto_iLow_Index {
 public:
  virtual ~TOrvanto_iLow_Index() = default;

  std::string name;  // at most 127 characters
  std::vector<TOrvanto_Index_Segment> segments;
  int handle = -1;   // kept for layout compatibility, never used
  TOrvanto_DigSearch jumpTable;
  std::uint32_t blockOffset = 0;  // relative to the table base
  std::uint32_t keyLength = 0;    // segment count + sum of the segment columns' slot sizes
  std::uint8_t flags = 0;
  std::uint8_t addressBits = 0;   // A
  std::uint8_t headBits = 0;      // F: 0 or 1
  std::uint8_t duplicateBits = 0; // D
  std::uint32_t entryCount = 0;   // record count (primary) or distinct count
  std::uint32_t localeId = 0;

  bool isPrimary() const { return segments.empty(); }
  // W: bytes per entry.
  unsigned entryWidth() const;
  TOrvanto_Index_Entry decode(const std::uint8_t *entry) const;
  void encode(const TOrvanto_Index_Entry &entry, std::uint8_t *out) const;
};

class TOrvanto_iLow_Indexes {
 public:
  virtual ~TOrvanto_iLow_Indexes() = default;
  std::size_t count() const { return items_.size(); }
  TOrvanto_iLow_Index &operator[](std::size_t i) { return *items_[i]; }
  const TOrvanto_iLow_Index &operator[](std::size_t i) const { return *items_[i]; }
  TOrvanto_iLow_Index &add();
  void clear();
  // Trimmed, at most 127 characters, ignoring case; -1 when absent.
  int find(std::string_view name) const;

  std::uint32_t longestKey = 0;
  std::vector<std::uint8_t> keyBuffer;

 private:
  std::vector<std::unique_ptr<TOrvanto_iLow_Index>> items_;
};

class TOrvanto_wLow_Indexes : public TOrvanto_iLow_Indexes {};

// Bit field of n bits (n <= 32) starting at bit s of a little-endian bit string.
std::uint32_t readBits(const std::uint8_t *bytes, unsigned start, unsigned count);
void writeBits(std::uint8_t *bytes, unsigned start, unsigned count, std::uint32_t value);

}  // namespace vl
