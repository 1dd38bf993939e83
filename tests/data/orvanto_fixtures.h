#pragma once
// The sign module opened through the components.
#include <string>

#include "data/orvanto_db.h"
#include "data/orvanto_table.h"
#include "orvanto_modules.h"

namespace vl::test {

// A connection and an open table on the sign module.
struct SignTable {
  SignModule module;
  TOrvantoDB db;
  TOrvantoTable table;
  explicit SignTable(const std::string &indexName = "") {
    db.setFileName(module.path());
    table.setOrvantoDatabase(&db);
    table.setTableName("Placas");
    table.setIndexName(indexName);
    table.open();
  }
  std::string code() { return table.fieldByName("Codigo").asString(); }
};

}  // namespace vl::test
