#include "engine/table_index.h"

#include "engine/orvanto_bytes.h"
#include "engine/table_columns.h"
#include "engine/table_format.h"

namespace vl {

std::uint32_t readBits(const std::uint8_t *bytes, unsigned start, unsigned count) {
  std::uint64_t v = 0;
  const unsigned first = start / 8;
  const unsigned last = (start + count + 7) / 8;
  for (unsigned i = first; i < last; ++i) v |= std::uint64_t(bytes[i]) << (8 * (i - first));
  v >>= start % 8;
  return count >= 32 ? static_cast<std::uint32_t>(v) : static_cast<std::uint32_t>(v & ((1ull << count) - 1));
}

void writeBits(std::uint8_t *bytes, unsigned start, unsigned count, std::uint32_t value) {
  for (unsigned i = 0; i < count; ++i) {
    const unsigned bit = start + i;
    if ((value >> i) & 1u) bytes[bit / 8] |= static_cast<std::uint8_t>(1u << (bit % 8));
    else bytes[bit / 8] &= static_cast<std::uint8_t>(~(1u << (bit % 8)));
  }
}

unsigned TOrvanto_iLow_Index::entryWidth() const {
  const unsigned bits = isPrimary() ? addressBits : unsigned(addressBits) + headBits + duplicateBits;
  return (bits + 7) / 8;
}

TOrvanto_Index_Entry TOrvanto_iLow_Index::decode(const std::uint8_t *entry) const {
  TOrvanto_Index_Entry e;
  if (isPrimary()) {
    e.address = orv::readLe(entry, entryWidth());
    return e;
  }
  e.address = readBits(entry, 0, addressBits > 32 ? 32 : addressBits);
  if (headBits) {
    e.head = readBits(entry, addressBits, 1) != 0;
    e.duplicates = duplicateBits ? readBits(entry, addressBits + 1u, duplicateBits) : 0;
  }
  return e;
}

void TOrvanto_iLow_Index::encode(const TOrvanto_Index_Entry &entry, std::uint8_t *out) const {
  const unsigned w = entryWidth();
  for (unsigned i = 0; i < w; ++i) out[i] = 0;
  if (isPrimary()) {
    orv::writeLe(out, entry.address, w);
    return;
  }
  writeBits(out, 0, addressBits, entry.address);
  if (headBits) {
    writeBits(out, addressBits, 1, entry.head ? 1 : 0);
    writeBits(out, addressBits + 1u, duplicateBits, entry.duplicates);
  }
}

TOrvanto_iLow_Index &TOrvanto_iLow_Indexes::add() {
  items_.push_back(std::make_unique<TOrvanto_iLow_Index>());
  return *items_.back();
}

void TOrvanto_iLow_Indexes::clear() {
  items_.clear();
  longestKey = 0;
  keyBuffer.clear();
}

int TOrvanto_iLow_Indexes::find(std::string_view name) const {
  std::string_view wanted = orv::trimBlanks(name);
  if (wanted.size() > orv::kMaxNameLength) wanted = wanted.substr(0, orv::kMaxNameLength);
  for (std::size_t i = 0; i < items_.size(); ++i)
    if (sameTextIgnoringCase(items_[i]->name, wanted)) return static_cast<int>(i);
  return -1;
}

}  // namespace vl
