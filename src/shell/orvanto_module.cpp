#include "shell/orvanto_module.h"

#include "common/cp1252_qt.h"
#include "data/data_error.h"
#include "data/orvanto_db.h"
#include "data/orvanto_table.h"
#include "engine/orvanto_error.h"
#include "engine/orvanto_guid.h"
#include "shell/module_factory.h"

namespace vl {

namespace {

std::string utf8(const QString &text) { return text.toUtf8().toStdString(); }
QString fromUtf8(const std::string &text) { return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())); }
QString fromStored(const std::string &text) { return fromCp1252(QByteArrayView(text.data(), static_cast<qsizetype>(text.size()))); }

// Runs `work`, turning the engine's and the components' exceptions into ModuleError.
template <class F>
auto guarded(F &&work) -> decltype(work()) {
  try {
    return work();
  } catch (const ModuleError &) {
    throw;
  } catch (const std::exception &error) {
    throw ModuleError(moduleErrorText(error));
  }
}

class OrvantoModuleTable : public ModuleTable {
 public:
  OrvantoModuleTable(TOrvantoDB &db, const QString &name) {
    m_table.setOrvantoDatabase(&db);
    m_table.setTableName(utf8(name));
  }
  QString tableName() const override { return fromUtf8(m_table.tableName()); }
  void open() override { guarded([&] { m_table.open(); }); }
  void close() override { guarded([&] { m_table.close(); }); }
  bool isOpen() const override { return m_table.active(); }
  int recordCount() override { return guarded([&] { return static_cast<int>(m_table.recordCount()); }); }
  bool eof() override { return m_table.eof(); }
  void first() override { guarded([&] { m_table.first(); }); }
  void next() override { guarded([&] { m_table.next(); }); }
  int recNo() override { return guarded([&] { return static_cast<int>(m_table.recNo()); }); }
  void setRecNo(int n) override { guarded([&] { m_table.setRecNo(static_cast<std::uint32_t>(std::max(1, n))); }); }
  bool hasField(const QString &field) override { return m_table.findField(utf8(field)) != nullptr; }
  int asInteger(const QString &field) override {
    return guarded([&] {
      const Field *f = m_table.findField(utf8(field));
      return f && !f->isNull() ? static_cast<int>(f->asInteger()) : 0;
    });
  }
  QString asText(const QString &field) override {
    return guarded([&] {
      const Field *f = m_table.findField(utf8(field));
      return f && !f->isNull() ? fromUtf8(f->asString()) : QString();
    });
  }
  bool asBoolean(const QString &field) override {
    return guarded([&] {
      const Field *f = m_table.findField(utf8(field));
      return f && !f->isNull() && f->asBoolean();
    });
  }
  bool isNull(const QString &field) override {
    return guarded([&] {
      const Field *f = m_table.findField(utf8(field));
      return !f || f->isNull();
    });
  }
  QByteArray asBytes(const QString &field) override {
    return guarded([&] {
      const Field *f = m_table.findField(utf8(field));
      if (!f || f->isNull()) return QByteArray();
      const std::string bytes = f->asBytes();
      return QByteArray(bytes.data(), static_cast<qsizetype>(bytes.size()));
    });
  }
  bool verify(const std::function<void(int)> &progress) override {
    return guarded([&] {
      return m_table.verify([&](void *, std::uint8_t percent, bool &) { progress(percent); });
    });
  }
  vl::TOrvantoTable *component() override { return &m_table; }

 private:
  vl::TOrvantoTable m_table;
};

}  // namespace

QString moduleErrorText(const std::exception &error) {
  QString text = dynamic_cast<const EOrvanto_Engine_Error *>(&error) ? fromStored(error.what())
                                                                     : QString::fromUtf8(error.what());
  text.replace(QStringLiteral("\n\r"), QStringLiteral("\n"));
  text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
  return text;
}

OrvantoModule::OrvantoModule() : m_db(std::make_unique<TOrvantoDB>()) {}
OrvantoModule::~OrvantoModule() = default;

void OrvantoModule::open(const QString &filePath) {
  guarded([&] {
    m_db->setConnected(false);
    m_db->setFileName(utf8(filePath));
    m_db->setConnected(true);
  });
}

void OrvantoModule::close() { guarded([&] { m_db->setConnected(false); }); }

QString OrvantoModule::fileName() const { return fromUtf8(m_db->fileName()); }

QStringList OrvantoModule::tableNames() const {
  QStringList names;
  for (const std::string &name : m_db->tableNames()) names << fromUtf8(name);
  return names;
}

ModuleInfo OrvantoModule::info() const {
  return guarded([&] {
    const TOrvanto_DB_Info source = m_db->getInfo();
    ModuleInfo info;
    info.title = fromStored(source.Title);
    info.description = fromStored(source.Description);
    info.guid = QUuid::fromString(QString::fromLatin1(orv::guidText(source.Guid)));
    info.version = source.Version;
    return info;
  });
}

std::unique_ptr<ModuleTable> OrvantoModule::createTable(const QString &tableName) {
  return std::make_unique<OrvantoModuleTable>(*m_db, tableName);
}

ModuleDatabaseFactory moduleDatabaseFactory() {
  return [] { return std::make_unique<OrvantoModule>(); };
}

}  // namespace vl
