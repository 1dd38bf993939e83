#pragma once
// Positioning and exact reads on one read-only file handle, with a small read-ahead buffer.
// Failures raise EOrvanto_IO_Error: 122 for positioning (detail = target), 123 for a read that
// delivers fewer bytes than requested (detail = requested count).
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace vl {

class OrvantoFile {
public:
  OrvantoFile() = default;
  ~OrvantoFile();
  OrvantoFile(const OrvantoFile &) = delete;
  OrvantoFile &operator=(const OrvantoFile &) = delete;
  OrvantoFile(OrvantoFile &&other) noexcept;
  OrvantoFile &operator=(OrvantoFile &&other) noexcept;

  // Opens an existing regular file for reading (others may read it too), hinting random access.
  // Returns 0, or the platform error; a handle already held is closed first.
  std::uint32_t open(const std::string &path);
  void close();
  bool isOpen() const { return fd_ >= 0; }

  // Size taken when the file was opened.
  std::uint64_t size() const { return size_; }
  std::uint64_t position() const { return position_; }

  void seek(std::uint64_t offset);
  void seekRelative(std::int64_t delta);

  // Reads exactly `count` bytes at the current position and advances; 0 bytes does nothing.
  void read(void *buffer, std::size_t count);
  void readAt(std::uint64_t offset, void *buffer, std::size_t count) {
    seek(offset);
    read(buffer, count);
  }
  std::vector<std::uint8_t> readBytes(std::size_t count);
  std::uint8_t readByte();
  std::uint16_t readWord();
  std::uint32_t readDword();

private:
  bool fill(std::uint64_t offset);

  int fd_ = -1;
  std::uint64_t size_ = 0;
  std::uint64_t position_ = 0;
  std::vector<std::uint8_t> buffer_;  // bytes of the file from bufferStart_
  std::uint64_t bufferStart_ = 0;
};

}  // namespace vl
