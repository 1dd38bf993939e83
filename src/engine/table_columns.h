#pragma once
// A table's column descriptors and the layout of its record buffer.
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "engine/table_format.h"

namespace vl {

// Suffix put after a shortened blob preview.
enum TOrvanto_EllipsisType : std::uint8_t { orvEtNone = 0, orvEtEllipsis = 1, orvEtThreeDots = 2 };

class TOrvanto_iLow_Field {
 public:
  virtual ~TOrvanto_iLow_Field() = default;

  std::string name;
  std::string description;
  std::uint16_t number = 0;        // column number, 0-based
  std::uint32_t declaredSize = 0;  // String: template size; Bytes: p1; Memo/Blob: preview length
  std::uint8_t type = 0;
  orv::ColumnClass columnClass = orv::ColumnClass::Invalid;
  std::uint8_t p3 = 0;
  std::uint8_t lengthWidth = 0;     // width of the length number in the sizes area
  std::uint8_t previewComplete = 0; // per record
  TOrvanto_EllipsisType ellipsis = orvEtEllipsis;
  std::int8_t p1 = 0;
  std::int8_t p2 = 0;
  std::int8_t previewLength = -1;   // -1: not applicable
  std::uint32_t dataOffset = 0;     // blob data of the current record, relative to the table base
  std::uint32_t length = 0;         // L of the current record (String, Memo, Blob), else fixed bytes
  std::uint32_t slotOffset = 0;     // in the record buffer
  std::uint32_t slotSize = 0;

  bool isBlob() const { return columnClass == orv::ColumnClass::Blob; }
  bool hasPreview() const { return isBlob() && previewLength > 0; }
  // Bytes the column's value occupies in a record on disk (L for String and blobs).
  std::uint32_t fixedDiskSize(bool hasTemplate) const;
};

class TOrvanto_wLow_Field : public TOrvanto_iLow_Field {};

// The ordered columns of a table and the record buffer layout derived from them.
class TOrvanto_iLow_Fields {
 public:
  virtual ~TOrvanto_iLow_Fields() = default;

  std::size_t count() const { return fields_.size(); }
  TOrvanto_iLow_Field &operator[](std::size_t i) { return *fields_[i]; }
  const TOrvanto_iLow_Field &operator[](std::size_t i) const { return *fields_[i]; }
  void clear();

  // Adds a column from its stored description and lays out its slot. Returns false when the
  // type, the declared size or the name is invalid, or the name already exists.
  bool add(std::uint8_t type, std::int8_t p1, std::int8_t p2, std::uint8_t p3, std::uint32_t declaredSize,
           std::string_view name, std::string_view description);

  // Trimmed, at most 127 characters, compared ignoring case; -1 when absent.
  int find(std::string_view name) const;

  std::uint32_t bitmapSize() const { return bitmap_; }
  std::uint32_t recordSize() const { return recordSize_; }
  bool hasBlobs() const { return hasBlobs_; }
  bool hasVariable() const { return hasVariable_; }  // String, Memo or Blob: the table needs a size template

 private:
  std::vector<std::unique_ptr<TOrvanto_iLow_Field>> fields_;
  std::uint32_t bitmap_ = 1;
  std::uint32_t recordSize_ = 1;
  bool hasBlobs_ = false;
  bool hasVariable_ = false;
  void relayoutBitmap();
};

class TOrvanto_wLow_Fields : public TOrvanto_iLow_Fields {};

// Record buffer helpers.
std::uint32_t bitmapSizeFor(std::size_t columnCount);
void clearRecordBuffer(std::uint8_t *buffer, std::size_t size, std::size_t columnCount);
inline bool isColumnNull(const std::uint8_t *buffer, std::size_t column) {
  return (buffer[column / 8] >> (column % 8)) & 1;
}
inline void setColumnNull(std::uint8_t *buffer, std::size_t column, bool null) {
  const auto bit = static_cast<std::uint8_t>(1u << (column % 8));
  buffer[column / 8] = null ? (buffer[column / 8] | bit) : (buffer[column / 8] & ~bit);
}

// Case-insensitive equality by cp1252 upper-casing.
bool sameTextIgnoringCase(std::string_view a, std::string_view b);

}  // namespace vl
