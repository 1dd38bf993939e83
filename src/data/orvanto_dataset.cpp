#include "data/orvanto_dataset.h"

#include <algorithm>
#include <cmath>
#include <cstring>

#include "data/orvanto_blob_stream.h"
#include "data/orvanto_db.h"
#include "engine/cp1252.h"

namespace vl {

namespace {

// Operation name of an engine error met while reading a record during a move.
constexpr std::string_view kOpRecordRead = "Record Read";

constexpr std::size_t kInfoSize = 13;  // bookmark, record number, repeat count, fetched flag

std::uint32_t readU32(const std::uint8_t *p) {
  return std::uint32_t(p[0]) | std::uint32_t(p[1]) << 8 | std::uint32_t(p[2]) << 16 | std::uint32_t(p[3]) << 24;
}
void writeU32(std::uint8_t *p, std::uint32_t v) {
  for (int i = 0; i < 4; ++i) p[i] = static_cast<std::uint8_t>(v >> (8 * i));
}

Bookmark makeBookmark(std::uint32_t position) {
  Bookmark b(4);
  writeU32(b.data(), position);
  return b;
}

FieldType fieldTypeOf(std::uint8_t type) { return static_cast<FieldType>(type); }

}  // namespace

TOrvantoDataSet::TOrvantoDataSet() = default;

TOrvantoDataSet::~TOrvantoDataSet() {
  close();
  if (db_) db_->unregisterDataSet(*this);
}

// ---- properties ------------------------------------------------------------------------------

void TOrvantoDataSet::setOrvantoDatabase(TOrvantoDB *db) {
  if (db == db_) return;
  close();
  if (db_) db_->unregisterDataSet(*this);
  db_ = db;
  if (db_) db_->registerDataSet(*this);
}

void TOrvantoDataSet::setTableName(const std::string &name) {
  if (name == tableName_) return;
  close();
  tableName_ = name;
}

void TOrvantoDataSet::setEllipsisType(TOrvanto_EllipsisType type) {
  if (type == ellipsis_) return;
  ellipsis_ = type;
  if (!tableOpen()) return;
  table_->SetEllipsisType(type);
  buildFieldDefs();
  refresh();
}

// ---- opening and closing ---------------------------------------------------------------------

void TOrvantoDataSet::openCursor() {
  if (!db_) raiseDatabaseError(dberr::kDatabaseNameMissing, this);
  if (tableName_.empty()) raiseDatabaseError(dberr::kTableNameMissing, this);
  db_->setConnected(true);
  auto table = std::make_unique<TOrvanto_Table_Engine>(&db_->engine());
  table->SetTableName(utf8ToCp1252(tableName_));
  table->OpenOrRaise();
  table_ = std::move(table);
  table_->SetEllipsisType(ellipsis_);
  buildFieldDefs();
  takeKeyInfo();
  rangeSet_ = false;
}

void TOrvantoDataSet::closeCursor() {
  table_.reset();
  keyFieldNos_.clear();
  keyLength_ = 0;
  keyCaseInsensitive_ = false;
  previewColumns_.clear();
  rangeSet_ = false;
}

void TOrvantoDataSet::buildFieldDefs() {
  fieldDefs_.clear();
  previewColumns_.clear();
  for (std::size_t i = 0; i < table_->ColumnCount(); ++i) {
    const TOrvanto_iLow_Field &c = table_->Column(i);
    FieldDef def;
    def.name = cp1252ToUtf8(c.name);
    def.fieldNo = static_cast<int>(i) + 1;
    def.readOnly = true;
    switch (c.type) {
      case orv::ctString:
        def.type = FieldType::String;
        def.size = static_cast<int>(c.declaredSize);
        break;
      case orv::ctBytes:
        def.type = FieldType::String;
        def.size = static_cast<int>(c.declaredSize);
        def.fixedSize = true;
        break;
      case orv::ctMemo:
      case orv::ctBlob:
        if (c.hasPreview()) {
          def.type = FieldType::String;
          def.size = c.previewLength;
          previewColumns_.push_back(static_cast<int>(i));
        } else {
          def.type = fieldTypeOf(c.type);
        }
        break;
      case orv::ctFloat:
      case orv::ctCurrency:
        def.type = fieldTypeOf(c.type);
        def.precision = c.p1;
        def.fixedSize = true;
        break;
      default:
        def.type = fieldTypeOf(c.type);
        def.fixedSize = true;
        break;
    }
    fieldDefs_.push_back(def);
  }
  infoOffset_ = table_->RecordBufferSize();
}

void TOrvantoDataSet::takeKeyInfo() {
  keyFieldNos_.clear();
  const TOrvanto_iLow_Index &idx = table_->Index(table_->ActiveIndex());
  for (const auto &segment : idx.segments) keyFieldNos_.push_back(segment.column + 1);
  keyLength_ = idx.keyLength;
  keyCaseInsensitive_ = (idx.flags & orv::kIndexCaseInsensitive) != 0;
}

// ---- records ---------------------------------------------------------------------------------

void TOrvantoDataSet::clearRecord(Record &record) {
  record.data.assign(infoOffset_ + kInfoSize + previewColumns_.size(), 0);
  table_->ClearRecord(record.data.data());
}

TOrvantoDataSet::RecordInfo TOrvantoDataSet::recordInfo(const Record &record) const {
  RecordInfo info;
  if (record.data.size() < infoOffset_ + kInfoSize) return info;
  const std::uint8_t *p = record.data.data() + infoOffset_;
  info.bookmark = readU32(p);
  info.recNo = readU32(p + 4);
  info.repeat = readU32(p + 8);
  info.fetched = p[12];
  return info;
}

void TOrvantoDataSet::fillRecordInfo(Record &record) {
  std::uint8_t *p = record.data.data() + infoOffset_;
  writeU32(p, table_->GetBookmark());
  writeU32(p + 4, table_->Position());
  writeU32(p + 8, table_->Unique() ? table_->GroupSize() + 1 : 0);
  p[12] = 1;
  for (std::size_t i = 0; i < previewColumns_.size(); ++i)
    p[kInfoSize + i] = table_->PreviewComplete(static_cast<std::size_t>(previewColumns_[i])) ? 0 : 1;
}

bool TOrvantoDataSet::fetch(Record &record, FetchMode mode) {
  if (record.data.size() != infoOffset_ + kInfoSize + previewColumns_.size()) clearRecord(record);
  std::uint8_t *buffer = record.data.data();
  switch (mode) {
    case FetchMode::Current:
      if (table_->State() != orvCsOnRecord) return false;
      table_->ReadRecord(buffer);
      break;
    case FetchMode::Next:
      if (!table_->Next(buffer)) return false;
      break;
    case FetchMode::Prior:
      if (!table_->Prior(buffer)) return false;
      break;
  }
  if (!table_->LastError().isClear()) throw EOrvanto_Engine_Error(kOpRecordRead, table_->LastError());
  fillRecordInfo(record);
  return true;
}

void TOrvantoDataSet::cursorFirst() { table_->First(); }
void TOrvantoDataSet::cursorLast() { table_->Last(); }

void TOrvantoDataSet::positionOn(const Record &record) {
  const RecordInfo info = recordInfo(record);
  if (info.fetched) table_->GotoBookmark(info.bookmark);
}

Bookmark TOrvantoDataSet::recordBookmark(const Record &record) const {
  const RecordInfo info = recordInfo(record);
  return info.fetched ? makeBookmark(info.bookmark) : Bookmark{};
}

void TOrvantoDataSet::cursorToBookmark(const Bookmark &bookmark) {
  if (bookmark.size() == 4) table_->GotoBookmark(readU32(bookmark.data()));
}

bool TOrvantoDataSet::bookmarkValid(const Bookmark &bookmark) {
  return tableOpen() && bookmark.size() == 4 && table_->BookmarkValid(readU32(bookmark.data()));
}

int TOrvantoDataSet::compareBookmarks(const Bookmark &a, const Bookmark &b) const {
  if (a.size() != 4 || b.size() != 4) return (a.size() == 4 ? 1 : 0) - (b.size() == 4 ? 1 : 0);
  return TOrvanto_iLow_Table::CompareBookmarks(readU32(a.data()), readU32(b.data()));
}

std::uint32_t TOrvantoDataSet::recordCount() { return tableOpen() ? table_->Count() : 0; }

std::uint32_t TOrvantoDataSet::recNo() {
  const Record *r = activeRecord();
  return r ? recordInfo(*r).recNo : 0;
}

void TOrvantoDataSet::setRecNo(std::uint32_t value) {
  checkBrowseMode();
  if (value < 1 || value > recordCount() || value == recNo()) return;
  if (table_->Unique())
    updateCursorPos();
  else
    table_->GoTo(value);
  resync();
}

std::uint32_t TOrvantoDataSet::recordNumber() { return active() ? recordInfo(currentRecord()).recNo : 0; }

std::uint32_t TOrvantoDataSet::repeatCount() { return active() ? recordInfo(currentRecord()).repeat : 0; }

bool TOrvantoDataSet::previewTruncated(const Field &field) {
  if (!active() || &field.dataSet() != this) return false;
  const auto it = std::find(previewColumns_.begin(), previewColumns_.end(), field.fieldNo() - 1);
  if (it == previewColumns_.end()) return false;
  const Record &r = currentRecord();
  const std::size_t at = infoOffset_ + kInfoSize + static_cast<std::size_t>(it - previewColumns_.begin());
  return at < r.data.size() && r.data[at] != 0;
}

// ---- field values ----------------------------------------------------------------------------

Value TOrvantoDataSet::dataFieldValue(const Field &field, const Record &record) {
  const auto column = static_cast<std::size_t>(field.fieldNo() - 1);
  if (!tableOpen() || column >= table_->ColumnCount() || record.data.size() < infoOffset_) return {};
  const std::uint8_t *buffer = record.data.data();
  if (TOrvanto_iLow_Table::IsNull(buffer, column)) return {};
  const TOrvanto_iLow_Field &c = table_->Column(column);
  const std::uint8_t *slot = buffer + c.slotOffset;
  std::int32_t i32 = 0;
  double d = 0;
  switch (c.type) {
    case orv::ctString:
    case orv::ctBytes:
      return cp1252ToUtf8(table_->StringValue(buffer, column));
    case orv::ctMemo:
    case orv::ctBlob:
      if (c.hasPreview()) return cp1252ToUtf8(table_->StringValue(buffer, column));
      return c.type == orv::ctMemo ? Value(cp1252ToUtf8(readWholeBlob(field, record)))
                                   : Value(readWholeBlob(field, record));
    case orv::ctBoolean:
      return slot[0] != 0;
    case orv::ctFloat:
    case orv::ctCurrency:
      std::memcpy(&d, slot, 8);
      return d;
    case orv::ctDate:
      i32 = static_cast<std::int32_t>(readU32(slot));
      return storedEpoch() + std::chrono::days(i32 - 1);
    case orv::ctTime:
      i32 = static_cast<std::int32_t>(readU32(slot));
      return storedEpoch() + std::chrono::milliseconds(i32);
    case orv::ctDateTime:
      std::memcpy(&d, slot, 8);
      if (!std::isfinite(d)) return {};
      return storedEpoch() + std::chrono::milliseconds(std::llround(d));
    default:
      return std::int64_t{static_cast<std::int32_t>(readU32(slot))};
  }
}

std::string TOrvantoDataSet::readWholeBlob(const Field &field, const Record &) {
  TOrvantoBlobStream stream(field);
  return stream.readAll();
}

void TOrvantoDataSet::setDataFieldValue(const Field &field, Record &record, const Value &value) {
  const auto column = static_cast<std::size_t>(field.fieldNo() - 1);
  if (!tableOpen() || column >= table_->ColumnCount()) return;
  std::uint8_t *buffer = record.data.data();
  const TOrvanto_iLow_Field &c = table_->Column(column);
  if (c.isBlob()) return;  // blob segments take no part in key comparison
  if (value.isNull()) {
    setColumnNull(buffer, column, true);
    return;
  }
  std::vector<std::uint8_t> slot(std::max<std::size_t>(c.slotSize, 8), 0);
  const auto integer = [&] {
    const auto v = valueToInteger(value);
    if (!v || *v < INT32_MIN || *v > INT32_MAX) raiseConversionError(field, field.fieldName());
    writeU32(slot.data(), static_cast<std::uint32_t>(static_cast<std::int32_t>(*v)));
  };
  const auto dateTime = [&]() -> DateTime {
    if (!value.holds<DateTime>()) raiseConversionError(field, field.fieldName());
    return value.get<DateTime>();
  };
  switch (c.type) {
    case orv::ctString:
    case orv::ctBytes: {
      std::string text;
      if (value.holds<std::string>())
        text = utf8ToCp1252(value.get<std::string>());
      else if (const auto v = value.holds<std::int64_t>() ? valueToInteger(value) : std::nullopt)
        text = std::to_string(*v);
      else
        raiseConversionError(field, field.fieldName());
      text = text.substr(0, std::min<std::size_t>(c.declaredSize, text.find('\0')));
      std::memcpy(slot.data(), text.data(), text.size());
      break;
    }
    case orv::ctBoolean: {
      const auto v = valueToBoolean(value);
      if (!v) raiseConversionError(field, field.fieldName());
      slot[0] = *v ? 1 : 0;
      break;
    }
    case orv::ctFloat:
    case orv::ctCurrency:
    case orv::ctDateTime: {
      double d = 0;
      if (c.type == orv::ctDateTime) {
        d = static_cast<double>((dateTime() - storedEpoch()).count());
      } else {
        const auto v = valueToFloat(value);
        if (!v) raiseConversionError(field, field.fieldName());
        d = *v;
      }
      std::memcpy(slot.data(), &d, 8);
      break;
    }
    case orv::ctDate: {
      const auto days = std::chrono::floor<std::chrono::days>(dateTime() - storedEpoch()).count() + 1;
      writeU32(slot.data(), static_cast<std::uint32_t>(static_cast<std::int32_t>(days)));
      break;
    }
    case orv::ctTime: {
      const DateTime t = dateTime();
      const auto ms = (t - std::chrono::floor<std::chrono::days>(t)).count();
      writeU32(slot.data(), static_cast<std::uint32_t>(ms));
      break;
    }
    default:
      integer();
      break;
  }
  table_->PutColumnValue(buffer, column, slot.data());
}

int TOrvantoDataSet::keyFieldPosition(const Field &field) const {
  for (std::size_t i = 0; i < keyFieldNos_.size(); ++i)
    if (keyFieldNos_[i] == field.fieldNo()) return static_cast<int>(i);
  return -1;
}

Field &TOrvantoDataSet::keyField(std::size_t position) {
  const int no = keyFieldNos_.at(position);
  for (std::size_t i = 0; i < fieldCount(); ++i)
    if (field(i).kind() == FieldKind::Data && field(i).fieldNo() == no) return field(i);
  raiseDatabaseError(dberr::kCannotAccessIndexField, cp1252ToUtf8(table_->Column(no - 1).name), this);
}

// ---- indexes ---------------------------------------------------------------------------------

std::uint16_t TOrvantoDataSet::activeIndexNumber() const { return tableOpen() ? table_->ActiveIndex() : 0; }

std::size_t TOrvantoDataSet::indexCount() const { return tableOpen() ? table_->IndexCount() : 0; }

const TOrvanto_iLow_Index &TOrvantoDataSet::index(std::size_t i) const {
  checkActive();
  return table_->Index(i);
}

void TOrvantoDataSet::switchToIndex(std::uint16_t number) {
  checkBrowseMode();
  updateCursorPos();
  cancelKeyRange();
  table_->SwitchIndex(number);
  takeKeyInfo();
  if (table_->ReFind())
    resync();
  else
    first();
}

bool TOrvantoDataSet::applyKeyRange() {
  KeyBuffer &start = keyBuffer(KeyKind::RangeStart);
  KeyBuffer &end = keyBuffer(KeyKind::RangeEnd);
  KeyBuffer &curStart = keyBuffer(KeyKind::CurRangeStart);
  KeyBuffer &curEnd = keyBuffer(KeyKind::CurRangeEnd);
  if (rangeSet_ && start.fieldCount == curStart.fieldCount && end.fieldCount == curEnd.fieldCount &&
      start.record.data == curStart.record.data && end.record.data == curEnd.record.data)
    return false;
  if (activeIndexNumber() == 0) raiseDatabaseError(dberr::kNoIndexActive, this);
  updateCursorPos();
  table_->SetKeyRange(false, start.record.data.data(), static_cast<unsigned>(start.fieldCount), true,
                      end.record.data.data(), static_cast<unsigned>(end.fieldCount), true);
  if (!table_->LastError().isClear()) throw EOrvanto_Engine_Error(orv::kOpIndexRead, table_->LastError());
  curStart = start;
  curEnd = end;
  rangeSet_ = true;
  return true;
}

bool TOrvantoDataSet::cancelKeyRange() {
  if (!rangeSet_) return false;
  table_->WholeTable();
  clearKeyBuffer(keyBuffer(KeyKind::CurRangeStart));
  clearKeyBuffer(keyBuffer(KeyKind::CurRangeEnd));
  rangeSet_ = false;
  return true;
}

// ---- key search ------------------------------------------------------------------------------

bool TOrvantoDataSet::findKey(const Values &values) {
  checkBrowseMode();
  if (activeIndexNumber() == 0) raiseDatabaseError(dberr::kNoIndexActive, this);
  setKey();
  try {
    if (values.size() > keyFieldNos_.size()) raiseDatabaseError(dberr::kFieldIndexOutOfRange, this);
    for (std::size_t i = 0; i < values.size(); ++i) keyField(i).setValue(values[i]);
  } catch (...) {
    cancel();
    throw;
  }
  return gotoKey();
}

bool TOrvantoDataSet::gotoKey() {
  checkBrowseMode();
  if (activeIndexNumber() == 0) raiseDatabaseError(dberr::kNoIndexActive, this);
  KeyBuffer &key = keyBuffer(KeyKind::Lookup);
  std::vector<std::uint8_t> image(std::max<std::uint32_t>(keyLength_, 1));
  table_->BuildKeyForActive(key.record.data.data(), image.data());
  updateCursorPos();
  const bool found = table_->FindKey(static_cast<unsigned>(key.fieldCount), 0, image.data(), true, nullptr);
  if (found)
    resync();
  else
    updateCursorPos();
  return found;
}

bool TOrvantoDataSet::searchRecord(const std::string &fieldNames, const Values &values, LocateOptions options,
                                   Record &temp) {
  checkBrowseMode();
  const std::vector<Field *> fields = fieldList(fieldNames);
  if (fields.empty()) raiseDatabaseError(dberr::kNoIndexForFields, fieldNames, this);
  const bool caseInsensitive = (options & loCaseInsensitive) != 0;
  const bool text = std::any_of(fields.begin(), fields.end(), [](Field *f) { return f->isText(); });

  // The index: the active one when its leading key fields are the requested ones.
  int chosen = -1;
  const std::uint16_t activeIndex = table_->ActiveIndex();
  if (activeIndex != 0 && keyFieldNos_.size() >= fields.size() && (!text || keyCaseInsensitive_ == caseInsensitive)) {
    bool same = true;
    for (std::size_t i = 0; i < fields.size() && same; ++i)
      same = fields[i]->kind() == FieldKind::Data && keyFieldNos_[i] == fields[i]->fieldNo();
    if (same) chosen = activeIndex;
  }
  if (chosen < 0) {
    std::string wanted;
    for (Field *f : fields) wanted += f->fieldName() + ";";
    const auto defs = table_->IndexDefinitions();
    for (int pass = 0; pass < 2 && chosen < 0; ++pass) {
      for (std::size_t i = 1; i < defs.size() && chosen < 0; ++i) {
        const TOrvanto_iLow_Index &idx = table_->Index(i);
        const bool ci = (idx.flags & orv::kIndexCaseInsensitive) != 0;
        if (text && ci != caseInsensitive) continue;
        std::string names = cp1252ToUtf8(defs[i].fields) + ";";
        if (pass == 1) names = names.substr(0, std::min(names.size(), wanted.size()));
        if (sameFieldName(names, wanted)) chosen = static_cast<int>(i);
      }
    }
  }
  if (chosen < 0) raiseDatabaseError(dberr::kNoIndexForFields, fieldNames, this);

  // The values into a cleared record.
  clearRecord(temp);
  for (std::size_t i = 0; i < fields.size(); ++i)
    assignToRecord(temp, *fields[i], i < values.size() ? values[i] : Value{});
  std::uint32_t partial = 0;
  if ((options & loPartialKey) && fields.back()->dataType() == FieldType::String) {
    const Value &last = fields.size() - 1 < values.size() ? values[fields.size() - 1] : Value{};
    if (last.holds<std::string>()) partial = static_cast<std::uint32_t>(utf8ToCp1252(last.get<std::string>()).size());
  }

  updateCursorPos();
  const auto segments = static_cast<unsigned>(fields.size());
  std::vector<std::uint8_t> found(temp.data.size());
  if (chosen == activeIndex) return table_->FindKey(segments, partial, temp.data.data(), false, found.data());

  const bool refind = table_->ReFind();
  table_->SetReFind(false);
  const TOrvanto_Saved_State saved = table_->SaveState();
  bool result = false;
  try {
    table_->SwitchIndexOrRaise(static_cast<std::uint16_t>(chosen));
    result = table_->FindKey(segments, partial, temp.data.data(), false, found.data());
    std::optional<std::uint32_t> bookmark;
    if (result) {
      bookmark = table_->GetBookmark();
      table_->SetReFind(true);
    }
    table_->RestoreState(saved, bookmark);
  } catch (...) {
    table_->SetReFind(refind);
    throw;
  }
  table_->SetReFind(refind);
  return result;
}

bool TOrvantoDataSet::locate(const std::string &fieldNames, const Values &values, LocateOptions options) {
  Record temp;
  const bool found = searchRecord(fieldNames, values, options, temp);
  if (found)
    resync();
  else
    updateCursorPos();
  return found;
}

std::optional<Values> TOrvantoDataSet::lookup(const std::string &keyFields, const Values &keyValues,
                                              const std::string &resultFields) {
  checkBrowseMode();
  const std::vector<Field *> results = fieldList(resultFields);
  Record temp;
  std::optional<Values> values;
  try {
    if (searchRecord(keyFields, keyValues, 0, temp)) {
      Record record;
      if (fetch(record, FetchMode::Current)) {
        calculateFields(record);
        values = recordValues(record, results);
      }
    }
  } catch (...) {
    updateCursorPos();
    throw;
  }
  updateCursorPos();
  return values;
}

// ---- information and checks ------------------------------------------------------------------

TOrvanto_Table_Info TOrvantoDataSet::getTableInfo() {
  if (!db_) raiseDatabaseError(dberr::kDatabaseNameMissing, this);
  if (tableName_.empty()) raiseDatabaseError(dberr::kTableNameMissing, this);
  if (tableOpen()) return table_->GetInfo();
  db_->setConnected(true);
  TOrvanto_Table_Engine table(&db_->engine());
  table.SetTableName(utf8ToCp1252(tableName_));
  return table.GetInfo();
}

bool TOrvantoDataSet::verify(const TOrvanto_Progress &progress, void *context) {
  checkBrowseMode();
  updateCursorPos();
  const bool ok = table_->Verify(progress, context);
  updateCursorPos();
  return ok;
}

// ---- refused operations ----------------------------------------------------------------------

void TOrvantoDataSet::insert() { raiseDatabaseError(dberr::kNotSupported, this); }
void TOrvantoDataSet::append() { raiseDatabaseError(dberr::kNotSupported, this); }
void TOrvantoDataSet::edit() { raiseDatabaseError(dberr::kNotSupported, this); }
void TOrvantoDataSet::remove() { raiseDatabaseError(dberr::kNotSupported, this); }
void TOrvantoDataSet::findRecord(bool, bool) { raiseDatabaseError(dberr::kNotSupported, this); }

void TOrvantoDataSet::post() {
  if (state() != DataSetState::SetKey) raiseDatabaseError(dberr::kNotSupported, this);
  checkBrowseMode();
}

}  // namespace vl
