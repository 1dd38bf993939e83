#include "data/dataset_model_qt.h"

#include <algorithm>

namespace vl {

namespace {

bool isNumeric(FieldType type) {
  switch (type) {
    case FieldType::Smallint:
    case FieldType::Integer:
    case FieldType::Word:
    case FieldType::AutoInc:
    case FieldType::Float:
    case FieldType::Currency:
      return true;
    default:
      return false;
  }
}

}  // namespace

DataSetModel::DataSetModel(DataSet *dataSet, QObject *parent) : QAbstractTableModel(parent) { setDataSet(dataSet); }

DataSetModel::~DataSetModel() {
  if (ds_) ds_->detach(*this);
}

void DataSetModel::setDataSet(DataSet *dataSet) {
  if (dataSet == ds_) return;
  if (ds_) ds_->detach(*this);
  ds_ = dataSet;
  if (ds_) ds_->attach(*this);
  reload();
}

void DataSetModel::reload() {
  beginResetModel();
  rows_.clear();
  headers_.clear();
  rightAligned_.clear();
  cachedRow_ = -1;
  if (ds_ && ds_->active()) {
    rows_ = ds_->allBookmarks();
    for (std::size_t i = 0; i < ds_->fieldCount(); ++i) {
      headers_ << QString::fromStdString(ds_->field(i).fieldName());
      rightAligned_.push_back(isNumeric(ds_->field(i).dataType()));
    }
  }
  endResetModel();
}

void DataSetModel::dataSetEvent(DataSet &, DataEvent event) {
  switch (event) {
    case DataEvent::RecordChanged:
      emit activeRowChanged(activeRow());
      break;
    case DataEvent::StateChanged:
      break;
    default:
      reload();
      emit activeRowChanged(activeRow());
      break;
  }
}

void DataSetModel::dataSetDestroyed(DataSet &) {
  ds_ = nullptr;
  reload();
}

int DataSetModel::rowCount(const QModelIndex &parent) const {
  return parent.isValid() ? 0 : static_cast<int>(rows_.size());
}

int DataSetModel::columnCount(const QModelIndex &parent) const { return parent.isValid() ? 0 : headers_.size(); }

const QStringList &DataSetModel::rowTexts(int row) const {
  if (row != cachedRow_) {
    cachedTexts_.clear();
    DataSet::RecordScope scope(*ds_, rows_[static_cast<std::size_t>(row)]);
    for (int c = 0; c < headers_.size(); ++c)
      cachedTexts_ << (scope.found() ? QString::fromStdString(ds_->field(static_cast<std::size_t>(c)).displayText())
                                     : QString());
    cachedRow_ = row;
  }
  return cachedTexts_;
}

QVariant DataSetModel::data(const QModelIndex &index, int role) const {
  if (!ds_ || !index.isValid() || index.row() >= rowCount() || index.column() >= columnCount()) return {};
  if (role == Qt::DisplayRole || role == Qt::ToolTipRole) return rowTexts(index.row()).at(index.column());
  if (role == Qt::TextAlignmentRole)
    return QVariant::fromValue(Qt::Alignment(
        (rightAligned_[static_cast<std::size_t>(index.column())] ? Qt::AlignRight : Qt::AlignLeft) | Qt::AlignVCenter));
  return {};
}

QVariant DataSetModel::headerData(int section, Qt::Orientation orientation, int role) const {
  if (role != Qt::DisplayRole || section < 0) return {};
  if (orientation == Qt::Horizontal) return section < headers_.size() ? QVariant(headers_.at(section)) : QVariant();
  return section < rowCount() ? QVariant(section + 1) : QVariant();
}

int DataSetModel::activeRow() const {
  if (!ds_ || !ds_->active() || ds_->isEmpty()) return -1;
  const Bookmark current = ds_->bookmark();
  const auto it = std::find(rows_.begin(), rows_.end(), current);
  return it == rows_.end() ? -1 : static_cast<int>(it - rows_.begin());
}

void DataSetModel::setActiveRow(int row) {
  if (!ds_ || row < 0 || row >= rowCount()) return;
  ds_->gotoBookmark(rows_[static_cast<std::size_t>(row)]);
}

}  // namespace vl
