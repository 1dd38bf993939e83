// Verify: the check values of every index block, of every record (when they can be checked
// without blob layout) and the table check value.
#include <algorithm>
#include <cmath>
#include <vector>

#include "engine/crc.h"
#include "engine/orvanto_bytes.h"
#include "engine/orvanto_table.h"

namespace vl {

using namespace orv;

namespace {

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
    const std::uint8_t percent = total_ == 0 ? 100
                                 : static_cast<std::uint8_t>(std::min<double>(100.0, std::round(100.0 * double(done_) / double(total_))));
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
  std::uint8_t last_ = 0;
  bool proceed_ = true;
};

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
    std::vector<std::uint8_t> chunk(kVerifyChunk);

    // Index blocks.
    for (std::size_t i = 0; i < indexes_.count() && ok && report.proceed(); ++i) {
      const TOrvanto_iLow_Index &index = indexes_[i];
      const std::uint64_t entries = std::uint64_t(index.entryWidth()) * recordCount_;
      std::uint64_t left = entries + TOrvanto_DigSearch::storedLength(index.jumpTable.jumpCount(), index.jumpTable.width());
      std::uint32_t crc = kIndexStart + static_cast<std::uint32_t>(i);
      file_.seek(absolute(index.blockOffset) + 1);
      std::uint64_t counted = 0;
      while (left > 0 && report.proceed()) {
        const std::size_t n = static_cast<std::size_t>(std::min<std::uint64_t>(left, kVerifyChunk));
        file_.read(chunk.data(), n);
        crc = orvCrc(crc, chunk.data(), n);
        left -= n;
        const std::uint64_t add = std::min<std::uint64_t>(n, entries - std::min(entries, counted));
        counted += n;
        report.add(add);
      }
      if (!report.proceed()) break;
      std::uint8_t stored[4];
      file_.read(stored, 4);
      ok = getDword(stored) == crc;
    }

    // Records in primary order.
    const std::uint32_t k = CheckWidth();
    const bool perRecord = k > 0 && !fields_.hasBlobs();
    const std::uint32_t n = sizes_.N;
    const std::uint32_t bitmap = fields_.bitmapSize();
    std::uint32_t tableCrc = kTableCrcStart;
    std::vector<std::uint8_t> head(n + bitmap);
    const TOrvanto_iLow_Index &primary = indexes_[0];
    const unsigned width = primary.entryWidth();
    // Addresses come from the primary entry array in batches: record r ends where r + 1 begins.
    constexpr std::uint32_t kBatch = 4096;
    std::vector<std::uint8_t> entryBytes;
    std::vector<std::uint32_t> addresses;
    std::uint32_t batchStart = 0;
    auto addressOf = [&](std::uint32_t r) -> std::uint32_t {
      if (r >= recordCount_) return r1_;
      if (addresses.empty() || r < batchStart || r >= batchStart + addresses.size()) {
        batchStart = r;
        const std::uint32_t count = std::min(kBatch, recordCount_ - r);
        entryBytes.resize(std::size_t(count) * width);
        file_.seek(absolute(primary.blockOffset) + 1 + std::uint64_t(r) * width);
        file_.read(entryBytes.data(), entryBytes.size());
        addresses.resize(count);
        for (std::uint32_t i = 0; i < count; ++i) addresses[i] = primary.decode(entryBytes.data() + std::size_t(i) * width).address;
      }
      return addresses[r - batchStart];
    };
    for (std::uint32_t r = 0; r < recordCount_ && ok && report.proceed(); ++r) {
      const std::uint32_t a = addressOf(r);
      const std::uint32_t e = r + 1 < recordCount_ && r + 1 < batchStart + addresses.size() ? addresses[r + 1 - batchStart]
                              : addressOf(r + 1);
      if (a < r0_ || a >= r1_ || e < a || e > r1_ || std::uint64_t(e - a) < std::uint64_t(n) + bitmap + k) {
        ok = false;
        break;
      }
      file_.seek(absolute(a));
      file_.read(head.data(), head.size());
      report.add(std::uint64_t(bitmap) + n + k);
      std::uint32_t recordCrc = (a + n) ^ kRecordStart;
      std::uint64_t body = std::uint64_t(e - a) - n - bitmap - k;
      while (body > 0) {
        const std::size_t c = static_cast<std::size_t>(std::min<std::uint64_t>(body, kVerifyChunk));
        file_.read(chunk.data(), c);
        tableCrc = orvCrc(tableCrc, chunk.data(), c);
        if (perRecord) recordCrc = orvCrc(recordCrc, chunk.data(), c);
        body -= c;
        if (!report.add(c)) break;
      }
      if (!report.proceed()) break;
      tableCrc = orvCrc(tableCrc, head.data(), head.size());
      std::uint8_t stored[4] = {0, 0, 0, 0};
      if (k > 0) {
        file_.read(stored, k);
        tableCrc = orvCrc(tableCrc, stored, k);
      }
      if (perRecord) {
        recordCrc = orvCrc(recordCrc, head.data(), head.size());
        if ((recordCrc & checkMask(k)) != (getDword(stored) & checkMask(k))) ok = false;
      }
    }
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
