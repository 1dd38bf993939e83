#pragma once
// What the module loader and the topic display need of a module file and its tables. The
// production implementation wraps the database components TOrvantoDB / TOrvantoTable
// (orvanto_module.h); the viewers reach the component itself through ModuleTable::component().
#include <QByteArray>
#include <QString>
#include <QStringList>
#include <QUuid>

#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <stdexcept>

namespace vl {
class TOrvantoTable;
}

namespace vl {

// A failure reported by a module or its tables; message() is the text for the user.
class ModuleError : public std::runtime_error {
 public:
  explicit ModuleError(const QString &message) : std::runtime_error(message.toStdString()), m_message(message) {}
  const QString &message() const { return m_message; }

 private:
  QString m_message;
};

struct ModuleInfo {
  QString title;
  QString description;
  QUuid guid;
  std::array<std::uint8_t, 4> version{};
  QString versionText() const {
    return QStringLiteral("%1.%2.%3.%4").arg(version[0]).arg(version[1]).arg(version[2]).arg(version[3]);
  }
};

// A read-only cursor over one table of a module. Every operation may throw ModuleError.
class ModuleTable {
 public:
  virtual ~ModuleTable() = default;
  virtual QString tableName() const = 0;
  virtual void open() = 0;
  virtual void close() = 0;
  virtual bool isOpen() const = 0;
  virtual int recordCount() = 0;
  virtual bool eof() = 0;
  virtual void first() = 0;
  virtual void next() = 0;
  virtual int recNo() = 0;
  virtual void setRecNo(int recordNumber) = 0;
  virtual bool hasField(const QString &field) = 0;
  virtual int asInteger(const QString &field) = 0;
  virtual QString asText(const QString &field) = 0;
  virtual bool asBoolean(const QString &field) = 0;
  virtual bool isNull(const QString &field) = 0;
  virtual QByteArray asBytes(const QString &field) = 0;
  // Reads the whole table checking its check values; `progress` gets 0..100 per table and 101
  // when a step ends. False when a check fails.
  virtual bool verify(const std::function<void(int)> &progress) = 0;
  // The database component behind the cursor (null for cursors without one).
  virtual TOrvantoTable *component() { return nullptr; }
};

// The connection to one module file.
class ModuleDatabase {
 public:
  virtual ~ModuleDatabase() = default;
  virtual void open(const QString &filePath) = 0;  // throws ModuleError with the engine's message
  virtual void close() = 0;
  virtual QString fileName() const = 0;
  virtual QStringList tableNames() const = 0;
  virtual ModuleInfo info() const = 0;
  virtual std::unique_ptr<ModuleTable> createTable(const QString &tableName) = 0;
};

// Creates the connection object for a module file (the production one opens Orvanto files).
using ModuleDatabaseFactory = std::function<std::unique_ptr<ModuleDatabase>()>;

}  // namespace vl
