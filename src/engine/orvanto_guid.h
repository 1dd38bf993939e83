#pragma once
// Text form of a 16-byte database identifier.
#include <array>
#include <cstdint>
#include <string>

namespace vl::orv {

// "{XXXXXXXX-XXXX-XXXX-XXXX-XXXXXXXXXXXX}", the first three groups little-endian.
std::string guidText(const std::array<std::uint8_t, 16> &guid);

}  // namespace vl::orv
