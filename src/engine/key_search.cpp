// Key images of the current record, key search, key ranges and switching the active index.
#include <algorithm>
#include <cstring>

#include "engine/orvanto_table.h"

namespace vl {

using namespace orv;

void TOrvanto_iLow_Table::BuildKey(std::size_t index, const std::uint8_t *record, std::uint8_t *key) const {
  buildKeyImage(indexes_[index], fields_, record, key);
}

void TOrvanto_iLow_Table::BuildKeyForActive(const std::uint8_t *record, std::uint8_t *key) {
  error_.Reset();
  if (active_ == 0) {
    error_.Set(kErrNoActiveIndex, 0, 0);
    raise(kOpIndexRead);
  }
  if (!record) {
    if (!ReadRecord(recordBuffer_.data())) raise(kOpIndexRead);
    record = recordBuffer_.data();
  }
  BuildKey(active_, record, key);
}

TOrvanto_Search_Spec TOrvanto_iLow_Table::SearchSpec(unsigned segments, std::uint32_t partialLength) const {
  return makeSearchSpec(indexes_[active_], fields_, segments, partialLength);
}

bool TOrvanto_iLow_Table::Search(const std::uint8_t *key, const TOrvanto_Search_Spec &spec) {
  if (!IsOpen() || rangeCount_ == 0 || last_ == 0) return false;
  const TOrvanto_iLow_Index &index = indexes_[active_];
  const bool inverse = inverse_;
  SetInverse(false);
  struct Restore {
    TOrvanto_iLow_Table &t;
    bool inverse;
    ~Restore() {
      t.keySearch_ = false;
      try {
        t.SetInverse(inverse);
      } catch (...) {
      }
    }
  } restore{*this, inverse};

  std::uint32_t lo = 1, hi = last_;
  const bool wholeIndex = rangeOffset_ == 0 && (unique_ || rangeCount_ == recordCount_);
  if (index.jumpTable.usable() && wholeIndex && !index.isPrimary()) {
    const unsigned char c = keyFirstCharacter(index, key);
    const std::uint32_t start = index.jumpTable.start(c);
    const std::uint32_t end = index.jumpTable.end(c);
    hi = end != 0 ? std::min(end, last_) : last_;
    if (start != 0) {
      lo = start;
      const TOrvanto_iLow_Field &f = fields_[index.segments[0].column];
      const bool shortcut = spec.segments == 1 && ((spec.partial && spec.partialLength == 1) || f.declaredSize == 1) &&
                            (c == 0 || keyHasSingleCharacter(index, fields_, key));
      if (shortcut && lo <= last_) {
        GoTo(lo);
        return true;
      }
    } else {
      GoTo(hi + 1);
      return false;
    }
  }
  if (lo > hi) {
    GoTo(lo);
    return false;
  }

  keySearch_ = true;
  std::uint8_t *record = recordBuffer_.data();
  std::uint8_t *recordKey = indexes_.keyBuffer.data();
  auto keyAt = [&](bool &prefix) {
    readKeyColumns(record);
    buildKeyImage(index, fields_, record, recordKey);
    return compareKeyImages(index, fields_, spec, key, recordKey, prefix);
  };
  auto corrupt = [&] { throw EOrvanto_Internal_Error(kErrIndexCorrupt, active_, 0); };
  std::uint32_t mid = lo;
  int r = -1;
  while (lo <= hi) {
    mid = lo + (hi - lo) / 2;
    moveOnto(mid);
    bool prefix = false;
    r = keyAt(prefix);
    if (prefix) {
      if (mid == 1) {
        r = 0;
      } else {
        const TOrvanto_Index_Entry noted = entry_;
        moveOnto(mid - 1);
        bool prefix2 = false;
        const int r2 = keyAt(prefix2);
        if (r2 != 0) {
          moveOnto(mid);
          r = 0;
        } else if (!prefix2) {
          mid = mid - 1;
          r = 0;
        } else {
          moveOnto(mid);
          (void)noted;
          r = -1;
        }
      }
    }
    if (r == 0) {
      if (!entry_.head) {
        if (entry_.duplicates >= mid) corrupt();
        mid -= entry_.duplicates;
      }
      break;
    }
    if (r > 0) {
      if (!entry_.head) {
        if (entry_.duplicates >= mid) corrupt();
        mid -= entry_.duplicates;
        moveOnto(mid);
      }
      const std::uint64_t next = std::uint64_t(mid) + entry_.duplicates + 1;
      if (next > 0xFFFFFFFFull) corrupt();
      lo = static_cast<std::uint32_t>(next);
    } else {
      std::uint32_t newHi = mid;
      if (!entry_.head) {
        if (entry_.duplicates > mid) corrupt();
        newHi = mid - entry_.duplicates;
      }
      if (!prefix || newHi >= hi) {
        if (newHi == 0) break;
        newHi -= 1;
      }
      hi = newHi;
    }
  }
  keySearch_ = false;
  GoTo(r > 0 ? mid + 1 : mid);
  return r == 0;
}

bool TOrvanto_iLow_Table::FindKey(unsigned segments, std::uint32_t partialLength, const std::uint8_t *source,
                                  bool keyBuilt, std::uint8_t *destination) {
  if (!IsOpen() || active_ == 0 || segments == 0) return false;
  const TOrvanto_Search_Spec spec = SearchSpec(segments, partialLength);
  const std::uint8_t *key = source;
  if (!keyBuilt) {
    BuildKey(active_, source, keyScratch_.data());
    key = keyScratch_.data();
  }
  const bool found = Search(key, spec);
  if (found && destination) ReadRecord(destination);
  return found;
}

void TOrvanto_iLow_Table::SetKeyRange(bool keysBuilt, const std::uint8_t *startKey, unsigned startSegments,
                                      bool startInclusive, const std::uint8_t *endKey, unsigned endSegments,
                                      bool endInclusive) {
  error_.Reset();
  if (active_ == 0) {
    error_.Set(kErrNoActiveIndex, 0, 0);
    return;
  }
  SetInverse(false);
  SetUnique(false);
  WholeTable();
  if (rangeCount_ == 0) return;
  std::vector<std::uint8_t> built(indexes_[active_].keyLength);
  auto keyOf = [&](const std::uint8_t *source) -> const std::uint8_t * {
    if (keysBuilt) return source;
    BuildKey(active_, source, built.data());
    return built.data();
  };
  // Positions of the found group, or the resting position of a search that did not find the key.
  auto bound = [&](const std::uint8_t *source, unsigned segments, std::uint64_t &groupFirst, std::uint64_t &groupLast) {
    const bool found = Search(keyOf(source), SearchSpec(segments, 0));
    if (found && state_ == orvCsOnRecord) {
      groupFirst = position_;
      groupLast = std::min<std::uint64_t>(std::uint64_t(position_) + (entry_.head ? entry_.duplicates : 0), last_);
      return true;
    }
    groupFirst = groupLast = state_ == orvCsOnRecord ? position_ : std::uint64_t(last_) + 1;
    return false;
  };
  std::uint64_t e = recordCount_;
  if (endKey) {
    std::uint64_t groupFirst, groupLast;
    if (bound(endKey, endSegments, groupFirst, groupLast)) e = endInclusive ? groupLast : groupFirst - 1;
    else e = groupFirst - 1;
  }
  std::uint64_t s = 1;
  if (startKey) {
    std::uint64_t groupFirst, groupLast;
    if (bound(startKey, startSegments, groupFirst, groupLast)) s = startInclusive ? groupFirst : groupLast + 1;
    else s = groupFirst;
  }
  e = std::min<std::uint64_t>(e, recordCount_);
  if (e < s) {
    GoTo(0);
    setRangeRaw(0, 0);
  } else {
    setRangeRaw(static_cast<std::uint32_t>(s - 1), static_cast<std::uint32_t>(e - s + 1));
    GoTo(0);
  }
  Prior();
}

bool TOrvanto_iLow_Table::refindByAddress(std::uint32_t address, std::uint32_t low, std::uint32_t high,
                                          std::uint32_t &found) {
  while (low <= high) {
    const std::uint32_t mid = low + (high - low) / 2;
    const std::uint32_t a = ReadEntry(mid).address;
    if (a == address) {
      found = mid;
      return true;
    }
    if (a < address) low = mid + 1;
    else {
      if (mid == 0) break;
      high = mid - 1;
    }
  }
  return false;
}

bool TOrvanto_iLow_Table::SwitchIndex(std::uint16_t n) {
  error_.Reset();
  if (!IsOpen() || rangeCount_ == 0 || n == active_) return true;
  if (n >= indexes_.count()) {
    error_.Set(kErrNoSuchIndex, 0, n);
    return false;
  }
  if (indexes_.count() == 1) {
    active_ = n;
    return true;
  }
  std::uint32_t address = 0;
  if (refind_) {
    if (Position() < 1) GoTo(1);
    else if (Position() > last_) GoTo(last_);
    address = entry_.address;
    // A record that fails its check leaves a cleared buffer, whose key is then not found.
    ReadRecord(recordBuffer_.data());
    error_.Reset();
  }
  inverse_ = false;
  unique_ = false;
  setRangeRaw(0, recordCount_);
  active_ = n;
  if (!refind_) {
    First();
    return true;
  }
  std::uint32_t target = 0;
  std::uint32_t section = 0;
  bool ok = false;
  if (n == 0) {
    ok = refindByAddress(address, 1, last_, target);
    section = 0;
  } else {
    std::vector<std::uint8_t> key(indexes_[n].keyLength);
    BuildKey(n, recordBuffer_.data(), key.data());
    if (!Search(key.data(), SearchSpec(0, 0))) {
      section = 1;
    } else if (entry_.address == address) {
      ok = true;
      target = position_;
    } else if (entry_.duplicates == 0 || !entry_.head) {
      section = 2;
    } else {
      const std::uint32_t head = position_;
      const std::uint64_t end = std::min<std::uint64_t>(std::uint64_t(head) + entry_.duplicates, last_);
      ok = refindByAddress(address, head, static_cast<std::uint32_t>(end), target);
      section = 3;
    }
  }
  if (!ok) {
    error_.Set(kErrIndexOutOfSync, section, 0);
    target = 1;
  }
  entryValid_ = false;
  GoTo(target);
  return ok;
}

void TOrvanto_iLow_Table::SwitchIndexOrRaise(std::uint16_t n) {
  if (SwitchIndex(n)) return;
  if (error_.code == kErrIndexOutOfSync) {
    First();
    return;
  }
  raise(kOpIndexSwitch);
}

}  // namespace vl
