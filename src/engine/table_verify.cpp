// Verify: the check values of every index block, of every record (when they can be checked
// without blob layout) and the table check value.
#include <algorithm>
#include <cmath>
#include <cstring>
#include <memory>
#include <vector>

#include "engine/crc.h"
#include "engine/orvanto_bytes.h"
#include "engine/orvanto_table.h"

namespace vl {

using namespace orv;

namespace {

// Percentages of done / total, reported only when they change.
class Progress {
 public:
  Progress(const TOrvanto_Progress &callback, void *context, std::uint64_t total)
      : callback_(callback), context_(context), total_(total) {}
  bool report(std::uint8_t percent) {
    if (callback_) callback_(context_, percent, proceed_);
    return proceed_;
  }
  bool add(std::uint64_t bytes) {
    done_ += bytes;
    if (done_ < next_) return proceed_;
    const std::uint8_t percent =
        total_ == 0 ? 100 : static_cast<std::uint8_t>(std::min<double>(100.0, std::floor(100.0 * double(done_) / double(total_))));
    // The next byte count at which the percentage changes.
    next_ = total_ == 0 ? ~std::uint64_t(0) : static_cast<std::uint64_t>(std::ceil(double(total_) * (percent + 1) / 100.0));
    if (percent != last_) {
      last_ = percent;
      return report(percent);
    }
    return proceed_;
  }
  bool proceed() const { return proceed_; }

