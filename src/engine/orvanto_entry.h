#pragma once
// The table directory: one entry per table of the file, with the tables open on it.
#include <array>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "engine/orvanto_format.h"

namespace vl {

// Something opened on a directory entry, such as a table object with its own file handle.
// The database closes every registered client before it closes its file.
class OrvantoEntryClient {
public:
  virtual void closeForDatabase() = 0;

protected:
  ~OrvantoEntryClient() = default;
};

class TOrvanto_Table_Entry {
public:
  using Bytes = std::array<std::uint8_t, orv::kEntrySize>;
  explicit TOrvanto_Table_Entry(const Bytes &bytes) : bytes_(bytes) {}

  const Bytes &bytes() const { return bytes_; }
  // Absolute position of the entry: the base of every offset of its table.
  std::uint32_t position() const;
  std::uint32_t nextPosition() const;
  std::uint8_t kind() const { return bytes_[orv::kEntryKindOffset]; }
  // Table name (cp1252), at most 127 characters.
  std::string name() const;
  // Absolute position of the table header.
  std::uint32_t tableHeaderPosition() const { return position() + orv::kTableHeaderOffset; }

  // Open tables (not owned). Registering twice is harmless; unknown clients are ignored.
  void registerTable(OrvantoEntryClient *table);
  void unregisterTable(OrvantoEntryClient *table);
  const std::vector<OrvantoEntryClient *> &openTables() const { return openTables_; }
  // Closes every registered table; each may unregister itself meanwhile.
  void closeOpenTables();

private:
  Bytes bytes_;
  std::vector<OrvantoEntryClient *> openTables_;
};

// Entries of kind 2 in file order; the entries keep their addresses while the database is open.
using TOrvanto_Table_Entries = std::vector<std::unique_ptr<TOrvanto_Table_Entry>>;

}  // namespace vl
