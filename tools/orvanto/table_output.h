#pragma once
// Shared by the inspector's table commands: opening a table and printing its records.
#include <memory>
#include <string>

#include "engine/orvanto_table.h"

namespace vl::inspector {

// A database and one of its tables, opened (raises EOrvanto_Engine_Error on failure).
struct OpenTable {
  TOrvanto_DB_Engine db;
  std::unique_ptr<TOrvanto_Table_Engine> table;
  OpenTable(const std::string &file, const std::string &tableNameUtf8);
};

// One column of a record buffer as text (cp1252): empty for null, blobs as their
// length followed by their kind when it is recognised ("5120 wmf").
std::string formatColumn(TOrvanto_iLow_Table &table, const std::uint8_t *buffer, std::size_t column);

// The record's fields separated by tabs, then a line break, on stdout.
void printRecord(TOrvanto_iLow_Table &table, const std::uint8_t *buffer);

}  // namespace vl::inspector
