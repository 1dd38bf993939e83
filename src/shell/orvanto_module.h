#pragma once
// The module connection and table cursors over the database components TOrvantoDB and
// TOrvantoTable. Errors of the engine and the components arrive as ModuleError with their text.
#include <memory>

#include "shell/module_database.h"

namespace vl {

class TOrvantoDB;

class OrvantoModule : public ModuleDatabase {
 public:
  OrvantoModule();
  ~OrvantoModule() override;
  void open(const QString &filePath) override;
  void close() override;
  QString fileName() const override;
  QStringList tableNames() const override;
  ModuleInfo info() const override;
  std::unique_ptr<ModuleTable> createTable(const QString &tableName) override;

  TOrvantoDB &database() { return *m_db; }

 private:
  std::unique_ptr<TOrvantoDB> m_db;
};

// The message of an exception from the engine or the components, for the user.
QString moduleErrorText(const std::exception &error);

}  // namespace vl
