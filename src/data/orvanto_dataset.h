#pragma once
// TOrvantoDataSet: a read-only data set over one table of a TOrvantoDB connection.
//
// Fields: one per column in column order (fieldNo = column number + 1), all read-only. String
// and Bytes columns are String fields of their declared size; a Memo or Blob column with a
// preview is a String field holding the preview (previewTruncated() tells when it is shortened);
// without a preview it is a Memo or Blob field whose value is the whole content, read through a
// TOrvantoBlobStream. Memo text is UTF-8, Blob values are the stored bytes (NUL bytes included).
// Date/Time/DateTime columns read as vl::DateTime. Every modifying operation raises
// "Operação solicitada não é suportada".
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "data/dataset.h"
#include "engine/orvanto_table.h"

namespace vl {

class TOrvantoDB;
class TOrvantoBlobStream;

class TOrvantoDataSet : public DataSet {
 public:
  TOrvantoDataSet();
  ~TOrvantoDataSet() override;

  // The connection (not owned). Changing it closes the data set.
  TOrvantoDB *orvantoDatabase() const { return db_; }
  void setOrvantoDatabase(TOrvantoDB *db);
  // Changing the name (compared case-sensitively) closes the data set.
  const std::string &tableName() const { return tableName_; }
  void setTableName(const std::string &name);
  // Suffix of shortened previews; changing it while open re-reads the records.
  TOrvanto_EllipsisType ellipsisType() const { return ellipsis_; }
  void setEllipsisType(TOrvanto_EllipsisType type);

  // Records.
  std::uint32_t recordCount() override;
  std::uint32_t recNo() override;
  void setRecNo(std::uint32_t value) override;
  // Of the current record (the active one, or the row of a RowScope).
  std::uint32_t recordNumber();
  std::uint32_t repeatCount();  // group size in unique mode, else 0
  // For a preview field: the preview does not hold the whole blob.
  bool previewTruncated(const Field &field);

  bool bookmarkValid(const Bookmark &bookmark) override;
  int compareBookmarks(const Bookmark &a, const Bookmark &b) const override;

  // Indexes.
  std::uint16_t activeIndexNumber() const;
  std::size_t indexCount() const;
  const TOrvanto_iLow_Index &index(std::size_t i) const;

  // Key search on the active index (not the primary index).
  bool findKey(const Values &values);
  bool gotoKey();
  bool locate(const std::string &fieldNames, const Values &values, LocateOptions options) override;
  using DataSet::locate;
  std::optional<Values> lookup(const std::string &keyFields, const Values &keyValues,
                               const std::string &resultFields) override;

  // The engine's table information record (texts in code page 1252); the table is opened only
  // for the call when the data set is closed.
  TOrvanto_Table_Info getTableInfo();
  // Checks every check value of the open table.
  bool verify(const TOrvanto_Progress &progress = {}, void *context = nullptr);

  // Refused: the data set cannot be modified.
  bool canModify() const { return false; }
  void insert();
  void append();
  void edit();
  void remove();
  // Leaves key editing (setKey/editKey); refused otherwise.
  void post();
  void findRecord(bool restart, bool goForward);

 protected:
  void openCursor() override;
  void closeCursor() override;
  void clearRecord(Record &record) override;
  void cursorFirst() override;
  void cursorLast() override;
  bool fetch(Record &record, FetchMode mode) override;
  void positionOn(const Record &record) override;
  Bookmark recordBookmark(const Record &record) const override;
  void cursorToBookmark(const Bookmark &bookmark) override;
  Value dataFieldValue(const Field &field, const Record &record) override;
  void setDataFieldValue(const Field &field, Record &record, const Value &value) override;
  int keyFieldPosition(const Field &field) const override;

  TOrvanto_Table_Engine &table() { return *table_; }
  const TOrvanto_Table_Engine &table() const { return *table_; }
  bool tableOpen() const { return table_ != nullptr; }
  // Switches the engine index keeping the current record, re-reads the key information and the
  // records (first record when the engine does not re-find).
  void switchToIndex(std::uint16_t number);
  void takeKeyInfo();
  const std::vector<int> &keyFieldNumbers() const { return keyFieldNos_; }
  Field &keyField(std::size_t position);
  // Applies the range-start and range-end key buffers; false when they did not change.
  bool applyKeyRange();
  // Back to the whole table; false when no range was set.
  bool cancelKeyRange();
  // State of the record information part of a record image.
  struct RecordInfo {
    std::uint32_t bookmark = 0;
    std::uint32_t recNo = 0;
    std::uint32_t repeat = 0;
    std::uint8_t fetched = 0;
  };
  RecordInfo recordInfo(const Record &record) const;

 private:
  friend class TOrvantoBlobStream;
  friend class TOrvantoDB;
  void buildFieldDefs();
  void fillRecordInfo(Record &record);
  // Chooses the index for a Locate and searches; true with the cursor on the found record.
  bool searchRecord(const std::string &fieldNames, const Values &values, LocateOptions options, Record &temp);
  Record &blobRecord() { return currentRecord(); }
  std::string readWholeBlob(const Field &field, const Record &record);

  TOrvantoDB *db_ = nullptr;
  std::string tableName_;
  TOrvanto_EllipsisType ellipsis_ = orvEtEllipsis;
  std::unique_ptr<TOrvanto_Table_Engine> table_;
  // Active index.
  std::vector<int> keyFieldNos_;
  std::uint32_t keyLength_ = 0;
  bool keyCaseInsensitive_ = false;
  // Preview columns in column order, with the column number of each.
  std::vector<int> previewColumns_;
  std::size_t infoOffset_ = 0;
  bool rangeSet_ = false;
};

}  // namespace vl
