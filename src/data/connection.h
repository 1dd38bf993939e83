#pragma once
// Base of database connections: keeps the data sets attached to the connection.
#include <vector>

namespace vl {

class DataSet;

class Connection {
 public:
  Connection() = default;
  Connection(const Connection &) = delete;
  Connection &operator=(const Connection &) = delete;
  virtual ~Connection() = default;

  virtual bool connected() const = 0;
  virtual void setConnected(bool value) = 0;
  void open() { setConnected(true); }
  void close() { setConnected(false); }

  const std::vector<DataSet *> &dataSets() const { return dataSets_; }

 protected:
  void registerDataSet(DataSet &dataSet);
  void unregisterDataSet(DataSet &dataSet);
  void closeDataSets();

 private:
  std::vector<DataSet *> dataSets_;
};

}  // namespace vl
