#pragma once
// A growing little-endian byte image, for building file blocks.
#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

namespace vl {

class OrvantoByteBuffer {
public:
  std::size_t size() const { return bytes_.size(); }
  const std::vector<std::uint8_t> &bytes() const { return bytes_; }
  std::vector<std::uint8_t> take() { return std::move(bytes_); }

  void putByte(std::uint8_t v) { bytes_.push_back(v); }
  void putWord(std::uint16_t v);
  void putDword(std::uint32_t v);
  void putBytes(const void *data, std::size_t length);
  void putBytes(const std::vector<std::uint8_t> &data) { putBytes(data.data(), data.size()); }
  void putZeros(std::size_t count) { bytes_.insert(bytes_.end(), count, 0); }
  // cp1252 text in a field of `fieldSize` bytes, NUL-padded; std::length_error when the text
  // has fieldSize characters or more.
  void putFixedText(std::string_view text, std::size_t fieldSize);

  void patchWord(std::size_t offset, std::uint16_t v);
  void patchDword(std::size_t offset, std::uint32_t v);

private:
  std::vector<std::uint8_t> bytes_;
};

}  // namespace vl
