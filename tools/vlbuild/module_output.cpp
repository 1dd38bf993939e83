#include "module_output.h"

#include "build_error.h"
#include "common/cp1252_qt.h"
#include "engine/writer/orvanto_writer.h"

#include <stdexcept>

namespace vl::build {

static std::string cp1252(const QString &text)
{
    return vl::toCp1252(text).toStdString();
}

static OrvantoColumnSpec columnSpec(const ColumnSpec &c)
{
    const std::string name = cp1252(c.name);
    switch (c.type) {
    case ColumnType::String: return OrvantoColumnSpec::String(name, std::uint32_t(c.size), c.size > 255 ? 2 : 1);
    case ColumnType::Integer: return OrvantoColumnSpec::Fixed(name, orv::ctInteger);
    case ColumnType::Boolean: return OrvantoColumnSpec::Fixed(name, orv::ctBoolean);
    case ColumnType::Float: return OrvantoColumnSpec::Fixed(name, orv::ctFloat);
    case ColumnType::Memo: return OrvantoColumnSpec::Memo(name);
    case ColumnType::Blob: return OrvantoColumnSpec::Blob(name);
    }
    throw std::logic_error("column type");
}

static OrvantoValue value(const CellValue &v)
{
    struct Visitor {
        OrvantoValue operator()(std::monostate) const { return std::monostate{}; }
        OrvantoValue operator()(std::int32_t i) const { return std::int64_t(i); }
        OrvantoValue operator()(bool b) const { return std::int64_t(b ? 1 : 0); }
        OrvantoValue operator()(double d) const { return d; }
        OrvantoValue operator()(const QString &s) const { return cp1252(s); }
        OrvantoValue operator()(const QByteArray &b) const { return b.toStdString(); }
    };
    return std::visit(Visitor{}, v);
}

OrvantoTableSpec toWriterSpec(const TableModel &table)
{
    OrvantoTableSpec spec;
    spec.name = cp1252(table.name);
    spec.description = cp1252(table.description);
    for (const ColumnSpec &c : table.columns)
        spec.columns.push_back(columnSpec(c));
    for (const IndexSpec &i : table.indexes) {
        OrvantoIndexSpec idx;
        idx.name = cp1252(i.name);
        for (const QString &c : i.columns)
            idx.segments.push_back({cp1252(c), 0});
        idx.flags = std::uint8_t((i.caseInsensitive ? orv::kIndexCaseInsensitive : 0) |
                                 (i.accentInsensitive ? orv::kIndexAccentInsensitive : 0) |
                                 (i.localeOrder ? orv::kIndexLocale : 0));
        spec.indexes.push_back(idx);
    }
    for (const auto &row : table.rows) {
        OrvantoRecord record;
        for (const CellValue &v : row)
            record.push_back(value(v));
        spec.records.push_back(std::move(record));
    }
    return spec;
}

void writeModuleFile(const ModuleModel &module, const QString &path)
{
    OrvantoModuleWriter writer;
    std::array<std::uint8_t, orv::kGuidSize> guid{};
    const QByteArray rfc = module.guid.toRfc4122();
    // Stored in the Windows layout: the first three groups little-endian.
    const int order[16] = {3, 2, 1, 0, 5, 4, 7, 6, 8, 9, 10, 11, 12, 13, 14, 15};
    for (int i = 0; i < 16; ++i)
        guid[size_t(i)] = std::uint8_t(rfc[order[i]]);
    writer.setGuid(guid);
    OrvantoModuleProperties properties;
    properties.title = cp1252(module.title);
    properties.description = cp1252(module.description);
    properties.version =
        OrvantoModuleWriter::packVersion(module.version[0], module.version[1], module.version[2], module.version[3]);
    writer.setProperties(properties);
    for (const TableModel &t : module.tables) {
        auto section = std::make_shared<OrvantoTableSection>(toWriterSpec(t));
        // Produce once here so a table the format cannot hold is reported with its name.
        try {
            section->produce(0);
        } catch (const std::exception &e) {
            throw BuildError({t.name, 0}, QStringLiteral("a tabela não pôde ser gravada: %1").arg(QString::fromUtf8(e.what())));
        }
        writer.addTable(cp1252(t.name), section);
    }
    try {
        writer.writeFile(path.toStdString());
    } catch (const std::exception &e) {
        throw BuildError({path, 0}, QString::fromUtf8(e.what()));
    }
}

}  // namespace vl::build
