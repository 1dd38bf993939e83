#include "data/dataset.h"

#include <algorithm>

namespace vl {

namespace {

// Restores a data set member when leaving a scope.
template <class T> class Restore {
 public:
  Restore(T &ref, T value) : ref_(ref), saved_(ref) { ref_ = value; }
  ~Restore() { ref_ = saved_; }
  Restore(const Restore &) = delete;
  Restore &operator=(const Restore &) = delete;

 private:
  T &ref_;
  T saved_;
};

}  // namespace

DataSetObserver::~DataSetObserver() {
  const auto observed = observed_;
  for (DataSet *ds : observed) ds->detach(*this);
}

DataSet::DataSet() = default;

DataSet::~DataSet() { detachAllObservers(); }

void DataSet::detachAllObservers() {
  const auto observers = observers_;
  for (DataSetObserver *o : observers) {
    detach(*o);
    o->dataSetDestroyed(*this);
  }
}

// ---- opening and closing -------------------------------------------------------------------

void DataSet::open() {
  if (active()) return;
  openCursor();
  try {
    rebuildFields();
    for (auto &key : keyBuffers_) clearKeyBuffer(key);
    clearRecord(empty_);
    empty_.calc.assign(extraFields_.size(), Value{});
    state_ = DataSetState::Browse;
    afterOpen();
    first();
  } catch (...) {
    window_.clear();
    active_ = -1;
    state_ = DataSetState::Inactive;
    closeCursor();
    fields_.clear();
    fieldDefs_.clear();
    throw;
  }
  notify(DataEvent::Opened);
}

void DataSet::close() {
  if (!active()) return;
  state_ = DataSetState::Browse;
  editedKey_ = nullptr;
  window_.clear();
  active_ = -1;
  readRow_ = -1;
  closeCursor();
  fields_.clear();
  fieldDefs_.clear();
  for (auto &key : keyBuffers_) key = KeyBuffer{};
  bof_ = eof_ = true;
  state_ = DataSetState::Inactive;
  notify(DataEvent::Closed);
}

void DataSet::checkActive() const {
  if (!active()) raiseDatabaseError(dberr::kDataSetClosed, this);
}

void DataSet::checkBrowseMode() {
  checkActive();
  if (state_ == DataSetState::SetKey) setState(DataSetState::Browse);
  else if (state_ != DataSetState::Browse) raiseDatabaseError(dberr::kNotBrowsing, this);
}

void DataSet::setState(DataSetState state) {
  if (state == state_) return;
  beforeStateChange();
  state_ = state;
  if (state != DataSetState::SetKey) editedKey_ = nullptr;
  notify(DataEvent::StateChanged);
}

// ---- fields ----------------------------------------------------------------------------------

void DataSet::rebuildFields() {
  fields_.clear();
  for (const FieldDef &def : fieldDefs_)
    fields_.push_back(std::make_unique<Field>(*this, def, FieldKind::Data, static_cast<int>(fields_.size())));
  int calc = 0;
  for (const ExtraField &extra : extraFields_) {
    auto f = std::make_unique<Field>(*this, extra.def, extra.kind, static_cast<int>(fields_.size()));
    f->calcIndex_ = calc++;
    f->lookup_ = extra.lookup;
    fields_.push_back(std::move(f));
  }
  for (const auto &[name, handler] : textHandlers_)
    if (Field *f = findField(name)) f->setGetTextHandler(handler);
}

Field *DataSet::findField(const std::string &name) const {
  for (const auto &f : fields_)
    if (sameFieldName(f->fieldName(), name)) return f.get();
  return nullptr;
}

Field &DataSet::fieldByName(const std::string &name) const {
  Field *f = findField(name);
  if (!f) raiseDatabaseError(dberr::kFieldNotFound, name, this);
  return *f;
}

std::vector<Field *> DataSet::fieldList(const std::string &names) const {
  std::vector<Field *> list;
  std::size_t start = 0;
  while (start <= names.size()) {
    auto end = names.find(';', start);
    if (end == std::string::npos) end = names.size();
    std::string name = names.substr(start, end - start);
    const auto b = name.find_first_not_of(' ');
    const auto e = name.find_last_not_of(' ');
    name = b == std::string::npos ? std::string() : name.substr(b, e - b + 1);
    if (!name.empty()) list.push_back(&fieldByName(name));
    start = end + 1;
  }
  return list;
}

void DataSet::addCalculatedField(const std::string &name, FieldType type, int size) {
  if (active()) raiseDatabaseError(dberr::kNotSupported, this);
  FieldDef def;
  def.name = name;
  def.type = type;
  def.size = size;
  extraFields_.push_back({def, FieldKind::Calculated, {}});
}

void DataSet::addLookupField(const std::string &name, int size, const LookupSpec &lookup) {
  if (active()) raiseDatabaseError(dberr::kNotSupported, this);
  FieldDef def;
  def.name = name;
  def.type = FieldType::String;
  def.size = size;
  extraFields_.push_back({def, FieldKind::Lookup, lookup});
}

void DataSet::setGetTextHandler(const std::string &fieldName, Field::GetTextHandler handler) {
  textHandlers_.emplace_back(fieldName, handler);
  if (Field *f = findField(fieldName)) f->setGetTextHandler(std::move(handler));
}

DataSet::Record &DataSet::currentRecord() {
  switch (state_) {
    case DataSetState::SetKey:
      if (editedKey_) return editedKey_->record;
      break;
    case DataSetState::CalcFields:
      if (calcRecord_) return *calcRecord_;
      break;
    case DataSetState::Filter:
      if (filterRecord_) return *filterRecord_;
      break;
    default:
      break;
  }
  if (readRow_ >= 0 && readRow_ < static_cast<int>(window_.size())) return window_[readRow_];
  if (active_ >= 0) return window_[active_];
  return empty_;
}

Value DataSet::fieldValue(const Field &field) {
  checkActive();
  Record &record = currentRecord();
  if (field.kind() != FieldKind::Data) {
    const auto i = static_cast<std::size_t>(field.calcIndex_);
    return i < record.calc.size() ? record.calc[i] : Value{};
  }
  return dataFieldValue(field, record);
}

void DataSet::assignField(const Field &field, const Value &value) {
  checkActive();
  switch (state_) {
    case DataSetState::SetKey: {
      const int position = field.kind() == FieldKind::Data ? keyFieldPosition(field) : -1;
      if (position < 0 || !editedKey_) raiseDatabaseError(dberr::kFieldNotIndexed, field.displayName(), this);
      setDataFieldValue(field, editedKey_->record, value);
      editedKey_->modified = true;
      editedKey_->fieldCount = std::max(editedKey_->fieldCount, position + 1);
      return;
    }
    case DataSetState::CalcFields:
    case DataSetState::Filter: {
      Record &record = currentRecord();
      if (field.kind() != FieldKind::Data) {
        const auto i = static_cast<std::size_t>(field.calcIndex_);
        if (record.calc.size() <= i) record.calc.resize(i + 1);
        record.calc[i] = value;
        return;
      }
      if (state_ == DataSetState::CalcFields)
        raiseDatabaseError(dberr::kFieldReadOnly, field.displayName(), this);
      setDataFieldValue(field, record, value);
      return;
    }
    default:
      raiseDatabaseError(dberr::kNotEditing, this);
  }
}

void DataSet::calculateFields(Record &record) {
  record.calc.assign(extraFields_.size(), Value{});
  if (extraFields_.empty()) return;
  Restore<DataSetState> state(state_, DataSetState::CalcFields);
  Restore<Record *> calc(calcRecord_, &record);
  for (const auto &f : fields_) {
    if (f->kind() != FieldKind::Lookup) continue;
    const LookupSpec &spec = f->lookup();
    if (!spec.lookupDataSet || !spec.lookupDataSet->active()) continue;
    Values keys;
    for (Field *k : fieldList(spec.keyFields)) keys.push_back(k->value());
    if (auto found = spec.lookupDataSet->lookup(spec.lookupKeyFields, keys, spec.resultField); found && !found->empty())
      record.calc[static_cast<std::size_t>(f->calcIndex_)] = found->front();
  }
  if (onCalcFields_) onCalcFields_(*this);
}

Values DataSet::recordValues(Record &record, const std::vector<Field *> &fields) {
  Restore<DataSetState> state(state_, DataSetState::CalcFields);
  Restore<Record *> calc(calcRecord_, &record);
  Values values;
  for (Field *f : fields) values.push_back(f->value());
  return values;
}

void DataSet::assignToRecord(Record &record, Field &field, const Value &value) {
  Restore<DataSetState> state(state_, DataSetState::Filter);
  Restore<Record *> filter(filterRecord_, &record);
  field.setValue(value);
}

// ---- key buffers -----------------------------------------------------------------------------

void DataSet::clearKeyBuffer(KeyBuffer &key) {
  key.modified = false;
  key.exclusive = false;
  key.fieldCount = 0;
  clearRecord(key.record);
  key.record.calc.assign(extraFields_.size(), Value{});
}

void DataSet::setKeyBuffer(KeyKind kind, bool clear) {
  checkBrowseMode();
  KeyBuffer &key = keyBuffer(kind);
  keyBuffer(KeyKind::Save) = key;
  if (clear) clearKeyBuffer(key);
  setState(DataSetState::SetKey);
  editedKey_ = &key;
}

void DataSet::setKey() { setKeyBuffer(KeyKind::Lookup, true); }
void DataSet::editKey() { setKeyBuffer(KeyKind::Lookup, false); }

void DataSet::cancel() {
  if (state_ != DataSetState::SetKey || !editedKey_) return;
  *editedKey_ = keyBuffer(KeyKind::Save);
  setState(DataSetState::Browse);
}

// ---- moving ----------------------------------------------------------------------------------

bool DataSet::fetchInto(Record &record, FetchMode mode) {
  if (!fetch(record, mode)) return false;
  calculateFields(record);
  return true;
}

void DataSet::fillForward() {
  while (static_cast<int>(window_.size()) < bufferCount_) {
    Record r;
    if (!fetchInto(r, FetchMode::Next)) break;
    window_.push_back(std::move(r));
  }
}

void DataSet::fillBackward() {
  while (static_cast<int>(window_.size()) < bufferCount_) {
    Record r;
    if (!fetchInto(r, FetchMode::Prior)) break;
    window_.insert(window_.begin(), std::move(r));
    if (active_ >= 0) ++active_;
  }
}

void DataSet::updateCursorPos() {
  if (const Record *r = activeRecord()) positionOn(*r);
}

void DataSet::first() {
  checkBrowseMode();
  cursorFirst();
  window_.clear();
  active_ = -1;
  fillForward();
  active_ = window_.empty() ? -1 : 0;
  bof_ = true;
  eof_ = window_.empty();
  updateCursorPos();
  notify(DataEvent::DataChanged);
}

void DataSet::last() {
  checkBrowseMode();
  cursorLast();
  window_.clear();
  active_ = -1;
  fillBackward();
  active_ = static_cast<int>(window_.size()) - 1;
  eof_ = true;
  bof_ = window_.empty();
  updateCursorPos();
  notify(DataEvent::DataChanged);
}

void DataSet::next() {
  checkBrowseMode();
  if (eof_) return;
  bof_ = false;
  if (window_.empty()) {
    eof_ = true;
    return;
  }
  if (active_ + 1 < static_cast<int>(window_.size())) {
    ++active_;
  } else {
    positionOn(window_.back());
    Record r;
    if (!fetchInto(r, FetchMode::Next)) {
      eof_ = true;
      updateCursorPos();
      return;
    }
    if (static_cast<int>(window_.size()) >= bufferCount_) window_.erase(window_.begin());
    window_.push_back(std::move(r));
    active_ = static_cast<int>(window_.size()) - 1;
  }
  updateCursorPos();
  notify(DataEvent::RecordChanged);
}

void DataSet::prior() {
  checkBrowseMode();
  if (bof_) return;
  eof_ = false;
  if (window_.empty()) {
    bof_ = true;
    return;
  }
  if (active_ > 0) {
    --active_;
  } else {
    positionOn(window_.front());
    Record r;
    if (!fetchInto(r, FetchMode::Prior)) {
      bof_ = true;
      updateCursorPos();
      return;
    }
    if (static_cast<int>(window_.size()) >= bufferCount_) window_.pop_back();
    window_.insert(window_.begin(), std::move(r));
    active_ = 0;
  }
  updateCursorPos();
  notify(DataEvent::RecordChanged);
}

int DataSet::moveBy(int distance) {
  int moved = 0;
  while (distance > 0 && !eof_) {
    const auto before = bookmark();
    next();
    if (eof_ && bookmark() == before) break;
    ++moved;
    --distance;
  }
  while (distance < 0 && !bof_) {
    const auto before = bookmark();
    prior();
    if (bof_ && bookmark() == before) break;
    --moved;
    ++distance;
  }
  return moved;
}

void DataSet::resync() {
  Record current;
  if (!fetchInto(current, FetchMode::Current)) {
    first();
    return;
  }
  const int keep = std::clamp(active_, 0, bufferCount_ - 1);
  window_.clear();
  window_.push_back(std::move(current));
  active_ = 0;
  positionOn(window_.front());
  while (active_ < keep) {
    Record r;
    if (!fetchInto(r, FetchMode::Prior)) break;
    window_.insert(window_.begin(), std::move(r));
    ++active_;
  }
  positionOn(window_.back());
  fillForward();
  if (static_cast<int>(window_.size()) < bufferCount_) {
    positionOn(window_.front());
    fillBackward();
  }
  bof_ = eof_ = false;
  updateCursorPos();
  notify(DataEvent::DataChanged);
}

void DataSet::refresh() {
  checkBrowseMode();
  updateCursorPos();
  resync();
}

void DataSet::setBufferCount(int count) {
  count = std::max(1, count);
  if (count == bufferCount_) return;
  bufferCount_ = count;
  if (state_ == DataSetState::Browse && !window_.empty()) {
    updateCursorPos();
    const bool bof = bof_, eof = eof_;
    resync();
    bof_ = bof;
    eof_ = eof;
  }
}

// ---- bookmarks -------------------------------------------------------------------------------

Bookmark DataSet::bookmark() const {
  const Record *r = activeRecord();
  return r ? recordBookmark(*r) : Bookmark{};
}

void DataSet::gotoBookmark(const Bookmark &bookmark) {
  checkBrowseMode();
  if (bookmark.empty()) return;
  cursorToBookmark(bookmark);
  resync();
}

// ---- row window ------------------------------------------------------------------------------

DataSet::RowScope::RowScope(DataSet &dataSet, int row) : ds_(dataSet), saved_(dataSet.readRow_) {
  if (row < 0 || row >= dataSet.windowCount()) raiseDatabaseError(dberr::kFieldIndexOutOfRange, &dataSet);
  ds_.readRow_ = row;
}

DataSet::RowScope::~RowScope() { ds_.readRow_ = saved_; }

// ---- observers -------------------------------------------------------------------------------

void DataSet::attach(DataSetObserver &observer) {
  if (std::find(observers_.begin(), observers_.end(), &observer) != observers_.end()) return;
  observers_.push_back(&observer);
  observer.observed_.push_back(this);
}

void DataSet::detach(DataSetObserver &observer) {
  observers_.erase(std::remove(observers_.begin(), observers_.end(), &observer), observers_.end());
  auto &list = observer.observed_;
  list.erase(std::remove(list.begin(), list.end(), this), list.end());
}

void DataSet::notify(DataEvent event) {
  const bool held = event == DataEvent::RecordChanged || event == DataEvent::DataChanged ||
                    event == DataEvent::LayoutChanged;
  if (held && disabled_ > 0) {
    pendingChange_ = true;
    return;
  }
  const auto observers = observers_;
  for (DataSetObserver *o : observers)
    if (std::find(observers_.begin(), observers_.end(), o) != observers_.end()) o->dataSetEvent(*this, event);
}

void DataSet::disableControls() { ++disabled_; }

void DataSet::enableControls() {
  if (disabled_ == 0) return;
  if (--disabled_ == 0 && pendingChange_) {
    pendingChange_ = false;
    if (active()) notify(DataEvent::DataChanged);
  }
}

}  // namespace vl
