// Positioning on records, reading them into record buffers, column values and blob data.
#include <algorithm>
#include <cstring>

#include "engine/crc.h"
#include "engine/orvanto_bytes.h"
#include "engine/orvanto_table.h"

namespace vl {

using namespace orv;

void TOrvanto_iLow_Table::positionOnRecord() {
  const std::uint32_t address = entry_.address;
  const std::uint32_t n = sizes_.N;
  if (hasTemplate_) {
    file_.seek(absolute(address));
    if (n) file_.read(sizes_.sizes.data(), n);
  }
  const std::uint32_t k = CheckWidth();
  std::uint64_t offset = std::uint64_t(address) + n + fields_.bitmapSize();
  std::size_t cursor = 0;
  for (std::size_t i = 0; i < fields_.count(); ++i) {
    TOrvanto_iLow_Field &f = fields_[i];
    if (!hasTemplate_) {
      columnDisk_[i] = std::uint64_t(address) + f.slotOffset;
      continue;
    }
    if (f.columnClass == ColumnClass::Text) {
      f.length = readLe(sizes_.sizes.data() + cursor, f.lengthWidth);
    } else if (f.isBlob()) {
      f.length = readLe(sizes_.sizes.data() + cursor, f.lengthWidth);
      f.dataOffset = static_cast<std::uint32_t>(std::min<std::uint64_t>(offset, 0xFFFFFFFFu));
      columnDisk_[i] = offset;
      if (f.length > 0) offset += k;
      offset += f.length;
      cursor += f.lengthWidth;
      continue;
    }
    columnDisk_[i] = offset;
    offset += f.length;
    cursor += f.lengthWidth;
  }
}

void TOrvanto_iLow_Table::buildPreview(TOrvanto_iLow_Field &f, std::uint8_t *slot) {
  const std::uint32_t p = static_cast<std::uint32_t>(f.previewLength);
  const std::uint32_t l = f.length;
  std::uint8_t data[255];
  const std::uint32_t available = std::min<std::uint32_t>(l, 255);
  file_.seek(absolute(f.dataOffset));
  file_.read(data, available);
  std::uint32_t o = 0, c = 0;
  bool lastWasText = false;
  while (o < p && c < l && c < 255) {
    const std::uint8_t b = data[c];
    if (b >= 0x20) {
      slot[o++] = b;
      lastWasText = b > 0x20;
    } else {
      if (lastWasText) slot[o++] = 0x20;
      lastWasText = false;
    }
    ++c;
  }
  f.previewComplete = c == l;
  if (f.ellipsis == orvEtNone || f.previewComplete) {
    slot[o] = 0;
    return;
  }
  const char *suffix = f.ellipsis == orvEtThreeDots ? "..." : "\x85";
  const std::uint32_t s = f.ellipsis == orvEtThreeDots ? 3 : 1;
  if (s > p - o) o -= std::min(o, s - (p - o));
  while (o > 0 && (slot[o - 1] == ' ' || slot[o - 1] == '.')) --o;
  std::memcpy(slot + o, suffix, s);
  slot[o + s] = 0;
}

// Reads the body of the current record into `buffer` and checks it (unless a key search runs).
void TOrvanto_iLow_Table::readRecordBody(std::uint8_t *buffer) {
  const std::uint32_t n = sizes_.N;
  const std::uint32_t k = CheckWidth();
  const bool check = k > 0 && !keySearch_;
  const std::uint32_t bitmap = fields_.bitmapSize();
  const std::uint32_t address = entry_.address;
  std::uint32_t crc = (address + n) ^ kRecordStart;
  file_.seek(absolute(address) + n);
  file_.read(buffer, bitmap);
  auto readChecked = [&](std::uint8_t *into, std::size_t count) {
    file_.read(into, count);
    if (check) crc = orvCrc(crc, into, count);
  };
  auto corrupt = [&] { throw EOrvanto_Internal_Error(kErrRecordCorrupt, Position(), 0); };
  if (!hasTemplate_) {
    readChecked(buffer + bitmap, fields_.recordSize() - bitmap);
  } else {
    for (std::size_t i = 0; i < fields_.count(); ++i) {
      TOrvanto_iLow_Field &f = fields_[i];
      std::uint8_t *slot = buffer + f.slotOffset;
      switch (f.columnClass) {
        case ColumnClass::Text:
          if (f.length > f.declaredSize) corrupt();
          readChecked(slot, f.length);
          slot[f.length] = 0;
          break;
        case ColumnClass::FixedText:
          readChecked(slot, f.declaredSize);
          slot[f.declaredSize] = 0;
          break;
        case ColumnClass::Blob:
          if (f.previewLength > 0) {
            if (keySearch_) {
              std::memset(slot, 0, f.slotSize);
            } else {
              f.previewComplete = 0;
              const std::uint64_t noted = absolute(f.dataOffset);
              file_.seek(noted);
              readChecked(slot, std::min<std::uint32_t>(static_cast<std::uint32_t>(f.previewLength), f.length));
              buildPreview(f, slot);
              file_.seek(noted);
            }
          }
          if (f.length > 0) file_.seek(absolute(f.dataOffset) + f.length + k);
          break;
        default:
          readChecked(slot, f.slotSize);
          break;
      }
    }
  }
  if (check) {
    crc = orvCrc(crc, sizes_.sizes.data(), n);
    crc = orvCrc(crc, buffer, bitmap);
    std::uint8_t stored[4] = {0, 0, 0, 0};
    file_.read(stored, k);
    if ((getDword(stored) & checkMask(k)) != (crc & checkMask(k))) {
      ClearRecord(buffer);
      throw EOrvanto_Internal_Error(kErrRecordCorrupt, Position(), 0);
    }
  }
}

bool TOrvanto_iLow_Table::ReadRecord(std::uint8_t *buffer) {
  error_.Reset();
  if (!IsOpen() || state_ != orvCsOnRecord) {
    ClearRecord(buffer);
    return true;
  }
  try {
    readRecordBody(buffer);
    return true;
  } catch (const EOrvanto_IO_Error &e) {
    recordIoError(error_, e);
  } catch (const EOrvanto_Internal_Error &e) {
    error_.Set(e.code(), e.section(), 0, 0);
  }
  ClearRecord(buffer);
  return false;
}

// Key search reads: the bitmap and the segment columns of the active index only.
void TOrvanto_iLow_Table::readKeyColumns(std::uint8_t *buffer) {
  const TOrvanto_iLow_Index &index = indexes_[active_];
  file_.seek(absolute(entry_.address) + sizes_.N);
  file_.read(buffer, fields_.bitmapSize());
  for (const auto &s : index.segments) {
    TOrvanto_iLow_Field &f = fields_[s.column];
    std::uint8_t *slot = buffer + f.slotOffset;
    switch (f.columnClass) {
      case ColumnClass::Blob:
        std::memset(slot, 0, f.slotSize);
        continue;
      case ColumnClass::Text:
        if (f.length > f.declaredSize) throw EOrvanto_Internal_Error(kErrRecordCorrupt, Position(), 0);
        file_.seek(absolute(columnDisk_[s.column]));
        file_.read(slot, f.length);
        slot[f.length] = 0;
        continue;
      case ColumnClass::FixedText:
        file_.seek(absolute(columnDisk_[s.column]));
        file_.read(slot, f.declaredSize);
        slot[f.declaredSize] = 0;
        continue;
      default:
        file_.seek(absolute(columnDisk_[s.column]));
        file_.read(slot, f.slotSize);
        continue;
    }
  }
}

bool TOrvanto_iLow_Table::GetColumnValue(const std::uint8_t *buffer, std::size_t column,
                                         std::uint8_t *destination) const {
  const TOrvanto_iLow_Field &f = fields_[column];
  const bool hasValue = !isColumnNull(buffer, column);
  if (!destination) return hasValue;
  std::size_t copy = 0;
  if (f.isBlob()) copy = hasValue && f.previewLength > 0 ? f.slotSize : 0;
  else if (f.columnClass == ColumnClass::Text && !hasValue) copy = 0;
  else copy = f.slotSize;
  if (copy) std::memcpy(destination, buffer + f.slotOffset, copy);
  else destination[0] = 0;
  return hasValue;
}

bool TOrvanto_iLow_Table::PutColumnValue(std::uint8_t *buffer, std::size_t column, const std::uint8_t *value) const {
  const TOrvanto_iLow_Field &f = fields_[column];
  if (f.isBlob()) return false;
  setColumnNull(buffer, column, false);
  std::memcpy(buffer + f.slotOffset, value, f.slotSize);
  return true;
}

std::string TOrvanto_iLow_Table::StringValue(const std::uint8_t *buffer, std::size_t column) const {
  const TOrvanto_iLow_Field &f = fields_[column];
  if (isColumnNull(buffer, column) || f.slotSize == 0) return {};
  const auto *p = reinterpret_cast<const char *>(buffer + f.slotOffset);
  return std::string(p, strnlen(p, f.slotSize));
}

std::uint32_t TOrvanto_iLow_Table::BlobLength(std::size_t column) const {
  if (column >= fields_.count() || !fields_[column].isBlob()) {
    TOrvanto_Error_Class e;
    e.Set(kErrNotBlob, 0, 0);
    throw EOrvanto_Engine_Error(kOpBlob, e);
  }
  return state_ == orvCsOnRecord ? fields_[column].length : 0;
}

std::uint32_t TOrvanto_iLow_Table::ReadBlob(std::size_t column, std::uint32_t offset, std::uint32_t count,
                                            std::uint8_t *destination) {
  error_.Reset();
  if (column >= fields_.count() || !fields_[column].isBlob()) {
    error_.Set(kErrNotBlob, 0, 0);
    raise(kOpBlob);
  }
  const TOrvanto_iLow_Field &f = fields_[column];
  if (count == 0 || state_ != orvCsOnRecord || offset >= f.length) return 0;
  count = std::min(count, f.length - offset);
  try {
    file_.seek(absolute(f.dataOffset) + offset);
    file_.read(destination, count);
    const std::uint32_t k = CheckWidth();
    if (offset == 0 && count == f.length && k > 0) {
      std::uint8_t stored[4] = {0, 0, 0, 0};
      file_.read(stored, k);
      const std::uint32_t crc = orvCrc(kBlobStart, destination, count);
      if ((crc & checkMask(k)) != (getDword(stored) & checkMask(k))) {
        std::memset(destination, 0, count);
        error_.Set(kErrRecordCorrupt, Position(), 0, kOsDataError);
      }
    }
  } catch (const EOrvanto_IO_Error &e) {
    recordIoError(error_, e);
  } catch (const EOrvanto_Internal_Error &e) {
    error_.Set(e.code(), e.section(), 0, 0);
  }
  if (!error_.isClear()) raise(kOpBlobRead);
  return count;
}

std::vector<std::uint8_t> TOrvanto_iLow_Table::ReadWholeBlob(std::size_t column) {
  std::vector<std::uint8_t> data(BlobLength(column));
  if (!data.empty()) data.resize(ReadBlob(column, 0, static_cast<std::uint32_t>(data.size()), data.data()));
  return data;
}

}  // namespace vl
