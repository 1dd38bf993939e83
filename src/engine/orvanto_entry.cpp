#include "engine/orvanto_entry.h"

#include <algorithm>

#include "engine/orvanto_bytes.h"

namespace vl {

std::uint32_t TOrvanto_Table_Entry::position() const { return orv::getDword(&bytes_[orv::kEntrySelfOffset]); }

std::uint32_t TOrvanto_Table_Entry::nextPosition() const { return orv::getDword(&bytes_[orv::kEntryNextOffset]); }

std::string TOrvanto_Table_Entry::name() const {
  return orv::fixedText(&bytes_[orv::kEntryNameOffset], orv::kEntryNameSize);
}

void TOrvanto_Table_Entry::registerTable(OrvantoEntryClient *table) {
  if (table && std::find(openTables_.begin(), openTables_.end(), table) == openTables_.end())
    openTables_.push_back(table);
}

void TOrvanto_Table_Entry::unregisterTable(OrvantoEntryClient *table) {
  openTables_.erase(std::remove(openTables_.begin(), openTables_.end(), table), openTables_.end());
}

void TOrvanto_Table_Entry::closeOpenTables() {
  // Work on a copy: closing a table may unregister it.
  const auto tables = openTables_;
  for (auto *table : tables) table->closeForDatabase();
  openTables_.clear();
}

}  // namespace vl
