#pragma once
// An in-memory module for driving the loader and the main window: tables of records given as
// column/value maps, with switches for the failures a module file can have.
#include <QHash>
#include <QVariant>

#include <memory>
#include <vector>

#include "shell/module_database.h"

namespace vltest {

using Record = QHash<QString, QVariant>;

struct FakeModuleData {
  vl::ModuleInfo info;
  QStringList tableOrder;
  QHash<QString, std::vector<Record>> tables;
  QStringList corruptTables;   // verify() fails for these
  QString openError;           // non-empty: open() throws this
  int verifyCalls = 0;
};

class FakeTable : public vl::ModuleTable {
 public:
  FakeTable(std::shared_ptr<FakeModuleData> data, QString name) : m_data(std::move(data)), m_name(std::move(name)) {}
  QString tableName() const override { return m_name; }
  void open() override {
    if (!m_data->tables.contains(m_name)) throw vl::ModuleError(QStringLiteral("Tabela inexistente: ") + m_name);
    m_open = true;
    m_row = 0;
  }
  void close() override { m_open = false; }
  bool isOpen() const override { return m_open; }
  int recordCount() override { return static_cast<int>(rows().size()); }
  bool eof() override { return m_row >= recordCount(); }
  void first() override { m_row = 0; }
  void next() override { ++m_row; }
  int recNo() override { return m_row + 1; }
  void setRecNo(int n) override { m_row = n - 1; }
  bool hasField(const QString &field) override { return !rows().empty() && rows().front().contains(field); }
  int asInteger(const QString &f) override { return value(f).toInt(); }
  QString asText(const QString &f) override { return value(f).toString(); }
  bool asBoolean(const QString &f) override { return value(f).toBool(); }
  bool isNull(const QString &f) override { return !value(f).isValid() || value(f).isNull(); }
  QByteArray asBytes(const QString &f) override { return value(f).toByteArray(); }
  bool verify(const std::function<void(int)> &progress) override {
    ++m_data->verifyCalls;
    for (int p = 0; p <= 100; p += 50) progress(p);
    progress(101);
    return !m_data->corruptTables.contains(m_name);
  }

 private:
  const std::vector<Record> &rows() const { return m_data->tables[m_name]; }
  QVariant value(const QString &field) const {
    if (!m_open) throw vl::ModuleError(QStringLiteral("A tabela não está aberta"));
    if (m_row < 0 || m_row >= static_cast<int>(rows().size())) throw vl::ModuleError(QStringLiteral("Fim da tabela"));
    return rows()[static_cast<size_t>(m_row)].value(field);
  }
  std::shared_ptr<FakeModuleData> m_data;
  QString m_name;
  bool m_open = false;
  int m_row = 0;
};

class FakeDatabase : public vl::ModuleDatabase {
 public:
  explicit FakeDatabase(std::shared_ptr<FakeModuleData> data) : m_data(std::move(data)) {}
  void open(const QString &filePath) override {
    if (!m_data->openError.isEmpty()) throw vl::ModuleError(m_data->openError);
    m_file = filePath;
    m_open = true;
  }
  void close() override { m_open = false; }
  QString fileName() const override { return m_file; }
  QStringList tableNames() const override { return m_data->tableOrder; }
  vl::ModuleInfo info() const override { return m_data->info; }
  std::unique_ptr<vl::ModuleTable> createTable(const QString &name) override {
    return std::make_unique<FakeTable>(m_data, name);
  }

 private:
  std::shared_ptr<FakeModuleData> m_data;
  QString m_file;
  bool m_open = false;
};

inline vl::ModuleDatabaseFactory fakeFactory(std::shared_ptr<FakeModuleData> data) {
  return [data] { return std::make_unique<FakeDatabase>(data); };
}

// A "toc" record.
inline Record topic(int level, const QString &caption, const QString &topicType = {}, const QString &type = QStringLiteral("rtf"),
                    const QString &topicId = {}, const QString &table = {}) {
  return Record{{QStringLiteral("LEVEL"), level},        {QStringLiteral("CAPTION"), caption},
                {QStringLiteral("TITLE"), QString()},     {QStringLiteral("TOPIC_TYPE"), topicType},
                {QStringLiteral("TYPE"), type},           {QStringLiteral("TOPIC_ID"), topicId},
                {QStringLiteral("TABLE"), table},         {QStringLiteral("CANREVISED"), true},
                {QStringLiteral("FILE"), QStringLiteral("{\\rtf1 %1}").arg(caption)}};
}

// A module with "toc" first and the given topics, plus a table "Placas".
inline std::shared_ptr<FakeModuleData> moduleWith(std::vector<Record> topics,
                                                  const QUuid &guid = QUuid(0x11111111, 0x2222, 0x3333, 4, 5, 6, 7, 8, 9, 10, 11)) {
  auto data = std::make_shared<FakeModuleData>();
  data->info.title = QStringLiteral("Vialume - Módulo principal");
  data->info.description = QStringLiteral("Módulo principal de Vialume");
  data->info.guid = guid;
  data->info.version = {1, 0, 0, 3};
  data->tableOrder = {QStringLiteral("toc"), QStringLiteral("Placas")};
  data->tables[QStringLiteral("toc")] = std::move(topics);
  data->tables[QStringLiteral("Placas")] = {Record{{QStringLiteral("NOME"), QStringLiteral("Pare")}}};
  return data;
}

}  // namespace vltest
