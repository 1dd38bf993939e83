#include "table_model.h"

namespace vl::build {

QString columnTypeName(ColumnType type)
{
    switch (type) {
    case ColumnType::String: return QStringLiteral("string");
    case ColumnType::Integer: return QStringLiteral("integer");
    case ColumnType::Boolean: return QStringLiteral("boolean");
    case ColumnType::Float: return QStringLiteral("float");
    case ColumnType::Memo: return QStringLiteral("memo");
    case ColumnType::Blob: return QStringLiteral("blob");
    }
    return {};
}

int TableModel::columnIndex(const QString &columnName) const
{
    for (int i = 0; i < columns.size(); ++i)
        if (columns[i].name.compare(columnName, Qt::CaseInsensitive) == 0)
            return i;
    return -1;
}

int TableModel::indexNumber(const QString &indexName) const
{
    for (int i = 0; i < indexes.size(); ++i)
        if (indexes[i].name.compare(indexName, Qt::CaseInsensitive) == 0)
            return i + 1;
    return -1;
}

const CellValue &TableModel::cell(int row, const QString &columnName) const
{
    static const CellValue null;
    const int c = columnIndex(columnName);
    if (c < 0 || row < 0 || row >= rows.size())
        return null;
    return rows[row][c];
}

const TableModel *ModuleModel::table(const QString &name) const
{
    for (const TableModel &t : tables)
        if (t.name.compare(name, Qt::CaseInsensitive) == 0)
            return &t;
    return nullptr;
}

}  // namespace vl::build
