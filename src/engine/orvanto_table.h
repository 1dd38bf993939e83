#pragma once
// The table object: opens one table of an open database on its own file handle, reads its
// records, columns and blobs, verifies it, and walks its indexes with a cursor; key search,
// key ranges and index switching.
//
// Exceptions: operations that return bool record failures in LastError(); the "OrRaise" forms
// and BlobLength/ReadBlob/BuildKeyForActive raise EOrvanto_Engine_Error. Cursor moves (GoTo,
// First, Last, Next, Prior, Search, FindKey ...) let EOrvanto_IO_Error and
// EOrvanto_Internal_Error (160: record address outside the record area) reach the caller.
#include <array>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "engine/key_image.h"
#include "engine/orvanto_db.h"
#include "engine/orvanto_entry.h"
#include "engine/orvanto_error.h"
#include "engine/orvanto_file.h"
#include "engine/page_reader.h"
#include "engine/table_columns.h"
#include "engine/table_index.h"

namespace vl {

// Information record of a table. Texts are cp1252.
struct TOrvanto_Table_Info {
  std::uint32_t RecordCount = 0;
  std::uint16_t ColumnCount = 0;
  std::uint16_t IndexCount = 0;
  std::uint8_t CheckWidth = 0;
  bool FlagB = false;  // properties byte 1 equals 1
  bool FlagA = false;  // properties byte 0 equals 1
  std::uint32_t LocaleId = 0;
  std::array<std::uint32_t, 4> Values{};
  std::string Description;
};

// Sizes area of the current record; the template only while opening.
struct TOrvanto_varStrSize {
  std::uint32_t N = 0;
  std::vector<std::uint8_t> sizes;
  std::vector<std::uint8_t> templ;
};

// Cursor states.
enum TOrvanto_Cursor_State : std::uint8_t {
  orvCsBeforeFirst = 0,
  orvCsOnRecord = 1,
  orvCsAfterLast = 2,
  orvCsEmpty = 3,
};

struct TOrvanto_Saved_State {
  std::uint32_t position = 0;
  std::uint8_t state = orvCsEmpty;
  std::uint16_t index = 0;
  bool inverse = false;
  bool unique = false;
  std::uint32_t rangeOffset = 0;
  std::uint32_t rangeCount = 0;
};

// One index definition as the components present it.
struct TOrvanto_Index_Def {
  std::string name;            // "<Primary>" for index 0
  std::string fields;          // segment column names joined with ";"
  bool primary = false;
  bool caseInsensitive = false;
  bool descending = false;
  std::string descFields;      // only when some, not all, segments are descending
};

// Verify progress: percentage 0..100, then 101 at the end; clearing `proceed` stops.
using TOrvanto_Progress = std::function<void(void *context, std::uint8_t percent, bool &proceed)>;

class TOrvanto_iLow_Table : private OrvantoEntryClient {
 public:
  explicit TOrvanto_iLow_Table(TOrvanto_DB_Engine *database);
  virtual ~TOrvanto_iLow_Table();
  TOrvanto_iLow_Table(const TOrvanto_iLow_Table &) = delete;
  TOrvanto_iLow_Table &operator=(const TOrvanto_iLow_Table &) = delete;

  TOrvanto_DB_Engine *Database() const { return db_; }

  // --- opening ---
  // Trimmed; 128 characters or more raise "Table" (151).
  void SetTableName(std::string_view name);
  const std::string &TableName() const { return name_; }
  bool Open();
  void OpenOrRaise();  // "TB Open": 150 without a name, else the open's error
  void Close();
  bool IsOpen() const;
  void SetOpen(bool open);
  TOrvanto_Error_Class LastError() const { return error_; }

  // --- structure ---
  std::uint32_t RecordCount() const { return recordCount_; }
  std::uint8_t CheckWidth() const { return header_[0]; }
  std::uint32_t LocaleId() const;
  std::string Description() const;  // table properties text, at most 255 characters
  TOrvanto_Table_Info Info() const;  // of the open table
  std::uint32_t Base() const { return base_; }
  std::uint32_t RecordAreaStart() const { return r0_; }
  std::uint32_t RecordAreaEnd() const { return r1_; }
  bool HasSizeTemplate() const { return hasTemplate_; }
  bool HasBlobColumns() const { return fields_.hasBlobs(); }
  std::uint32_t RecordSize() const { return fields_.recordSize(); }
  // Record buffers handed to ReadRecord, Next, Prior ...: RecordBufferSize() bytes.
  std::uint32_t RecordBufferSize() const { return fields_.recordSize() + 3; }
  std::vector<std::uint8_t> NewRecordBuffer() const;

