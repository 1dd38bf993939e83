#include "engine/crc.h"

#include <zlib.h>

#include <algorithm>
#include <limits>

namespace vl {

std::uint32_t orvCrc(std::uint32_t start, const void *data, std::size_t length) {
  auto crc = static_cast<uLong>(start);
  auto bytes = static_cast<const Bytef *>(data);
  while (length > 0) {
    const auto chunk = static_cast<uInt>(std::min<std::size_t>(length, std::numeric_limits<uInt>::max()));
    crc = crc32(crc, bytes, chunk);
    bytes += chunk;
    length -= chunk;
  }
  return static_cast<std::uint32_t>(crc);
}

}  // namespace vl
