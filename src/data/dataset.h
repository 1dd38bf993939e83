#pragma once
// The dataset layer: a read cursor over records with named, typed fields.
//
// A DataSet is Inactive or Browse; it enters SetKey while a key is being edited (setKey/editKey)
// and CalcFields/Filter only internally. In Browse it has an active record and keeps a small window
// of fetched records around it (bufferCount(), normally 1; a grid sets it to its visible row
// count and reads row i through RowScope). first/last/next/prior/moveBy move the active record;
// bof()/eof() say a move hit the beginning/end (both are true on an empty data set).
// Fields are looked up by name ignoring case (fieldByName throws, findField returns null). A
// field reads its value from the current record: value(), asString() (UTF-8), asInteger(),
// asFloat(), asBoolean(), asDateTime() (vl::DateTime), isNull(), displayText().
// Calculated and lookup fields are declared before opening (addCalculatedField, addLookupField);
// calculated values are set in the onCalcFields callback, called for every fetched record.
// Bookmarks are opaque byte strings (empty = none). Observers (DataSetObserver) are told when
// the data set opens or closes, when the active record moves to another record (RecordChanged),
// when the whole content may differ (DataChanged: new order, range or refresh), when the fields
// are rebuilt (LayoutChanged) and when the state changes. disableControls/enableControls hold
// the notifications back during bulk work and send one DataChanged at the end.
// Errors are vl::DatabaseError with fixed texts (data/data_error.h).
#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "data/data_error.h"
#include "data/data_value.h"
#include "data/field.h"

namespace vl {

class DataSet;

enum class DataSetState : std::uint8_t { Inactive, Browse, SetKey, CalcFields, Filter };

enum class DataEvent : std::uint8_t { Opened, Closed, RecordChanged, DataChanged, LayoutChanged, StateChanged };

using Bookmark = std::vector<std::uint8_t>;

// Attached to data sets to follow them. Detaches itself when destroyed; a data set that is
// destroyed first detaches its observers.
class DataSetObserver {
 public:
  DataSetObserver() = default;
  DataSetObserver(const DataSetObserver &) = delete;
  DataSetObserver &operator=(const DataSetObserver &) = delete;
  virtual ~DataSetObserver();
  virtual void dataSetEvent(DataSet &dataSet, DataEvent event) = 0;
  // The data set is being destroyed; it has already detached this observer.
  virtual void dataSetDestroyed(DataSet &) {}

 private:
  friend class DataSet;
  std::vector<DataSet *> observed_;
};

// Locate options.
enum LocateOption : unsigned { loCaseInsensitive = 1u, loPartialKey = 2u };
using LocateOptions = unsigned;

class DataSet {
 public:
  // Calculated values of the current record are set here (state CalcFields).
  using CalcFieldsHandler = std::function<void(DataSet &)>;

  DataSet();
  DataSet(const DataSet &) = delete;
  DataSet &operator=(const DataSet &) = delete;
  virtual ~DataSet();

  // Opening and closing.
  void open();
  void close();
  bool active() const { return state_ != DataSetState::Inactive; }
  void setActive(bool value) { value ? open() : close(); }
  DataSetState state() const { return state_; }

  // Moving.
  void first();
  void last();
  void next();
  void prior();
  int moveBy(int distance);  // returns the distance moved
  bool bof() const { return bof_; }
  bool eof() const { return eof_; }
  bool isEmpty() const { return window_.empty(); }
  virtual std::uint32_t recordCount() = 0;
  virtual std::uint32_t recNo() = 0;
  virtual void setRecNo(std::uint32_t value) = 0;
  // Re-reads the records around the active one.
  void refresh();

  // Bookmarks of the active record.
  Bookmark bookmark() const;
  void gotoBookmark(const Bookmark &bookmark);
  virtual bool bookmarkValid(const Bookmark &bookmark) = 0;
  virtual int compareBookmarks(const Bookmark &a, const Bookmark &b) const = 0;

  // Fields.
  const std::vector<FieldDef> &fieldDefs() const { return fieldDefs_; }
  std::size_t fieldCount() const { return fields_.size(); }
  Field &field(std::size_t i) const { return *fields_.at(i); }
  Field *findField(const std::string &name) const;
  Field &fieldByName(const std::string &name) const;
  // The fields named in a ";"-separated list, in order.
  std::vector<Field *> fieldList(const std::string &names) const;

  // Calculated and lookup fields, declared while inactive; they are created at every open after
  // the data fields.
  void addCalculatedField(const std::string &name, FieldType type, int size = 0);
  void addLookupField(const std::string &name, int size, const LookupSpec &lookup);
  void setOnCalcFields(CalcFieldsHandler handler) { onCalcFields_ = std::move(handler); }
  // A text handler kept for the field of that name across openings (see Field::setGetTextHandler).
  void setGetTextHandler(const std::string &fieldName, Field::GetTextHandler handler);

  // Key editing: setKey clears the lookup key buffer, editKey keeps it; fields assigned then go to
  // the key buffer. cancel() leaves key editing with the key buffer as it was.
  void setKey();
  void editKey();
  void cancel();

  // Searching.
  virtual bool locate(const std::string &fieldNames, const Values &values, LocateOptions options) = 0;
  bool locate(const std::string &fieldNames, const Value &value, LocateOptions options) {
    return locate(fieldNames, Values{value}, options);
  }
  // The result fields' values of the record whose fields equal the values; nullopt when none.
  // The active record does not change.
  virtual std::optional<Values> lookup(const std::string &keyFields, const Values &keyValues,
                                       const std::string &resultFields) = 0;

