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

// Binary search over the range for the first entry whose key is not below `key` (lastMatch
// false) or the last entry whose key is not above it (lastMatch true). Entries of a group share
// their key, so each comparison settles the whole group of the entry compared. Without a match
// the result is the first entry above the key, or the last entry below it. Inverse order off.
std::uint32_t TOrvanto_iLow_Table::searchBound(const std::uint8_t *key, const TOrvanto_Search_Spec &spec,
                                               bool lastMatch, bool &found) {
  found = false;
  const TOrvanto_iLow_Index &index = indexes_[active_];
  std::uint32_t lo = 1, hi = last_;
  const bool wholeIndex = rangeOffset_ == 0 && (unique_ || rangeCount_ == recordCount_);
  if (index.jumpTable.usable() && wholeIndex && !index.isPrimary()) {
    const unsigned char c = keyFirstCharacter(index, key);
    const std::uint32_t start = index.jumpTable.start(c);
    const std::uint32_t end = index.jumpTable.end(c);
    hi = end != 0 ? std::min(end, last_) : last_;
    if (start == 0) return lastMatch ? hi : hi + 1;
    lo = start;
    // Every entry of the character matches a one-character key. Character 0 holds null and
    // empty values alike, so it is searched.
    const TOrvanto_iLow_Field &f = fields_[index.segments[0].column];
    const bool shortcut = spec.segments == 1 && ((spec.partial && spec.partialLength == 1) || f.declaredSize == 1) &&
                          c != 0 && keyHasSingleCharacter(index, fields_, key);
    if (shortcut && lo <= hi) {
      found = true;
      return lastMatch ? hi : lo;
    }
  }
  if (lo > hi) return lastMatch ? lo - 1 : lo;

  struct KeySearchScope {
    bool &flag;
    explicit KeySearchScope(bool &f) : flag(f) { flag = true; }
    ~KeySearchScope() { flag = false; }
  } scope{keySearch_};
  std::uint8_t *record = recordBuffer_.data();
  std::uint8_t *recordKey = indexes_.keyBuffer.data();
  auto corrupt = [&] { throw EOrvanto_Internal_Error(kErrIndexCorrupt, active_, 0); };
  // A search on the whole key of an index with head flags matches one group at most.
  const bool oneGroup = index.headBits != 0 && !spec.partial && spec.segments >= index.segments.size();
  std::uint32_t result = lastMatch ? lo - 1 : hi + 1;
  while (lo <= hi) {
    const std::uint32_t mid = lo + (hi - lo) / 2;
    moveOnto(mid);
    readKeyColumns(record);
    buildKeyImage(index, fields_, record, recordKey);
    bool prefix = false;
    const int r = compareKeyImages(index, fields_, spec, key, recordKey, prefix);
    // The group of mid within [lo, hi]. A non-head's head is its duplicate count back; it lies
    // before the range when the range starts inside the group.
    if (!entry_.head && entry_.duplicates > entryIndexAt(mid)) corrupt();
    const bool headInRange = entry_.head || entry_.duplicates < mid;
    const std::uint32_t head = entry_.head ? mid : headInRange ? mid - entry_.duplicates : 1;
    const std::uint32_t groupFirst = std::max(head, lo);
    auto groupLast = [&]() -> std::uint32_t {
      std::uint64_t endOfGroup = mid;
      if (entry_.head) endOfGroup = std::uint64_t(mid) + entry_.duplicates;
      else if (headInRange) endOfGroup = std::uint64_t(head) + ReadEntry(head).duplicates;
      return static_cast<std::uint32_t>(std::min<std::uint64_t>(std::max<std::uint64_t>(endOfGroup, mid), hi));
    };
    if (r == 0 && oneGroup) {
      found = true;
      return lastMatch ? groupLast() : groupFirst;
    }
    if (r > 0 || (r == 0 && lastMatch)) {
      const std::uint32_t after = groupLast();
      if (lastMatch) {
        result = after;
        found = r == 0;
      }
      lo = after + 1;
    } else {
      if (!lastMatch) {
        result = groupFirst;
        found = r == 0;
      }
      hi = groupFirst - 1;
    }
  }
  return result;
}

bool TOrvanto_iLow_Table::Search(const std::uint8_t *key, const TOrvanto_Search_Spec &spec) {
  if (!IsOpen() || rangeCount_ == 0 || last_ == 0) return false;
  const bool inverse = inverse_;
  SetInverse(false);
  struct Restore {
    TOrvanto_iLow_Table &t;
    bool inverse;
    ~Restore() {
      try {
        t.SetInverse(inverse);
      } catch (...) {
      }
    }
  } restore{*this, inverse};
  bool found = false;
  const std::uint32_t position = searchBound(key, spec, false, found);
  GoTo(position);
  return found;
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
  // Bounds over every entry that matches the key's leading segments, across groups.
  auto firstOf = [&](const std::uint8_t *source, unsigned segments) {
    bool found = false;
    return std::uint64_t(searchBound(keyOf(source), SearchSpec(segments, 0), false, found));
  };
  auto lastOf = [&](const std::uint8_t *source, unsigned segments) {
    bool found = false;
    return std::uint64_t(searchBound(keyOf(source), SearchSpec(segments, 0), true, found));
  };
  std::uint64_t e = recordCount_;
  if (endKey) e = endInclusive ? lastOf(endKey, endSegments) : firstOf(endKey, endSegments) - 1;
  std::uint64_t s = 1;
  if (startKey) s = startInclusive ? firstOf(startKey, startSegments) : lastOf(startKey, startSegments) + 1;
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
    } else {
      // The entries with this key, in address order: the group, or without head flags the run
      // up to the last equal key.
      const std::uint32_t head = position_;
      std::uint64_t end = head;
      if (indexes_[n].headBits) {
        if (entry_.head) end = std::min<std::uint64_t>(std::uint64_t(head) + entry_.duplicates, last_);
      } else {
        bool found = false;
        end = searchBound(key.data(), SearchSpec(0, 0), true, found);
      }
      if (end <= head) {
        section = 2;
      } else {
        ok = refindByAddress(address, head, static_cast<std::uint32_t>(end), target);
        section = 3;
      }
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
