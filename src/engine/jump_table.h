#pragma once
// First-character jump table of a secondary index: where each first key character starts and ends.
#include <array>
#include <cstdint>
#include <functional>
#include <vector>

namespace vl {

class TOrvanto_DigSearch {
 public:
  // Bytes of an entry number for a table of recordCount records (0 when there are none).
  static unsigned numberWidth(std::uint32_t recordCount);
  // Stored length of a table with J items.
  static std::uint64_t storedLength(unsigned jumpCount, unsigned width);

  void reset(unsigned jumpCount, std::uint32_t recordCount);

  // Reads the stored table through `read` (exact reads). Returns false when fewer than J numbers
  // were present; a table whose numbers do not increase is marked corrupt but still reads.
  bool load(const std::function<void(std::uint8_t *, std::size_t)> &read);

  unsigned jumpCount() const { return jumpCount_; }
  unsigned width() const { return width_; }
  bool corrupt() const { return corrupt_; }
  bool usable() const { return jumpCount_ > 0 && !corrupt_; }
  std::uint32_t start(unsigned char c) const { return start_[c]; }
  std::uint32_t end(unsigned char c) const { return end_[c]; }

  // Builds the stored form for the 1-based start positions of the present characters
  // (0 = absent). Returns J; `out` receives the bytes.
  static unsigned encode(const std::array<std::uint32_t, 256> &starts, std::uint32_t recordCount,
                         std::vector<std::uint8_t> &out);

 private:
  unsigned jumpCount_ = 0;
  unsigned width_ = 1;
  bool corrupt_ = false;
  std::array<std::uint32_t, 256> start_{};
  std::array<std::uint32_t, 256> end_{};
  void finish();
};

}  // namespace vl