  // Record window (for views).
  int bufferCount() const { return bufferCount_; }
  void setBufferCount(int count);
  int windowCount() const { return static_cast<int>(window_.size()); }
  int activeRow() const { return active_; }
  // While it lives, the fields read window row `row` instead of the active record.
  class RowScope {
   public:
    RowScope(DataSet &dataSet, int row);
    ~RowScope();
    RowScope(const RowScope &) = delete;
    RowScope &operator=(const RowScope &) = delete;

   private:
    DataSet &ds_;
    int saved_;
  };

  // Observers.
  void attach(DataSetObserver &observer);
  void detach(DataSetObserver &observer);
  void disableControls();
  void enableControls();
  bool controlsDisabled() const { return disabled_ > 0; }

  // Master/detail: the data set this one follows, or null.
  DataSet *masterDataSet() const { return master_; }

 protected:
  // A fetched record: the implementation's image and the calculated and lookup values.
  struct Record {
    std::vector<std::uint8_t> data;
    std::vector<Value> calc;
  };
  enum class FetchMode : std::uint8_t { Current, Next, Prior };
  enum class KeyKind : std::uint8_t { Lookup, RangeStart, RangeEnd, CurRangeStart, CurRangeEnd, Save };
  struct KeyBuffer {
    bool modified = false;
    bool exclusive = false;
    int fieldCount = 0;
    Record record;
  };

  // Implementation of a cursor.
  virtual void openCursor() = 0;   // opens and fills fieldDefs_
  virtual void afterOpen() {}      // fields exist; position before the first record is done after this
  virtual void closeCursor() = 0;
  virtual void clearRecord(Record &record) = 0;  // empty image, every field null
  virtual void cursorFirst() = 0;  // before the first record
  virtual void cursorLast() = 0;   // after the last record
  // Moves (Next, Prior) or stays (Current) and reads the record there; false when there is none.
  virtual bool fetch(Record &record, FetchMode mode) = 0;
  virtual void positionOn(const Record &record) = 0;  // the cursor onto that record
  virtual Bookmark recordBookmark(const Record &record) const = 0;
  virtual void cursorToBookmark(const Bookmark &bookmark) = 0;
  virtual Value dataFieldValue(const Field &field, const Record &record) = 0;
  virtual void setDataFieldValue(const Field &field, Record &record, const Value &value) = 0;
  // Position of the field among the key fields of the active index, -1 when it is none.
  virtual int keyFieldPosition(const Field &) const { return -1; }
  virtual void beforeStateChange() {}

  // Helpers for implementations.
  void checkActive() const;
  void checkBrowseMode();
  void setState(DataSetState state);
  // Rebuilds the window around the record on which the cursor stands (first record when none).
  void resync();
  // The cursor back onto the active record.
  void updateCursorPos();
  void notify(DataEvent event);
  void rebuildFields();
  Record *activeRecord() { return active_ >= 0 ? &window_[active_] : nullptr; }
  const Record *activeRecord() const { return active_ >= 0 ? &window_[active_] : nullptr; }
  Record &currentRecord();  // the record fields read and write in the current state
  KeyBuffer &keyBuffer(KeyKind kind) { return keyBuffers_[static_cast<int>(kind)]; }
  KeyBuffer *editedKey() { return editedKey_; }
  void clearKeyBuffer(KeyBuffer &key);
  // Enters key editing on that key buffer (cleared first when asked).
  void setKeyBuffer(KeyKind kind, bool clear);
  // Fills calculated and lookup values of a record.
  void calculateFields(Record &record);
  // The values of the fields in a record that is not in the window.
  Values recordValues(Record &record, const std::vector<Field *> &fields);
  // Assigns a data field in a record outside the window (Filter state for the call).
  void assignToRecord(Record &record, Field &field, const Value &value);
  void setMaster(DataSet *master) { master_ = master; }
  void detachAllObservers();

  std::vector<FieldDef> fieldDefs_;

 private:
  friend class Field;
  friend class DataSetObserver;
  struct ExtraField {
    FieldDef def;
    FieldKind kind;
    LookupSpec lookup;
  };

  Value fieldValue(const Field &field);
  void assignField(const Field &field, const Value &value);
  bool fetchInto(Record &record, FetchMode mode);
  void fillForward();
  void fillBackward();

  DataSetState state_ = DataSetState::Inactive;
  std::vector<std::unique_ptr<Field>> fields_;
  std::vector<ExtraField> extraFields_;
  std::vector<std::pair<std::string, Field::GetTextHandler>> textHandlers_;
  CalcFieldsHandler onCalcFields_;
  std::vector<Record> window_;
  int active_ = -1;
  int readRow_ = -1;  // RowScope override
  int bufferCount_ = 1;
  bool bof_ = true;
  bool eof_ = true;
  std::array<KeyBuffer, 6> keyBuffers_;
  KeyBuffer *editedKey_ = nullptr;
  Record *calcRecord_ = nullptr;
  Record *filterRecord_ = nullptr;
  std::vector<DataSetObserver *> observers_;
  Record empty_;  // read when the data set has no records
  int disabled_ = 0;
  bool pendingChange_ = false;
  DataSet *master_ = nullptr;
};

}  // namespace vl