 private:
  const TOrvanto_Progress &callback_;
  void *context_;
  std::uint64_t total_;
  std::uint64_t done_ = 0;
  std::uint64_t next_ = 0;
  std::uint8_t last_ = 0;
  bool proceed_ = true;
};

constexpr std::size_t kWindow = 256 << 10;  // bytes read at a time

}  // namespace

bool TOrvanto_iLow_Table::Verify(const TOrvanto_Progress &progress, void *context) {
  if (!IsOpen()) return false;
  if (rangeCount_ == 0 || last_ == 0) return true;
  const TOrvanto_Saved_State saved = SaveState();
  const bool refind = refind_;
  bool ok = true;
  std::uint64_t total = std::uint64_t(r1_ > r0_ ? r1_ - r0_ : 0);
  for (std::size_t i = 0; i < indexes_.count(); ++i) total += std::uint64_t(indexes_[i].entryWidth()) * recordCount_;
  Progress report(progress, context, total);
  try {
    refind_ = true;
    SwitchIndex(0);
    SetInverse(false);
    SetUnique(false);
    WholeTable();
    report.report(0);
    // One read buffer for the index blocks and the records (with room for the rotation below),
    // not initialised: every byte used is read first.
    const std::uint32_t headSize = sizes_.N + fields_.bitmapSize();
    const auto window = std::make_unique_for_overwrite<std::uint8_t[]>(kWindow + headSize);

    // Index blocks: entry array and jump table under one check.
    for (std::size_t i = 0; i < indexes_.count() && ok && report.proceed(); ++i) {
      const TOrvanto_iLow_Index &index = indexes_[i];
      const std::uint64_t entries = std::uint64_t(index.entryWidth()) * recordCount_;
      const std::uint64_t length =
          entries + TOrvanto_DigSearch::storedLength(index.jumpTable.jumpCount(), index.jumpTable.width());
      std::uint32_t crc = kIndexStart + static_cast<std::uint32_t>(i);
      std::uint64_t at = absolute(index.blockOffset) + 1, done = 0;
      while (done < length && report.proceed()) {
        const std::size_t n = static_cast<std::size_t>(std::min<std::uint64_t>(length - done, kWindow));
        file_.readDirect(at + done, window.get(), n);
        crc = orvCrc(crc, window.get(), n);
        report.add(std::min<std::uint64_t>(n, entries - std::min(entries, done)));
        done += n;
      }
      if (!report.proceed()) break;
      std::uint8_t stored[4];
      file_.seek(at + length);
      file_.read(stored, 4);
      ok = getDword(stored) == crc;
    }

    // Records in primary order, from a window over the record area.
    const std::uint32_t k = CheckWidth();
    const bool perRecord = k > 0 && !fields_.hasBlobs();
    const std::uint32_t n = sizes_.N;
    std::uint32_t tableCrc = kTableCrcStart;
    const TOrvanto_iLow_Index &primary = indexes_[0];
    const unsigned width = primary.entryWidth();

    // Addresses come from the primary entry array in batches: record r ends where r + 1 begins.
    constexpr std::uint32_t kBatch = 8192;
    std::vector<std::uint8_t> entryBytes;
    std::vector<std::uint32_t> addresses;
    std::uint32_t batchStart = 0;
    auto addressOf = [&](std::uint32_t r) -> std::uint32_t {
      if (r >= recordCount_) return r1_;
      if (addresses.empty() || r < batchStart || r >= batchStart + addresses.size()) {
        batchStart = r;
        const std::uint32_t count = std::min(kBatch, recordCount_ - r);
        entryBytes.resize(std::size_t(count) * width);
        file_.readDirect(absolute(primary.blockOffset) + 1 + std::uint64_t(r) * width, entryBytes.data(), entryBytes.size());
        addresses.resize(count);
        for (std::uint32_t i = 0; i < count; ++i)
          addresses[i] = primary.decode(entryBytes.data() + std::size_t(i) * width).address;
      }
      return addresses[r - batchStart];
    };

    // Both checks run over each record rotated: body, then sizes and bitmap (the head), then the
    // stored check. The head has the same length in every record, so the rotation is made in
    // place: the window holds the file's bytes from `windowStart` at `area`, and in the view
    // `rotated` = area + headSize each body stays where it was read while the gap after it (its
    // stored check, then the next record's head) is rewritten as its head and its stored check.
    // The record check is then one crc32 call over a record's body and head, and the table check
    // one call over all records of a window.
    std::uint8_t *const area = window.get(), *const rotated = area + headSize;
    std::vector<std::uint8_t> large, head(headSize), nextHead(headSize);
    std::uint64_t windowStart = 0, windowLength = 0;
    std::size_t checkedFrom = 0, checkedTo = 0;  // rotated bytes not yet in the table check
    auto flush = [&] {
      tableCrc = orvCrc(tableCrc, rotated + checkedFrom, checkedTo - checkedFrom);
      checkedFrom = checkedTo;
    };
    auto matches = [&](std::uint32_t recordCrc, const std::uint8_t *stored) {
      std::uint8_t value[4] = {0, 0, 0, 0};
      std::memcpy(value, stored, k);
      return (recordCrc & checkMask(k)) == (getDword(value) & checkMask(k));
    };
    std::uint32_t a = recordCount_ ? addressOf(0) : r1_;
    for (std::uint32_t r = 0; r < recordCount_ && ok && report.proceed(); ++r) {
      const std::uint32_t e = addressOf(r + 1);
      if (a < r0_ || a >= r1_ || e < a || e > r1_ || std::uint64_t(e - a) < std::uint64_t(headSize) + k) {
        ok = false;
        break;
      }
      const std::uint32_t size = e - a;
      const std::uint32_t bodySize = size - headSize - k;
      const std::uint32_t recordStart = (a + n) ^ kRecordStart;
      if (size > kWindow) {
        flush();
        windowLength = 0;
        large.resize(size);
        file_.readDirect(absolute(a), large.data(), size);
        const std::uint8_t *body = large.data() + headSize, *stored = body + bodySize;
        tableCrc = orvCrc(orvCrc(orvCrc(tableCrc, body, bodySize), large.data(), headSize), stored, k);
        if (perRecord) ok = matches(orvCrc(orvCrc(recordStart, body, bodySize), large.data(), headSize), stored);
      } else {
        if (a < windowStart || std::uint64_t(a) + size > windowStart + windowLength) {
          flush();
          windowStart = a;
          windowLength = std::min<std::uint64_t>(kWindow, r1_ - a);
          file_.readDirect(absolute(a), area, static_cast<std::size_t>(windowLength));
          std::memcpy(head.data(), area, headSize);
          checkedFrom = checkedTo = 0;
        }
        const std::size_t at = static_cast<std::size_t>(a - windowStart);
        std::uint8_t *gap = rotated + at + bodySize;
        std::uint8_t stored[4];
        std::memcpy(stored, gap, k);
        if (at + size + headSize <= windowLength) std::memcpy(nextHead.data(), area + at + size, headSize);
        std::memcpy(gap, head.data(), headSize);
        std::memcpy(gap + headSize, stored, k);
        head.swap(nextHead);
        checkedTo = at + size;
        if (perRecord) ok = matches(orvCrc(recordStart, rotated + at, bodySize + headSize), stored);
      }
      report.add(size);
      a = e;
    }
    flush();
    ok = ok && report.proceed() && tableCrc == getDword(header_.data() + 2);
  } catch (const EOrvanto_IO_Error &e) {
    recordIoError(error_, e);
    ok = false;
  } catch (const EOrvanto_Internal_Error &e) {
    recordInternalError(error_, e);
    ok = false;
  }
  report.report(101);
  try {
    RestoreState(saved, std::nullopt);
  } catch (const EOrvanto_IO_Error &) {
  } catch (const EOrvanto_Internal_Error &) {
  }
  refind_ = refind;
  return ok;
}

}  // namespace vl
