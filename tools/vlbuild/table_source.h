#pragma once
// A table manifest with its records, as written by the content author:
//
//   table = Placas de Regulamentação
//   description = Placas de regulamentação do trânsito brasileiro
//   column = NOME string 80
//   column = FILE blob
//   index = Nome: NOME (nocase, locale)
//
//
//   NOME = Parada obrigatória
//   FILE = svg pictures/regulamentacao/r-1.svg
#include "stanza_file.h"
#include "table_model.h"

namespace vl::build {

struct FieldSource {
    int column = -1;
    QString value;
    SourcePlace place;
};

struct RecordSource {
    QString label;  // the stanza header, for messages
    SourcePlace place;
    QList<FieldSource> fields;  // only the fields written; the others are null

    const FieldSource *field(int column) const;
};

struct TableSource {
    QString path;
    SourcePlace namePlace;
    QString name;
    QString description;
    QList<ColumnSpec> columns;
    QList<SourcePlace> columnPlaces;
    QList<IndexSpec> indexes;
    QList<SourcePlace> indexPlaces;
    QList<RecordSource> records;

    int columnIndex(const QString &columnName) const;
};

TableSource parseTableSource(const StanzaFile &file);
TableSource readTableSource(const QString &filePath, const QString &displayPath);

// Longest table, column and index names the file format stores.
constexpr int maxTableNameLength = 127;
constexpr int maxStringSize = 8192;

}  // namespace vl::build