  std::size_t ColumnCount() const { return fields_.count(); }
  const TOrvanto_iLow_Field &Column(std::size_t i) const { return fields_[i]; }
  TOrvanto_iLow_Field &Column(std::size_t i) { return fields_[i]; }
  const TOrvanto_iLow_Fields &Columns() const { return fields_; }
  int FindColumn(std::string_view name) const { return fields_.find(name); }
  // Ellipsis kind of every blob column with a preview.
  void SetEllipsisType(TOrvanto_EllipsisType kind);

  // --- records ---
  void ClearRecord(std::uint8_t *buffer) const;
  // GoTo(position): moves the cursor and reads the sizes area of the record there.
  void PositionAt(std::uint32_t position) { GoTo(position); }
  // Reads the current record (a cleared buffer when the cursor is on no record).
  bool ReadRecord(std::uint8_t *buffer);
  // has-value; with a destination, copies the column's value (a single NUL when nothing).
  // Destination size: the column's slot size, at least 1.
  bool GetColumnValue(const std::uint8_t *buffer, std::size_t column, std::uint8_t *destination) const;
  // Key buffers only: clears the null bit and copies slot-size bytes; false for blob columns.
  bool PutColumnValue(std::uint8_t *buffer, std::size_t column, const std::uint8_t *value) const;
  // Helpers on a record buffer for readers of typed values.
  static bool IsNull(const std::uint8_t *buffer, std::size_t column) { return isColumnNull(buffer, column); }
  std::string StringValue(const std::uint8_t *buffer, std::size_t column) const;  // String, Bytes, preview
  // L of the current record; "Blob" (190) for a column that is no blob.
  std::uint32_t BlobLength(std::size_t column) const;
  // Whether the preview read by the last ReadRecord holds the whole blob.
  bool PreviewComplete(std::size_t column) const { return fields_[column].previewComplete != 0; }
  // Reads blob bytes of the current record; "Blob" (190) for a column that is no blob,
  // "Blob Read" with the error record when the whole-blob check fails (bytes zeroed).
  std::uint32_t ReadBlob(std::size_t column, std::uint32_t offset, std::uint32_t count, std::uint8_t *destination);
  std::vector<std::uint8_t> ReadWholeBlob(std::size_t column);

  bool Verify(const TOrvanto_Progress &progress = {}, void *context = nullptr);

  // --- cursor ---
  TOrvanto_Index_Entry ReadEntry(std::uint32_t position);
  void GoTo(std::uint32_t position);
  void First();
  void Last();
  // Move and, on success, read the record into `buffer` when given; a failed read leaves the
  // cursor moved and sets LastError() (true is still returned for the move).
  bool Next(std::uint8_t *buffer = nullptr);
  bool Prior(std::uint8_t *buffer = nullptr);
  // 0 before the first and in an empty range, last + 1 after the last, else the position.
  std::uint32_t Position() const;
  std::uint32_t Count() const;
  std::uint8_t State() const { return state_; }
  const TOrvanto_Index_Entry &CurrentEntry() const { return entry_; }
  void SetInverse(bool inverse);
  bool Inverse() const { return inverse_; }
  void SetUnique(bool unique);
  bool Unique() const { return unique_; }
  std::uint32_t GroupSize() const;  // duplicate count of the current group's head
  std::uint32_t GetBookmark() const { return Position(); }
  void GotoBookmark(std::uint32_t bookmark) { GoTo(bookmark); }
  bool BookmarkValid(std::uint32_t bookmark);
  static int CompareBookmarks(std::uint32_t a, std::uint32_t b) { return a < b ? -1 : a > b ? 1 : 0; }
  TOrvanto_Saved_State SaveState() const;
  bool RestoreState(const TOrvanto_Saved_State &saved, std::optional<std::uint32_t> bookmark);
  void SetRange(std::uint32_t offset, std::uint32_t count);
  void WholeTable() { SetRange(0, recordCount_); }
  std::uint32_t RangeOffset() const { return rangeOffset_; }
  std::uint32_t RangeCount() const { return rangeCount_; }

  // --- indexes ---
  std::size_t IndexCount() const { return indexes_.count(); }
  const TOrvanto_iLow_Index &Index(std::size_t i) const { return indexes_[i]; }
  int IndexByName(std::string_view name) const { return indexes_.find(name); }
  std::uint16_t ActiveIndex() const { return active_; }
  std::uint8_t IndexOptions(std::size_t index) const;  // bit i = index flag 0x01 << i, i = 0..5
  // Column number and segment flags (bit 0 descending, bit 1 fold).
  std::pair<std::uint16_t, std::uint8_t> SegmentInfo(std::size_t index, std::size_t segment) const;
  std::vector<TOrvanto_Index_Def> IndexDefinitions() const;

