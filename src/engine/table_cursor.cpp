// The cursor over the active index: moves, modes, bookmarks, saved states and ranges.
#include <algorithm>

#include "engine/orvanto_table.h"

namespace vl {

using namespace orv;

std::uint32_t TOrvanto_iLow_Table::entryIndexAt(std::uint32_t position) const {
  const std::uint64_t relative = inverse_ ? std::uint64_t(last_) - position : std::uint64_t(position) - first_;
  return static_cast<std::uint32_t>(relative + rangeOffset_);
}

TOrvanto_Index_Entry TOrvanto_iLow_Table::ReadEntry(std::uint32_t position) {
  const TOrvanto_iLow_Index &index = indexes_[active_];
  if (position < 1 || position > last_ || entryIndexAt(position) >= recordCount_)
    throw EOrvanto_Internal_Error(kErrIndexCorrupt, active_, 0);
  const unsigned width = index.entryWidth();
  std::uint8_t bytes[40] = {};
  file_.seek(absolute(index.blockOffset) + 1 + std::uint64_t(entryIndexAt(position)) * width);
  file_.read(bytes, width);
  return index.decode(bytes);
}

void TOrvanto_iLow_Table::moveOnto(std::uint32_t position) {
  const TOrvanto_Index_Entry e = ReadEntry(position);
  if (e.address < r0_ || e.address >= r1_) throw EOrvanto_Internal_Error(kErrIndexCorrupt, active_, 0);
  entry_ = e;
  position_ = position;
  entryValid_ = true;
  positionOnRecord();
}

std::uint32_t TOrvanto_iLow_Table::headPosition() const {
  if (entry_.head) return position_;
  const std::uint64_t head = inverse_ ? std::uint64_t(position_) + entry_.duplicates
                                      : std::uint64_t(position_) - std::min<std::uint64_t>(entry_.duplicates, position_);
  if (head < 1 || head > last_ || (!inverse_ && entry_.duplicates >= position_))
    throw EOrvanto_Internal_Error(kErrIndexCorrupt, active_, 0);
  return static_cast<std::uint32_t>(head);
}

void TOrvanto_iLow_Table::GoTo(std::uint32_t a) {
  if (!IsOpen() || rangeCount_ == 0 || last_ == 0) {
    state_ = orvCsEmpty;
    return;
  }
  if (a < 1 || a == 0xFFFFFFFFu) {
    moveOnto(1);
    state_ = orvCsBeforeFirst;
  } else if (a > last_) {
    moveOnto(last_);
    state_ = orvCsAfterLast;
  } else {
    if (a != position_ || !entryValid_) moveOnto(a);
    state_ = orvCsOnRecord;
  }
  if (unique_ && !entry_.head) moveOnto(headPosition());
}

std::uint32_t TOrvanto_iLow_Table::Position() const {
  switch (state_) {
    case orvCsOnRecord: return position_;
    case orvCsAfterLast: return last_ + 1;
    default: return 0;
  }
}

std::uint32_t TOrvanto_iLow_Table::Count() const {
  if (unique_) return indexes_.count() > active_ ? indexes_[active_].entryCount : 0;
  return rangeCount_;
}

bool TOrvanto_iLow_Table::Next(std::uint8_t *buffer) {
  if (!IsOpen() || rangeCount_ == 0 || last_ == 0) {
    state_ = orvCsEmpty;
    return false;
  }
  const std::uint8_t before = state_;
  if (position_ < last_) {
    std::uint32_t target;
    if (!unique_) target = Position() + 1;
    else if (!entry_.head) target = headPosition();
    else if (!inverse_) target = Position() + (state_ == orvCsOnRecord ? entry_.duplicates : 0) + 1;
    else if (state_ != orvCsBeforeFirst) target = Position() + 1 + ReadEntry(Position() + 1).duplicates;
    else target = 1;
    GoTo(target);
    if (state_ != orvCsEmpty) state_ = target > last_ ? orvCsAfterLast : orvCsOnRecord;
  } else {
    GoTo(last_);
    state_ = before == orvCsBeforeFirst ? orvCsOnRecord : orvCsAfterLast;
  }
  if (state_ != orvCsOnRecord) return false;
  if (buffer) ReadRecord(buffer);
  return true;
}

bool TOrvanto_iLow_Table::Prior(std::uint8_t *buffer) {
  if (!IsOpen() || rangeCount_ == 0 || last_ == 0) {
    state_ = orvCsEmpty;
    return false;
  }
  const std::uint8_t before = state_;
  if (Position() > 1) {
    std::uint32_t target;
    if (!unique_) target = Position() - 1;
    else if (before == orvCsAfterLast) target = last_;
    else if (!entry_.head) target = headPosition();
    else if (inverse_) {
      const std::uint64_t t = std::uint64_t(Position()) - entry_.duplicates - 1;
      target = t >= 1 && t <= Position() ? static_cast<std::uint32_t>(t) : 0;
    } else {
      const TOrvanto_Index_Entry previous = ReadEntry(Position() - 1);
      target = previous.duplicates < Position() - 1 ? Position() - 1 - previous.duplicates : 0;
      if (target == 0) throw EOrvanto_Internal_Error(kErrIndexCorrupt, active_, 0);
    }
    if (target == 0) {
      GoTo(1);
      state_ = orvCsBeforeFirst;
    } else {
      GoTo(target);
      if (state_ != orvCsEmpty) state_ = orvCsOnRecord;
    }
  } else {
    GoTo(1);
    state_ = before == orvCsAfterLast ? orvCsOnRecord : orvCsBeforeFirst;
  }
  if (state_ != orvCsOnRecord) return false;
  if (buffer) ReadRecord(buffer);
  return true;
}

void TOrvanto_iLow_Table::First() {
  GoTo(1);
  Prior();
}

void TOrvanto_iLow_Table::Last() {
  GoTo(last_);
  Next();
}

void TOrvanto_iLow_Table::SetInverse(bool inverse) {
  if (inverse == inverse_) return;
  const std::uint32_t current = position_;
  inverse_ = inverse;
  entryValid_ = false;
  switch (state_) {
    case orvCsBeforeFirst: Last(); break;
    case orvCsAfterLast: First(); break;
    case orvCsOnRecord: GoTo(last_ - current + 1); break;
    default: break;
  }
}

void TOrvanto_iLow_Table::SetUnique(bool unique) {
  if (unique == unique_ || !IsOpen()) return;
  if (!unique) {
    // The current record stays current; the numbering is that of the whole table again.
    const bool inverse = inverse_;
    SetInverse(false);
    unique_ = false;
    const std::uint32_t noted = Position();
    const std::uint8_t state = state_;
    setRangeRaw(0, recordCount_);
    if (state == orvCsOnRecord) GoTo(noted);
    SetInverse(inverse);
    return;
  }
  const bool inverse = inverse_;
  SetInverse(false);
  const std::uint32_t noted = Position();
  WholeTable();
  if (rangeCount_ == 0) {
    unique_ = true;
    SetInverse(inverse);
    return;
  }
  Last();
  last_ = headPosition();
  unique_ = true;
  entryValid_ = false;
  GoTo(noted);
  if (state_ == orvCsBeforeFirst) Next();
  else if (state_ == orvCsAfterLast) Prior();
  rangeCount_ = indexes_[active_].entryCount;
  SetInverse(inverse);
}

std::uint32_t TOrvanto_iLow_Table::GroupSize() const {
  if (state_ != orvCsOnRecord) return 0;
  return entry_.head ? entry_.duplicates : 0;
}

bool TOrvanto_iLow_Table::BookmarkValid(std::uint32_t bookmark) {
  if (bookmark < 1 || bookmark > last_ || (!unique_ && bookmark > rangeCount_)) return false;
  if (unique_ && active_ != 0) return ReadEntry(bookmark).head;
  return true;
}

TOrvanto_Saved_State TOrvanto_iLow_Table::SaveState() const {
  TOrvanto_Saved_State s;
  s.position = Position();
  s.state = state_;
  s.index = active_;
  s.inverse = inverse_;
  s.unique = unique_;
  s.rangeOffset = rangeOffset_;
  s.rangeCount = rangeCount_;
  return s;
}

bool TOrvanto_iLow_Table::RestoreState(const TOrvanto_Saved_State &saved, std::optional<std::uint32_t> bookmark) {
  if (bookmark && BookmarkValid(*bookmark)) {
    // Keep the record the bookmark denotes through every change back.
    GotoBookmark(*bookmark);
    SwitchIndex(saved.index);
    SetInverse(saved.inverse);
    SetUnique(saved.unique);
    if (!saved.unique) SetRange(saved.rangeOffset, saved.rangeCount);
    return true;
  }
  const bool refind = refind_;
  refind_ = false;
  SwitchIndex(saved.index);
  refind_ = refind;
  inverse_ = false;
  unique_ = false;
  setRangeRaw(saved.rangeOffset, saved.rangeCount);
  SetInverse(saved.inverse);
  SetUnique(saved.unique);
  if (!saved.unique) setRangeRaw(saved.rangeOffset, saved.rangeCount);
  GoTo(saved.position);
  if (saved.state != orvCsEmpty && state_ != orvCsEmpty) state_ = saved.state;
  return !bookmark;
}

void TOrvanto_iLow_Table::setRangeRaw(std::uint32_t offset, std::uint32_t count) {
  offset = std::min(offset, recordCount_);
  count = std::min(count, recordCount_ - offset);
  rangeOffset_ = offset;
  rangeCount_ = last_ = count;
  first_ = 1;
  entryValid_ = false;
  if (count == 0) state_ = orvCsEmpty;
}

void TOrvanto_iLow_Table::SetRange(std::uint32_t offset, std::uint32_t count) {
  // The current record stays current when the new range holds it; otherwise the cursor goes
  // before the first record of the range.
  const bool had = state_ == orvCsOnRecord && entryValid_;
  const std::uint32_t entryIndex = had ? entryIndexAt(position_) : 0;
  const std::uint8_t state = state_;
  setRangeRaw(offset, count);
  if (rangeCount_ == 0) return;
  if (had && entryIndex >= rangeOffset_ && entryIndex < rangeOffset_ + rangeCount_) {
    const std::uint32_t relative = entryIndex - rangeOffset_;
    GoTo(inverse_ ? last_ - relative : relative + 1);
  } else if (state == orvCsAfterLast) {
    GoTo(last_ + 1);
  } else {
    GoTo(0);
  }
}

}  // namespace vl
