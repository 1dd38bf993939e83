#pragma once
// The table registry: one entry per table of every loaded module, in module order and, within
// a module, in the order of the module's table list.
#include <QString>
#include <QStringList>

#include <memory>
#include <vector>

#include "shell/module_database.h"

namespace vl {

class TVLTable {
 public:
  TVLTable(std::unique_ptr<ModuleTable> table, QString name);
  ~TVLTable();

  ModuleTable *table() const { return m_table.get(); }
  // The cursor, opened on first use and kept open.
  ModuleTable *openedTable();
  const QString &name() const { return m_name; }

  int GameLevel = 0;
  QString TopicId;
  // Hot-spot codes per record, built by the hot image viewer; created on first use.
  QStringList &legendCache();
  bool hasLegendCache() const { return m_legend != nullptr; }

 private:
  std::unique_ptr<ModuleTable> m_table;
  QString m_name;
  std::unique_ptr<QStringList> m_legend;
};

class TVLTables {
 public:
  TVLTables();
  ~TVLTables();
  // A new entry bound to the table at `position` of the database's table list.
  TVLTable &Add(ModuleDatabase &database, int position);
  TVLTable *Item(int position) const;
  int Count() const { return static_cast<int>(m_items.size()); }
  int indexOf(const QString &tableName) const;  // first entry of that name, −1 when none
  void clear();

 private:
  std::vector<std::unique_ptr<TVLTable>> m_items;
};

}  // namespace vl
