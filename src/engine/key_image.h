#pragma once
// Key images of records for an index, and their comparison.
#include <cstdint>

#include "engine/table_columns.h"
#include "engine/table_index.h"

namespace vl {

// Which part of a key a search compares.
struct TOrvanto_Search_Spec {
  unsigned segments = 0;        // leading segments compared
  bool partial = false;         // prefix comparison of the last compared segment
  std::uint32_t partialLength = 0;
};

// The accent-free partner of a cp1252 character (the character itself when it has none).
unsigned char foldAccent(unsigned char c);

// Applies the index's accent and case folding to a text slot, as stored in key images.
void foldKeyText(std::uint8_t *slot, std::size_t size, std::uint8_t indexFlags);

// Writes the key image of `record` for `index` into `key` (index.keyLength bytes).
void buildKeyImage(const TOrvanto_iLow_Index &index, const TOrvanto_iLow_Fields &fields,
                   const std::uint8_t *record, std::uint8_t *key);

TOrvanto_Search_Spec makeSearchSpec(const TOrvanto_iLow_Index &index, const TOrvanto_iLow_Fields &fields,
                                    unsigned requestedSegments, std::uint32_t requestedPartial);

// Compares a search key with a record key over spec.segments segments: -1, 0 or 1. `prefix` is
// set when a partial comparison matched a longer record value.
int compareKeyImages(const TOrvanto_iLow_Index &index, const TOrvanto_iLow_Fields &fields,
                     const TOrvanto_Search_Spec &spec, const std::uint8_t *searchKey,
                     const std::uint8_t *recordKey, bool &prefix);

// First character of a key for the jump table: 0 for a null first segment, else the first value
// byte, accent-folded with flag 0x04 and upper-cased with flag 0x02.
unsigned char keyFirstCharacter(const TOrvanto_iLow_Index &index, const std::uint8_t *key);

// True when the key's first segment value has no second character.
bool keyHasSingleCharacter(const TOrvanto_iLow_Index &index, const TOrvanto_iLow_Fields &fields,
                           const std::uint8_t *key);

// Key length of an index: segment count + the segment columns' slot sizes.
std::uint32_t keyLengthFor(const TOrvanto_iLow_Index &index, const TOrvanto_iLow_Fields &fields);

}  // namespace vl
