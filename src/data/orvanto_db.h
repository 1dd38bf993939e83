#pragma once
// TOrvantoDB: the connection to one content module file.
#include <memory>
#include <string>
#include <vector>

#include "data/connection.h"
#include "engine/orvanto_db.h"

namespace vl {

class TOrvantoDataSet;

class TOrvantoDB : public Connection {
 public:
  TOrvantoDB();
  // Closes and detaches every attached data set (their connection becomes null).
  ~TOrvantoDB() override;

  // The engine's file name. Setting a name that differs ignoring case closes the connection
  // first; the same path in another case leaves it open.
  std::string fileName() const;
  void setFileName(const std::string &name);

  // Opening raises "Falta informar o nome do arquivo" without a file name and the engine's
  // "Connection" error when the file cannot be opened; closing closes the data sets first.
  bool connected() const override;
  void setConnected(bool value) override;

  // Names of all tables of the file in directory order (UTF-8), refreshed on every connect.
  const std::vector<std::string> &tableNames() const { return tableNames_; }
  // The engine's information record (texts in code page 1252).
  TOrvanto_DB_Info getInfo();

  TOrvanto_DB_Engine &engine() { return *engine_; }

 private:
  friend class TOrvantoDataSet;
  void refreshTableNames();

  std::unique_ptr<TOrvanto_DB_Engine> engine_;
  std::vector<std::string> tableNames_;
};

}  // namespace vl
