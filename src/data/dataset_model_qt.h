#pragma once
// DataSetModel: a Qt table model over a data set, one row per record in the cursor's order and
// one column per field, showing the fields' display texts.
//
// The model reads rows aside (DataSet::RecordScope), so painting never moves the data set's
// active record. It follows the data set: opening, closing, a new order or range, or new fields
// reset the model (it then takes the bookmarks of all records in one pass); a move of the active
// record emits activeRowChanged. setActiveRow moves the data set to a row.
#include <QAbstractTableModel>
#include <QStringList>
#include <vector>

#include "data/dataset.h"

namespace vl {

class DataSetModel : public QAbstractTableModel, private DataSetObserver {
  Q_OBJECT

 public:
  explicit DataSetModel(DataSet *dataSet = nullptr, QObject *parent = nullptr);
  ~DataSetModel() override;

  DataSet *dataSet() const { return ds_; }
  void setDataSet(DataSet *dataSet);

  int rowCount(const QModelIndex &parent = {}) const override;
  int columnCount(const QModelIndex &parent = {}) const override;
  QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
  QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

  // The row of the data set's active record, -1 when it has none.
  int activeRow() const;
  void setActiveRow(int row);

 signals:
  void activeRowChanged(int row);

 private:
  void dataSetEvent(DataSet &dataSet, DataEvent event) override;
  void dataSetDestroyed(DataSet &dataSet) override;
  void reload();
  const QStringList &rowTexts(int row) const;

  DataSet *ds_ = nullptr;
  std::vector<Bookmark> rows_;
  QStringList headers_;
  std::vector<bool> rightAligned_;
  mutable int cachedRow_ = -1;
  mutable QStringList cachedTexts_;
};

}  // namespace vl
