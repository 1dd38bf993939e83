#pragma once
// The engine's check value: zlib's CRC-32 continued from a block-specific start value.
#include <cstddef>
#include <cstdint>

namespace vl {

std::uint32_t orvCrc(std::uint32_t start, const void *data, std::size_t length);

}  // namespace vl
