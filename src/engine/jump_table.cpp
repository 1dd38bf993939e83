#include "engine/jump_table.h"

#include <bit>

#include "engine/table_format.h"

namespace vl {

unsigned TOrvanto_DigSearch::numberWidth(std::uint32_t recordCount) {
  return static_cast<unsigned>((std::bit_width(recordCount) + 7) / 8);
}

std::uint64_t TOrvanto_DigSearch::storedLength(unsigned jumpCount, unsigned width) {
  if (jumpCount == 0) return 0;
  if (jumpCount <= 32) return std::uint64_t(jumpCount) * (width + 1);
  return 32 + std::uint64_t(jumpCount) * width;
}

void TOrvanto_DigSearch::reset(unsigned jumpCount, std::uint32_t recordCount) {
  jumpCount_ = jumpCount;
  width_ = numberWidth(recordCount);
  corrupt_ = false;
  start_.fill(0);
  end_.fill(0);
}

bool TOrvanto_DigSearch::load(const std::function<void(std::uint8_t *, std::size_t)> &read) {
  unsigned numbers = 0;
  std::uint8_t item[5] = {};
  if (jumpCount_ <= 32) {
    for (; numbers < jumpCount_; ++numbers) {
      read(item, width_ + 1);
      start_[item[0]] = orv::readLe(item + 1, width_);
    }
  } else {
    for (unsigned g = 0; g < 32 && numbers < jumpCount_; ++g) {
      std::uint8_t bits = 0;
      read(&bits, 1);
      for (unsigned k = 0; k < 8 && numbers < jumpCount_; ++k) {
        if (!(bits & (1u << k))) continue;
        read(item, width_);
        start_[8 * g + k] = orv::readLe(item, width_);
        ++numbers;
      }
    }
  }
  if (numbers != jumpCount_) return false;
  finish();
  return true;
}

void TOrvanto_DigSearch::finish() {
  std::uint32_t previous = 0;
  bool any = false;
  for (unsigned c = 0; c < 256; ++c) {
    if (start_[c] == 0) continue;
    if (any && start_[c] <= previous) {
      corrupt_ = true;
      return;
    }
    previous = start_[c];
    any = true;
  }
  end_[255] = 0;
  for (int c = 254; c >= 0; --c) end_[c] = start_[c + 1] != 0 ? start_[c + 1] - 1 : end_[c + 1];
}

unsigned TOrvanto_DigSearch::encode(const std::array<std::uint32_t, 256> &starts, std::uint32_t recordCount,
                                    std::vector<std::uint8_t> &out) {
  const unsigned width = numberWidth(recordCount);
  unsigned count = 0;
  for (std::uint32_t s : starts) count += s != 0;
  out.clear();
  std::uint8_t number[4];
  if (count <= 32) {
    for (unsigned c = 0; c < 256; ++c) {
      if (!starts[c]) continue;
      out.push_back(static_cast<std::uint8_t>(c));
      orv::writeLe(number, starts[c], width);
      out.insert(out.end(), number, number + width);
    }
  } else {
    for (unsigned g = 0; g < 32; ++g) {
      std::uint8_t bits = 0;
      for (unsigned k = 0; k < 8; ++k) bits |= starts[8 * g + k] ? (1u << k) : 0;
      out.push_back(bits);
      for (unsigned k = 0; k < 8; ++k) {
        if (!starts[8 * g + k]) continue;
        orv::writeLe(number, starts[8 * g + k], width);
        out.insert(out.end(), number, number + width);
      }
    }
  }
  return count;
}

}  // namespace vl
