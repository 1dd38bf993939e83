#include "blob_kind.h"

#include <cstring>

namespace vl::inspector {

namespace {

bool startsWith(const std::uint8_t *bytes, std::size_t length, const char *prefix, std::size_t size) {
  return length >= size && std::memcmp(bytes, prefix, size) == 0;
}

}  // namespace

std::string blobKind(const std::uint8_t *b, std::size_t n) {
  if (startsWith(b, n, "{\\rtf", 5)) return "rtf";
  if (startsWith(b, n, "\xD7\xCD\xC6\x9A", 4)) return "wmf";  // placeable
  if ((startsWith(b, n, "\x01\x00\x09\x00", 4) || startsWith(b, n, "\x02\x00\x09\x00", 4))) return "wmf";
  if (startsWith(b, n, "\x01\x00\x00\x00", 4) && n >= 44 && std::memcmp(b + 40, " EMF", 4) == 0) return "emf";
  if (startsWith(b, n, "RIFF", 4) && n >= 12 && std::memcmp(b + 8, "WAVE", 4) == 0) return "wav";
  if (startsWith(b, n, "\x89PNG\r\n\x1A\n", 8)) return "png";
  if (startsWith(b, n, "\xFF\xD8\xFF", 3)) return "jpeg";
  if (startsWith(b, n, "GIF87a", 6) || startsWith(b, n, "GIF89a", 6)) return "gif";
  if (startsWith(b, n, "BM", 2) && n >= 14) return "bmp";
  return {};
}

}  // namespace vl::inspector
