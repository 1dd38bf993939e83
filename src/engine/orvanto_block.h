#pragma once
// Protected blocks: data, an optional word W, a stored check value.
#include <cstddef>
#include <cstdint>
#include <optional>

#include "engine/orvanto_format.h"

namespace vl {
class OrvantoFile;
}

namespace vl::orv {

// crc(crc(start, W), data) when W is given, crc(start, data) otherwise.
std::uint32_t blockCheck(const void *data, std::size_t length, std::optional<std::uint16_t> word,
                         std::uint32_t start = kBlockStart);

// Reads the data, then W when present, then the stored check, each exactly, at the current
// position; true when the stored check matches.
bool readProtectedBlock(OrvantoFile &file, void *data, std::size_t length, bool withWord,
                        std::uint32_t start = kBlockStart);

}  // namespace vl::orv
