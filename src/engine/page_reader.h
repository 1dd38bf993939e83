#pragma once
// Positioning and exact reads for a table's own handle, through a cache of file pages, so that
// cursor moves and key searches that jump between the entry arrays and the records do not go
// to the file each time. Pages are read on first use; a read past the end of the file (also a
// file truncated after opening) raises EOrvanto_IO_Error 123 with the requested byte count.
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "engine/orvanto_file.h"

namespace vl {

class OrvantoPageReader {
 public:
  static constexpr std::size_t kPageSize = 4096;
  static constexpr std::size_t kSlots = 4096;  // at most 16 MiB of pages per handle

  std::uint32_t open(const std::string &path);
  void close();
  bool isOpen() const { return file_.isOpen(); }
  std::uint64_t size() const { return file_.size(); }

  void seek(std::uint64_t offset);
  std::uint64_t position() const { return position_; }
  void read(void *buffer, std::size_t count);
  // Reads `count` bytes at `offset` straight from the file, past the page cache (long sequential
  // reads such as verification); leaves the position after them.
  void readDirect(std::uint64_t offset, void *buffer, std::size_t count);

 private:
  struct Slot {
    std::uint64_t page = ~std::uint64_t(0);
    std::uint32_t valid = 0;
    std::unique_ptr<std::uint8_t[]> bytes;
  };
  const Slot &page(std::uint64_t number, std::size_t count);

  OrvantoFile file_;
  std::uint64_t position_ = 0;
  std::vector<Slot> slots_;
};

}  // namespace vl
