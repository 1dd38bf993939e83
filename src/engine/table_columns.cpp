#include "engine/table_columns.h"

#include <algorithm>
#include <cstring>

#include "engine/cp1252.h"
#include "engine/orvanto_bytes.h"

namespace vl {

using namespace orv;

std::uint32_t TOrvanto_iLow_Field::fixedDiskSize(bool hasTemplate) const {
  switch (columnClass) {
    case ColumnClass::Text: case ColumnClass::Blob: return length;
    case ColumnClass::FixedText: return hasTemplate ? declaredSize : declaredSize + 1;
    default: return slotSize;
  }
}

std::uint32_t bitmapSizeFor(std::size_t columnCount) {
  return std::max<std::uint32_t>(1, static_cast<std::uint32_t>((columnCount + 7) / 8));
}

void clearRecordBuffer(std::uint8_t *buffer, std::size_t size, std::size_t columnCount) {
  std::memset(buffer, 0, size);
  for (std::size_t i = 0; i < columnCount; ++i) setColumnNull(buffer, i, true);
}

bool sameTextIgnoringCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i)
    if (cp1252Upper(static_cast<unsigned char>(a[i])) != cp1252Upper(static_cast<unsigned char>(b[i]))) return false;
  return true;
}

void TOrvanto_iLow_Fields::clear() {
  fields_.clear();
  bitmap_ = recordSize_ = 1;
  hasBlobs_ = hasVariable_ = false;
}

void TOrvanto_iLow_Fields::relayoutBitmap() {
  // The bitmap grows with the column count; slots after it shift along.
  const std::uint32_t newBitmap = bitmapSizeFor(fields_.size());
  if (newBitmap == bitmap_) return;
  const std::uint32_t delta = newBitmap - bitmap_;
  for (auto &f : fields_) f->slotOffset += delta;
  recordSize_ += delta;
  bitmap_ = newBitmap;
}

bool TOrvanto_iLow_Fields::add(std::uint8_t type, std::int8_t p1, std::int8_t p2, std::uint8_t p3,
                               std::uint32_t declaredSize, std::string_view name, std::string_view description) {
  const ColumnClass cls = columnClassOf(type);
  if (cls == ColumnClass::Invalid) return false;
  if (type == ctString && declaredSize > kMaxStringSize) return false;
  if (type == ctBytes && declaredSize > kMaxBytesSize) return false;
  const std::string_view trimmed = trimBlanks(name);
  if (trimmed.empty() || trimmed.size() > kMaxNameLength || find(trimmed) >= 0) return false;
  if (cls == ColumnClass::Text && (p1 < 1 || p1 > 4)) return false;

  auto f = std::make_unique<TOrvanto_wLow_Field>();
  f->name = std::string(trimmed);
  f->description = std::string(description);
  f->number = static_cast<std::uint16_t>(fields_.size());
  f->type = type;
  f->columnClass = cls;
  f->declaredSize = declaredSize;
  f->p1 = p1;
  f->p2 = p2;
  f->p3 = p3;
  f->slotOffset = recordSize_;
  switch (cls) {
    case ColumnClass::Text:
      f->slotSize = declaredSize + 1;
      f->lengthWidth = static_cast<std::uint8_t>(p1);
      hasVariable_ = true;
      break;
    case ColumnClass::Blob:
      f->slotSize = p1 > 0 ? static_cast<std::uint32_t>(p1) + 1 : 0;
      f->previewLength = p1;
      f->lengthWidth = type == ctMemo ? 2 : 4;
      hasBlobs_ = hasVariable_ = true;
      break;
    case ColumnClass::FixedText:
      f->slotSize = declaredSize + 1;
      break;
    case ColumnClass::Integer: f->slotSize = 4; f->previewLength = 0; break;
    case ColumnClass::Boolean: f->slotSize = 1; f->previewLength = 0; break;
    case ColumnClass::Float: f->slotSize = 8; f->previewLength = p1; break;
    case ColumnClass::DateTime: f->slotSize = 8; f->previewLength = 0; break;
    case ColumnClass::Invalid: return false;
  }
  if (cls == ColumnClass::FixedText) f->length = declaredSize;  // bytes in a record with a size template
  else if (cls != ColumnClass::Text && cls != ColumnClass::Blob) f->length = f->slotSize;
  recordSize_ += f->slotSize;
  fields_.push_back(std::move(f));
  relayoutBitmap();
  return true;
}

int TOrvanto_iLow_Fields::find(std::string_view name) const {
  std::string_view wanted = trimBlanks(name);
  if (wanted.size() > kMaxNameLength) wanted = wanted.substr(0, kMaxNameLength);
  for (std::size_t i = 0; i < fields_.size(); ++i)
    if (sameTextIgnoringCase(fields_[i]->name, wanted)) return static_cast<int>(i);
  return -1;
}

}  // namespace vl
