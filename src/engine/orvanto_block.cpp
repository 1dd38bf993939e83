#include "engine/orvanto_block.h"

#include "engine/crc.h"
#include "engine/orvanto_bytes.h"
#include "engine/orvanto_file.h"

namespace vl::orv {

std::uint32_t blockCheck(const void *data, std::size_t length, std::optional<std::uint16_t> word,
                         std::uint32_t start) {
  std::uint32_t crc = start;
  if (word) {
    std::uint8_t w[kWordSize];
    putWord(w, *word);
    crc = orvCrc(crc, w, sizeof w);
  }
  return orvCrc(crc, data, length);
}

bool readProtectedBlock(OrvantoFile &file, void *data, std::size_t length, bool withWord, std::uint32_t start) {
  file.read(data, length);
  std::optional<std::uint16_t> word;
  if (withWord) word = file.readWord();
  const std::uint32_t stored = file.readDword();
  return blockCheck(data, length, word, start) == stored;
}

}  // namespace vl::orv
