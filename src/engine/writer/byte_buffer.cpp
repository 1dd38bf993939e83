#include "engine/writer/byte_buffer.h"

#include <stdexcept>
#include <string>

#include "engine/orvanto_bytes.h"

namespace vl {

void OrvantoByteBuffer::putWord(std::uint16_t v) {
  bytes_.resize(bytes_.size() + 2);
  orv::putWord(bytes_.data() + bytes_.size() - 2, v);
}

void OrvantoByteBuffer::putDword(std::uint32_t v) {
  bytes_.resize(bytes_.size() + 4);
  orv::putDword(bytes_.data() + bytes_.size() - 4, v);
}

void OrvantoByteBuffer::putBytes(const void *data, std::size_t length) {
  const auto *p = static_cast<const std::uint8_t *>(data);
  bytes_.insert(bytes_.end(), p, p + length);
}

void OrvantoByteBuffer::putFixedText(std::string_view text, std::size_t fieldSize) {
  if (text.size() >= fieldSize)
    throw std::length_error("text of " + std::to_string(text.size()) + " characters does not fit a field of " +
                            std::to_string(fieldSize) + " bytes");
  putBytes(text.data(), text.size());
  putZeros(fieldSize - text.size());
}

void OrvantoByteBuffer::patchWord(std::size_t offset, std::uint16_t v) { orv::putWord(&bytes_.at(offset + 1) - 1, v); }

void OrvantoByteBuffer::patchDword(std::size_t offset, std::uint32_t v) {
  orv::putDword(&bytes_.at(offset + 3) - 3, v);
}

}  // namespace vl
