#include "data/connection.h"

#include <algorithm>

#include "data/dataset.h"

namespace vl {

void Connection::registerDataSet(DataSet &dataSet) {
  if (std::find(dataSets_.begin(), dataSets_.end(), &dataSet) == dataSets_.end()) dataSets_.push_back(&dataSet);
}

void Connection::unregisterDataSet(DataSet &dataSet) {
  dataSets_.erase(std::remove(dataSets_.begin(), dataSets_.end(), &dataSet), dataSets_.end());
}

void Connection::closeDataSets() {
  const auto list = dataSets_;
  for (DataSet *ds : list) ds->close();
}

}  // namespace vl