  // --- keys ---
  std::uint32_t KeyLength(std::size_t index) const { return indexes_[index].keyLength; }
  void BuildKey(std::size_t index, const std::uint8_t *record, std::uint8_t *key) const;
  // Key of the active index; without a buffer the current record is read first.
  // "Index Read" (161) with the primary index active.
  void BuildKeyForActive(const std::uint8_t *record, std::uint8_t *key);
  TOrvanto_Search_Spec SearchSpec(unsigned segments, std::uint32_t partialLength) const;
  // Positions the cursor on the first entry in index order whose key is not below `key` over the
  // compared segments (after the last when there is none); true when that entry matches.
  bool Search(const std::uint8_t *key, const TOrvanto_Search_Spec &spec);
  // `source` is a key image when keyBuilt, else a record buffer the key is built from.
  bool FindKey(unsigned segments, std::uint32_t partialLength, const std::uint8_t *source, bool keyBuilt,
               std::uint8_t *destination = nullptr);
  // Inclusive key bounds; nullptr = no bound. Sets the error record (161 on the primary index).
  void SetKeyRange(bool keysBuilt, const std::uint8_t *startKey, unsigned startSegments, bool startInclusive,
                   const std::uint8_t *endKey, unsigned endSegments, bool endInclusive);
  bool SwitchIndex(std::uint16_t index);
  void SwitchIndexOrRaise(std::uint16_t index);
  void SetReFind(bool refind) { refind_ = refind; }
  bool ReFind() const { return refind_; }

 protected:
  [[noreturn]] void raise(std::string_view operation) const;

 private:
  friend class TOrvanto_Table_Verifier;
  void closeForDatabase() override;
  void clearStructure();
  void readStructure();
  void readColumns(std::uint16_t columnCount);
  void readIndexes(std::uint16_t indexCount);
  std::uint64_t absolute(std::uint64_t offset) const { return std::uint64_t(base_) + offset; }

  // Cursor internals.
  std::uint32_t entryIndexAt(std::uint32_t position) const;
  void moveOnto(std::uint32_t position);
  void positionOnRecord();
  std::uint32_t headPosition() const;
  void readKeyColumns(std::uint8_t *buffer);
  void readRecordBody(std::uint8_t *buffer);
  void buildPreview(TOrvanto_iLow_Field &f, std::uint8_t *slot);
  std::uint32_t searchBound(const std::uint8_t *key, const TOrvanto_Search_Spec &spec, bool lastMatch, bool &found);
  bool refindByAddress(std::uint32_t address, std::uint32_t low, std::uint32_t high, std::uint32_t &found);
  void setRangeRaw(std::uint32_t offset, std::uint32_t count);

  TOrvanto_DB_Engine *db_;
  std::string name_;
  int entryNumber_ = -1;
  TOrvanto_Table_Entry *entry_ptr_ = nullptr;
  OrvantoPageReader file_;
  std::uint32_t base_ = 0;
  TOrvanto_Error_Class error_;
  std::array<std::uint8_t, 55> header_{};
  std::array<std::uint8_t, 274> properties_{};
  bool hasTemplate_ = false;
  TOrvanto_varStrSize sizes_;
  TOrvanto_wLow_Fields fields_;
  TOrvanto_wLow_Indexes indexes_;
  std::uint32_t recordCount_ = 0, r0_ = 0, r1_ = 0;
  std::vector<std::uint64_t> columnDisk_;  // disk offset (relative to base) of each column of the current record
  std::vector<std::uint8_t> recordBuffer_;
  std::vector<std::uint8_t> keyScratch_;
  bool keySearch_ = false;

  // Cursor state.
  std::uint16_t active_ = 0;
  std::uint32_t rangeOffset_ = 0, rangeCount_ = 0, first_ = 1, last_ = 0;
  std::uint32_t position_ = 0;
  bool entryValid_ = false;
  TOrvanto_Index_Entry entry_;
  std::uint8_t state_ = orvCsEmpty;
  bool inverse_ = false, unique_ = false, refind_ = true;
};

class TCustomOrvanto_Table : public TOrvanto_iLow_Table {
 public:
  using TOrvanto_iLow_Table::TOrvanto_iLow_Table;
};

class TOrvanto_Table_Engine : public TCustomOrvanto_Table {
 public:
  using TCustomOrvanto_Table::TCustomOrvanto_Table;
  // Opens the table only for the call; a failing open raises "Active".
  TOrvanto_Table_Info GetInfo();

 private:
  bool wasOpen_ = false;
};

}  // namespace vl
