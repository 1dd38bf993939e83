#pragma once
// Extension point of the module writer: the content that follows one directory entry.
#include <cstdint>
#include <memory>
#include <vector>

namespace vl {

class OrvantoSectionProducer {
public:
  virtual ~OrvantoSectionProducer() = default;
  // The bytes written right after the entry, its check and its 2 spare bytes, i.e. at absolute
  // position base + 143. `base` is the absolute position of the entry, the base of every
  // offset of a table, so the producer can compute the absolute positions it stores.
  virtual std::vector<std::uint8_t> produce(std::uint32_t base) = 0;
};

// A producer that writes the same opaque bytes wherever it is placed.
class OrvantoOpaqueSection : public OrvantoSectionProducer {
public:
  explicit OrvantoOpaqueSection(std::vector<std::uint8_t> bytes) : bytes_(std::move(bytes)) {}
  std::vector<std::uint8_t> produce(std::uint32_t) override { return bytes_; }

private:
  std::vector<std::uint8_t> bytes_;
};

}  // namespace vl
