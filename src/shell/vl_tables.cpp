#include "shell/vl_tables.h"

namespace vl {

TVLTable::TVLTable(std::unique_ptr<ModuleTable> table, QString name)
    : m_table(std::move(table)), m_name(std::move(name)) {}

TVLTable::~TVLTable() {
  if (m_table && m_table->isOpen()) {
    try {
      m_table->close();
    } catch (const std::exception &) {
      // closing never reports
    }
  }
}

ModuleTable *TVLTable::openedTable() {
  if (m_table && !m_table->isOpen()) m_table->open();
  return m_table.get();
}

QStringList &TVLTable::legendCache() {
  if (!m_legend) m_legend = std::make_unique<QStringList>();
  return *m_legend;
}

TVLTables::TVLTables() = default;
TVLTables::~TVLTables() = default;

TVLTable &TVLTables::Add(ModuleDatabase &database, int position) {
  const QString name = database.tableNames().value(position);
  m_items.push_back(std::make_unique<TVLTable>(database.createTable(name), name));
  return *m_items.back();
}

TVLTable *TVLTables::Item(int position) const {
  return position >= 0 && position < Count() ? m_items[static_cast<size_t>(position)].get() : nullptr;
}

int TVLTables::indexOf(const QString &tableName) const {
  for (size_t i = 0; i < m_items.size(); ++i)
    if (m_items[i]->name().compare(tableName, Qt::CaseInsensitive) == 0) return static_cast<int>(i);
  return -1;
}

void TVLTables::clear() { m_items.clear(); }

}  // namespace vl
