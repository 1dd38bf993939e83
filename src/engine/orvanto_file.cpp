#include "engine/orvanto_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <limits>
#include <utility>

#include "engine/orvanto_bytes.h"
#include "engine/orvanto_error.h"

namespace vl {

namespace {
constexpr std::size_t kBufferSize = 64 * 1024;
}

OrvantoFile::~OrvantoFile() { close(); }

OrvantoFile::OrvantoFile(OrvantoFile &&other) noexcept { *this = std::move(other); }

OrvantoFile &OrvantoFile::operator=(OrvantoFile &&other) noexcept {
  if (this != &other) {
    close();
    fd_ = std::exchange(other.fd_, -1);
    size_ = std::exchange(other.size_, 0);
    position_ = std::exchange(other.position_, 0);
    buffer_ = std::move(other.buffer_);
    other.buffer_.clear();
    bufferStart_ = std::exchange(other.bufferStart_, 0);
  }
  return *this;
}

std::uint32_t OrvantoFile::open(const std::string &path) {
  close();
  const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return static_cast<std::uint32_t>(errno);
  struct stat info {};
  if (::fstat(fd, &info) != 0) {
    const int error = errno;
    ::close(fd);
    return static_cast<std::uint32_t>(error);
  }
  if (!S_ISREG(info.st_mode)) {
    ::close(fd);
    return static_cast<std::uint32_t>(S_ISDIR(info.st_mode) ? EISDIR : EINVAL);
  }
  ::posix_fadvise(fd, 0, 0, POSIX_FADV_RANDOM);
  fd_ = fd;
  size_ = static_cast<std::uint64_t>(info.st_size);
  position_ = 0;
  return 0;
}

void OrvantoFile::close() {
  if (fd_ >= 0) ::close(fd_);
  fd_ = -1;
  size_ = 0;
  position_ = 0;
  buffer_.clear();
  bufferStart_ = 0;
}

void OrvantoFile::seek(std::uint64_t offset) {
  if (fd_ < 0) throw EOrvanto_IO_Error(orv::kIoPositioning, static_cast<std::uint32_t>(offset), EBADF);
  if (offset > static_cast<std::uint64_t>(std::numeric_limits<off_t>::max()))
    throw EOrvanto_IO_Error(orv::kIoPositioning, static_cast<std::uint32_t>(offset), EINVAL);
  position_ = offset;
}

void OrvantoFile::seekRelative(std::int64_t delta) {
  const auto target = static_cast<std::int64_t>(position_) + delta;
  if (target < 0) throw EOrvanto_IO_Error(orv::kIoPositioning, static_cast<std::uint32_t>(target), EINVAL);
  seek(static_cast<std::uint64_t>(target));
}

bool OrvantoFile::fill(std::uint64_t offset) {
  buffer_.resize(kBufferSize);
  std::size_t got = 0;
  while (got < kBufferSize) {
    const ssize_t n = ::pread(fd_, buffer_.data() + got, kBufferSize - got, static_cast<off_t>(offset + got));
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) {
      buffer_.resize(got);
      bufferStart_ = offset;
      return false;
    }
    if (n == 0) break;
    got += static_cast<std::size_t>(n);
  }
  buffer_.resize(got);
  bufferStart_ = offset;
  return true;
}

void OrvantoFile::read(void *out, std::size_t count) {
  if (count == 0) return;
  const auto fail = [&](std::uint32_t error) {
    throw EOrvanto_IO_Error(orv::kIoReading, static_cast<std::uint32_t>(count), error);
  };
  if (fd_ < 0) fail(EBADF);
  auto *dest = static_cast<std::uint8_t *>(out);
  std::size_t done = 0;
  while (done < count) {
    const std::uint64_t at = position_ + done;
    if (at >= bufferStart_ && at < bufferStart_ + buffer_.size()) {
      const std::size_t offset = static_cast<std::size_t>(at - bufferStart_);
      const std::size_t n = std::min(count - done, buffer_.size() - offset);
      std::memcpy(dest + done, buffer_.data() + offset, n);
      done += n;
      continue;
    }
    if (count - done >= kBufferSize) {  // large reads bypass the buffer
      const ssize_t n = ::pread(fd_, dest + done, count - done, static_cast<off_t>(at));
      if (n < 0 && errno == EINTR) continue;
      if (n < 0) fail(static_cast<std::uint32_t>(errno));
      if (n == 0) fail(orv::lastOsError());
      done += static_cast<std::size_t>(n);
      continue;
    }
    if (!fill(at)) fail(static_cast<std::uint32_t>(errno));
    if (buffer_.empty()) fail(orv::lastOsError());  // end of file
  }
  position_ += count;
}

std::vector<std::uint8_t> OrvantoFile::readBytes(std::size_t count) {
  std::vector<std::uint8_t> bytes(count);
  read(bytes.data(), count);
  return bytes;
}

std::uint8_t OrvantoFile::readByte() {
  std::uint8_t b = 0;
  read(&b, 1);
  return b;
}

std::uint16_t OrvantoFile::readWord() {
  std::uint8_t b[2];
  read(b, 2);
  return orv::getWord(b);
}

std::uint32_t OrvantoFile::readDword() {
  std::uint8_t b[4];
  read(b, 4);
  return orv::getDword(b);
}

}  // namespace vl
