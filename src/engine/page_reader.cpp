#include "engine/page_reader.h"

#include <algorithm>
#include <cerrno>
#include <cstring>

#include "engine/orvanto_error.h"
#include "engine/orvanto_format.h"

namespace vl {

std::uint32_t OrvantoPageReader::open(const std::string &path) {
  close();
  return file_.open(path);
}

void OrvantoPageReader::close() {
  file_.close();
  slots_.clear();
  position_ = 0;
}

void OrvantoPageReader::seek(std::uint64_t offset) {
  if (!file_.isOpen()) throw EOrvanto_IO_Error(orv::kIoPositioning, static_cast<std::uint32_t>(offset), EBADF);
  position_ = offset;
}

const OrvantoPageReader::Slot &OrvantoPageReader::page(std::uint64_t number, std::size_t count) {
  if (slots_.empty()) slots_.resize(kSlots);
  Slot &slot = slots_[number % kSlots];
  if (slot.page == number) return slot;
  const std::uint64_t start = number * kPageSize;
  const std::uint64_t size = file_.size();
  if (start >= size) throw EOrvanto_IO_Error(orv::kIoReading, static_cast<std::uint32_t>(count), 0);
  const auto length = static_cast<std::uint32_t>(std::min<std::uint64_t>(kPageSize, size - start));
  if (!slot.bytes) slot.bytes = std::make_unique<std::uint8_t[]>(kPageSize);
  slot.page = ~std::uint64_t(0);
  try {
    file_.readAt(start, slot.bytes.get(), length);
  } catch (const EOrvanto_IO_Error &e) {
    throw EOrvanto_IO_Error(orv::kIoReading, static_cast<std::uint32_t>(count), e.osError());
  }
  slot.page = number;
  slot.valid = length;
  return slot;
}

void OrvantoPageReader::read(void *buffer, std::size_t count) {
  if (count == 0) return;
  if (!file_.isOpen()) throw EOrvanto_IO_Error(orv::kIoReading, static_cast<std::uint32_t>(count), EBADF);
  auto *out = static_cast<std::uint8_t *>(buffer);
  std::size_t done = 0;
  while (done < count) {
    const std::uint64_t at = position_ + done;
    const Slot &s = page(at / kPageSize, count);
    const std::size_t offset = static_cast<std::size_t>(at % kPageSize);
    if (offset >= s.valid) throw EOrvanto_IO_Error(orv::kIoReading, static_cast<std::uint32_t>(count), 0);
    const std::size_t n = std::min<std::size_t>(count - done, s.valid - offset);
    std::memcpy(out + done, s.bytes.get() + offset, n);
    done += n;
  }
  position_ += count;
}

void OrvantoPageReader::readDirect(std::uint64_t offset, void *buffer, std::size_t count) {
  if (count == 0) return;
  if (!file_.isOpen()) throw EOrvanto_IO_Error(orv::kIoReading, static_cast<std::uint32_t>(count), EBADF);
  if (offset + count > file_.size()) throw EOrvanto_IO_Error(orv::kIoReading, static_cast<std::uint32_t>(count), 0);
  file_.readAt(offset, buffer, count);
  position_ = offset + count;
}

}  // namespace vl
