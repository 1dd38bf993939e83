#include "data/orvanto_table.h"

#include "data/data_error.h"
#include "engine/cp1252.h"

namespace vl {

namespace {
constexpr const char *kPrimary = "<Primary>";
}

TOrvantoTable::TOrvantoTable() { setEllipsisType(orvEtThreeDots); }

TOrvantoTable::~TOrvantoTable() {
  if (DataSet *master = masterDataSet()) master->detach(link_);
  setMaster(nullptr);
}

// ---- indexes ---------------------------------------------------------------------------------

void TOrvantoTable::updateIndexDefs() {
  indexDefs_ = table().IndexDefinitions();
  for (auto &def : indexDefs_) {
    def.name = cp1252ToUtf8(def.name);
    def.fields = cp1252ToUtf8(def.fields);
    def.descFields = cp1252ToUtf8(def.descFields);
  }
}

void TOrvantoTable::setIndexName(const std::string &name) {
  if (!active()) {
    indexName_ = name;
    return;
  }
  if (name == indexName_) return;
  checkBrowseMode();
  if (name.empty() || name == kPrimary) {
    selectIndex(0, kPrimary);
    return;
  }
  for (std::size_t i = 1; i < indexDefs_.size(); ++i)
    if (sameFieldName(indexDefs_[i].name, name)) {
      selectIndex(i, name);
      return;
    }
  raiseDatabaseError(dberr::kIndexDoesNotExist, name, this);
}

void TOrvantoTable::setIndexNumber(std::size_t number) {
  if (!active()) {
    indexName_ = number == 0 ? std::string(kPrimary) : "ID " + std::to_string(number);
    return;
  }
  if (number >= indexDefs_.size()) raiseDatabaseError(dberr::kIndexNotFound, "ID " + std::to_string(number), this);
  checkBrowseMode();
  selectIndex(number, number == 0 ? std::string(kPrimary) : indexDefs_[number].name);
}

void TOrvantoTable::selectIndex(std::size_t number, const std::string &storedName) {
  indexName_ = storedName;
  switchToIndex(static_cast<std::uint16_t>(number));
  masterChanged();
}

// ---- order modes -----------------------------------------------------------------------------

bool TOrvantoTable::inverseOrder() const { return tableOpen() ? table().Inverse() : inverse_; }

void TOrvantoTable::setInverseOrder(bool value) {
  inverse_ = value;
  if (!active() || table().Inverse() == value) return;
  checkBrowseMode();
  updateCursorPos();
  table().SetInverse(value);
  resync();
}

bool TOrvantoTable::uniqueRecords() const { return tableOpen() ? table().Unique() : unique_; }

void TOrvantoTable::setUniqueRecords(bool value) {
  unique_ = value;
  if (!active() || table().Unique() == value) return;
  checkBrowseMode();
  updateCursorPos();
  table().SetUnique(value);
  resync();
}

// ---- opening ---------------------------------------------------------------------------------

void TOrvantoTable::afterOpen() {
  updateIndexDefs();
  std::size_t number = 0;
  if (!indexName_.empty() && indexName_ != kPrimary) {
    bool found = false;
    for (std::size_t i = 1; i < indexDefs_.size() && !found; ++i)
      if (sameFieldName(indexDefs_[i].name, indexName_)) {
        number = i;
        found = true;
      }
    if (!found && indexName_.rfind("ID ", 0) == 0) {
      const std::string digits = indexName_.substr(3);
      if (!digits.empty() && digits.find_first_not_of("0123456789") == std::string::npos &&
          std::stoul(digits) < indexDefs_.size()) {
        number = std::stoul(digits);
        indexName_ = indexDefs_[number].name;
        found = true;
      }
    }
    if (!found) raiseDatabaseError(dberr::kIndexDoesNotExist, indexName_, this);
  } else {
    indexName_ = kPrimary;
  }
  if (number != 0) {
    table().SwitchIndex(static_cast<std::uint16_t>(number));
    takeKeyInfo();
  }
  table().SetInverse(inverse_);
  table().SetUnique(unique_);
  if (DataSet *master = masterDataSet(); master && master->active() && !masterFields_.empty()) applyMasterRange();
}

void TOrvantoTable::closeCursor() {
  indexDefs_.clear();
  TOrvantoDataSet::closeCursor();
}

// ---- master/detail ---------------------------------------------------------------------------

void TOrvantoTable::setMasterSource(DataSet *master) {
  if (master == masterDataSet()) return;
  for (DataSet *ds = master; ds; ds = ds->masterDataSet())
    if (ds == this) raiseDatabaseError(dberr::kCircularDataLink, this);
  if (DataSet *old = masterDataSet()) old->detach(link_);
  setMaster(master);
  if (master) master->attach(link_);
  masterChanged();
}

void TOrvantoTable::setMasterFields(const std::string &fields) {
  if (fields == masterFields_) return;
  masterFields_ = fields;
  masterChanged();
}

void TOrvantoTable::MasterLink::dataSetEvent(DataSet &, DataEvent event) {
  if (event == DataEvent::StateChanged) return;
  detail_.masterChanged();
}

void TOrvantoTable::MasterLink::dataSetDestroyed(DataSet &) {
  detail_.setMaster(nullptr);
  detail_.masterChanged();
}

void TOrvantoTable::masterChanged() {
  if (!active() || state() != DataSetState::Browse) return;
  DataSet *master = masterDataSet();
  if (master && master->active() && !masterFields_.empty()) {
    applyMasterRange();
    return;
  }
  updateCursorPos();
  if (cancelKeyRange()) resync();
}

void TOrvantoTable::applyMasterRange() {
  DataSet *master = masterDataSet();
  const std::vector<Field *> source = master->fieldList(masterFields_);
  const Values values = [&] {
    Values v;
    for (Field *f : source) v.push_back(f->value());
    return v;
  }();
  setKeyBuffer(KeyKind::RangeStart, true);
  try {
    if (values.size() > keyFieldNumbers().size()) raiseDatabaseError(dberr::kFieldIndexOutOfRange, this);
    for (std::size_t i = 0; i < values.size(); ++i) keyField(i).setValue(values[i]);
  } catch (...) {
    setState(DataSetState::Browse);
    throw;
  }
  setState(DataSetState::Browse);
  keyBuffer(KeyKind::RangeEnd) = keyBuffer(KeyKind::RangeStart);
  if (applyKeyRange()) first();
}

}  // namespace vl
