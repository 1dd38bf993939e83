#include "table_source.h"

#include <QRegularExpression>

namespace vl::build {

const FieldSource *RecordSource::field(int column) const
{
    for (const FieldSource &f : fields)
        if (f.column == column)
            return &f;
    return nullptr;
}

int TableSource::columnIndex(const QString &columnName) const
{
    for (int i = 0; i < columns.size(); ++i)
        if (columns[i].name.compare(columnName, Qt::CaseInsensitive) == 0)
            return i;
    return -1;
}

static ColumnSpec parseColumn(const StanzaEntry &e)
{
    const QStringList words = e.value.split(QRegularExpression(QStringLiteral("\\s+")), Qt::SkipEmptyParts);
    if (words.size() < 2)
        throw BuildError(e.place, QStringLiteral("coluna: esperava 'NOME tipo [tamanho]'"));
    ColumnSpec c;
    c.name = words[0];
    if (c.name.size() > maxTableNameLength)
        throw BuildError(e.place, QStringLiteral("nome de coluna longo demais: %1").arg(c.name));
    const QString type = words[1].toLower();
    static const QList<std::pair<QString, ColumnType>> types = {
        {QStringLiteral("string"), ColumnType::String}, {QStringLiteral("integer"), ColumnType::Integer},
        {QStringLiteral("boolean"), ColumnType::Boolean}, {QStringLiteral("float"), ColumnType::Float},
        {QStringLiteral("memo"), ColumnType::Memo}, {QStringLiteral("blob"), ColumnType::Blob}};
    bool known = false;
    for (const auto &[n, t] : types)
        if (n == type) {
            c.type = t;
            known = true;
        }
    if (!known)
        throw BuildError(e.place, QStringLiteral("tipo de coluna desconhecido '%1' (válidos: string, integer, "
                                                 "boolean, float, memo, blob)")
                                      .arg(words[1]));
    if (c.type == ColumnType::String) {
        bool ok = false;
        c.size = words.size() > 2 ? words[2].toInt(&ok) : 0;
        if (!ok || c.size < 1 || c.size > maxStringSize)
            throw BuildError(e.place, QStringLiteral("coluna string precisa de um tamanho entre 1 e %1")
                                          .arg(maxStringSize));
        if (words.size() > 3)
            throw BuildError(e.place, QStringLiteral("texto a mais depois do tamanho da coluna"));
    } else if (words.size() > 2) {
        throw BuildError(e.place, QStringLiteral("só colunas string têm tamanho"));
    }
    return c;
}

static IndexSpec parseIndex(const StanzaEntry &e, const TableSource &table)
{
    static const QRegularExpression form(QStringLiteral("^([^:]+):([^()]+)(?:\\(([^()]*)\\))?$"));
    const auto m = form.match(e.value);
    if (!m.hasMatch())
        throw BuildError(e.place, QStringLiteral("índice: esperava 'Nome: COLUNA[, COLUNA] [(opções)]'"));
    IndexSpec idx;
    idx.name = m.captured(1).trimmed();
    if (idx.name.isEmpty() || idx.name.size() > maxTableNameLength)
        throw BuildError(e.place, QStringLiteral("nome de índice vazio ou longo demais"));
    for (const QString &col : m.captured(2).split(QLatin1Char(','))) {
        const QString name = col.trimmed();
        const int c = table.columnIndex(name);
        if (c < 0)
            throw BuildError(e.place, QStringLiteral("o índice '%1' usa a coluna desconhecida '%2'").arg(idx.name, name));
        if (table.columns[c].type == ColumnType::Blob || table.columns[c].type == ColumnType::Memo)
            throw BuildError(e.place, QStringLiteral("a coluna '%1' (%2) não pode ser chave de índice")
                                          .arg(name, columnTypeName(table.columns[c].type)));
        idx.columns.append(table.columns[c].name);
    }
    for (const QString &opt : m.captured(3).split(QLatin1Char(','), Qt::SkipEmptyParts)) {
        const QString o = opt.trimmed().toLower();
        if (o == QLatin1String("nocase"))
            idx.caseInsensitive = true;
        else if (o == QLatin1String("locale"))
            idx.localeOrder = true;
        else if (o == QLatin1String("noaccents"))
            idx.accentInsensitive = true;
        else
            throw BuildError(e.place, QStringLiteral("opção de índice desconhecida '%1' (válidas: nocase, locale, "
                                                     "noaccents)")
                                          .arg(opt.trimmed()));
    }
    return idx;
}

TableSource parseTableSource(const StanzaFile &file)
{
    TableSource t;
    t.path = file.path;
    const Stanza &pre = file.preamble;
    requireKnownKeys(pre, {QStringLiteral("table"), QStringLiteral("description"), QStringLiteral("column"),
                           QStringLiteral("index")});
    const auto name = singleEntry(pre, QStringLiteral("table"));
    if (!name || name->value.isEmpty())
        throw BuildError({file.path, 1}, QStringLiteral("falta 'table = nome da tabela' no início do arquivo"));
    if (name->value.size() > maxTableNameLength)
        throw BuildError(name->place, QStringLiteral("nome de tabela longo demais"));
    t.name = name->value;
    t.namePlace = name->place;
    if (const auto d = singleEntry(pre, QStringLiteral("description")))
        t.description = d->value;

    for (const StanzaEntry *e : pre.findAll(QStringLiteral("column"))) {
        ColumnSpec c = parseColumn(*e);
        if (t.columnIndex(c.name) >= 0)
            throw BuildError(e->place, QStringLiteral("coluna '%1' repetida").arg(c.name));
        t.columns.append(c);
        t.columnPlaces.append(e->place);
    }
    if (t.columns.isEmpty())
        throw BuildError(t.namePlace, QStringLiteral("a tabela '%1' não declara nenhuma coluna").arg(t.name));
    for (const StanzaEntry *e : pre.findAll(QStringLiteral("index"))) {
        IndexSpec idx = parseIndex(*e, t);
        for (const IndexSpec &other : t.indexes)
            if (other.name.compare(idx.name, Qt::CaseInsensitive) == 0)
                throw BuildError(e->place, QStringLiteral("índice '%1' repetido").arg(idx.name));
        t.indexes.append(idx);
        t.indexPlaces.append(e->place);
    }

    for (const Stanza &s : file.stanzas) {
        RecordSource r;
        r.label = s.header;
        r.place = s.place;
        for (const StanzaEntry &e : s.entries) {
            const int c = t.columnIndex(e.key);
            if (c < 0)
                throw BuildError(e.place, QStringLiteral("a tabela '%1' não tem a coluna '%2'").arg(t.name, e.key));
            if (const FieldSource *prev = r.field(c))
                throw BuildError(e.place, QStringLiteral("coluna '%1' repetida neste registro (linha %2)")
                                              .arg(e.key)
                                              .arg(prev->place.line));
            r.fields.append(FieldSource{c, e.value, e.place});
        }
        t.records.append(r);
    }
    if (t.records.isEmpty() && !t.indexes.isEmpty())
        throw BuildError(t.namePlace, QStringLiteral("uma tabela com índices precisa de ao menos um registro"));
    return t;
}

TableSource readTableSource(const QString &filePath, const QString &displayPath)
{
    return parseTableSource(readStanzaFile(filePath, displayPath));
}

}  // namespace vl::build
