#pragma once
// What the builder writes: every table of the module with its columns, indexes and rows,
// already converted (texts, RTF, pictures, sounds), ready for the module writer.
#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>
#include <QUuid>
#include <array>
#include <cstdint>
#include <variant>

namespace vl::build {

enum class ColumnType { String, Integer, Boolean, Float, Memo, Blob };

QString columnTypeName(ColumnType type);

struct ColumnSpec {
    QString name;
    ColumnType type = ColumnType::String;
    int size = 0;  // declared size of String columns, in characters
};

struct IndexSpec {
    QString name;
    QStringList columns;  // key segments, in order
    bool caseInsensitive = false;
    bool localeOrder = false;        // locale-aware comparison of text keys
    bool accentInsensitive = false;  // text keys folded to unaccented letters
};

// A cell: null, integer, boolean, float, text or bytes (blobs).
using CellValue = std::variant<std::monostate, std::int32_t, bool, double, QString, QByteArray>;

struct TableModel {
    QString name;
    QString description;
    QList<ColumnSpec> columns;
    QList<IndexSpec> indexes;  // secondary indexes, numbered 1, 2, ... in this order
    QList<QList<CellValue>> rows;  // in storage (primary) order; one cell per column

    int columnIndex(const QString &columnName) const;  // ignoring case; -1 when absent
    int indexNumber(const QString &indexName) const;   // 1-based; -1 when absent
    const CellValue &cell(int row, const QString &columnName) const;
};

struct ModuleModel {
    QString title;
    QString description;
    std::array<std::uint8_t, 4> version{1, 0, 0, 0};
    QUuid guid;
    QList<TableModel> tables;  // "toc" first

    const TableModel *table(const QString &name) const;  // ignoring case
};

}  // namespace vl::build
