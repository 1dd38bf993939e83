#pragma once
// TOrvantoBlobStream: a read-only stream over a Memo or Blob field of a TOrvantoDataSet.
#include <cstdint>
#include <string>

namespace vl {

class Field;
class TOrvantoDataSet;

class TOrvantoBlobStream {
 public:
  enum class Origin { Begin, Current, End };

  // Keeps the record's bookmark: use the stream while the data set stays as it is.
  // For the data set's current record (the active one, or the row of a RowScope). Raises
  // "Cannot access field '%s' in a filter" while the data set is filtering.
  explicit TOrvantoBlobStream(const Field &field);

  // A stream over a field that is no blob field of an open data set reads nothing.
  bool valid() const;
  std::uint32_t size() const;  // the blob length
  std::uint32_t position() const { return position_; }
  // New position; offsets are clamped to 0 .. size().
  std::uint32_t seek(std::int64_t offset, Origin origin);
  // Reads at the position and advances; "Blob Read" is raised when the whole-blob check fails.
  std::uint32_t read(void *buffer, std::uint32_t count);
  // The whole content from the start.
  std::string readAll();
  // Writes nothing.
  std::uint32_t write(const void *buffer, std::uint32_t count);

 private:
  TOrvantoDataSet *ds_ = nullptr;
  int column_ = -1;
  std::uint32_t bookmark_ = 0;
  std::uint32_t position_ = 0;
};

}  // namespace vl
