#pragma once
// Recognises what a blob holds from its first bytes, for the inspector's listings.
#include <cstddef>
#include <cstdint>
#include <string>

namespace vl::inspector {

// How many leading bytes blobKind looks at.
inline constexpr std::size_t kBlobKindProbe = 44;

// "rtf", "wmf", "emf", "wav", "bmp", "png", "jpeg", "gif", or empty when unknown.
std::string blobKind(const std::uint8_t *bytes, std::size_t length);

}  // namespace vl::inspector
