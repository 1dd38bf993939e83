#include "data/orvanto_blob_stream.h"

#include <algorithm>

#include "data/data_error.h"
#include "data/orvanto_dataset.h"

namespace vl {

TOrvantoBlobStream::TOrvantoBlobStream(const Field &field) {
  auto *ds = dynamic_cast<TOrvantoDataSet *>(&field.dataSet());
  if (!ds || !ds->tableOpen() || field.kind() != FieldKind::Data) return;
  if (ds->state() == DataSetState::Filter)
    raiseDatabaseError(dberr::kCannotAccessFieldInFilter, field.displayName(), ds);
  const int column = field.fieldNo() - 1;
  if (column < 0 || static_cast<std::size_t>(column) >= ds->table().ColumnCount() ||
      !ds->table().Column(static_cast<std::size_t>(column)).isBlob())
    return;
  const auto info = ds->recordInfo(ds->blobRecord());
  if (!info.fetched) return;
  ds_ = ds;
  column_ = column;
  bookmark_ = info.bookmark;
  ds_->table().GotoBookmark(bookmark_);
}

bool TOrvantoBlobStream::valid() const { return ds_ && column_ >= 0 && ds_->tableOpen(); }

std::uint32_t TOrvantoBlobStream::size() const {
  if (!valid()) return 0;
  ds_->table().GotoBookmark(bookmark_);
  return ds_->table().BlobLength(static_cast<std::size_t>(column_));
}

std::uint32_t TOrvantoBlobStream::seek(std::int64_t offset, Origin origin) {
  std::int64_t base = 0;
  if (origin == Origin::Current) base = position_;
  if (origin == Origin::End) base = size();
  position_ = static_cast<std::uint32_t>(std::clamp<std::int64_t>(base + offset, 0, size()));
  return position_;
}

std::uint32_t TOrvantoBlobStream::read(void *buffer, std::uint32_t count) {
  if (!valid() || count == 0) return 0;
  ds_->table().GotoBookmark(bookmark_);
  const std::uint32_t n = ds_->table().ReadBlob(static_cast<std::size_t>(column_), position_, count,
                                                static_cast<std::uint8_t *>(buffer));
  position_ += n;
  return n;
}

std::string TOrvantoBlobStream::readAll() {
  std::string bytes(size(), '\0');
  position_ = 0;
  const std::uint32_t n = bytes.empty() ? 0 : read(bytes.data(), static_cast<std::uint32_t>(bytes.size()));
  bytes.resize(n);
  return bytes;
}

std::uint32_t TOrvantoBlobStream::write(const void *, std::uint32_t) { return 0; }

}  // namespace vl
