#include "module_compiler.h"

#include "cell_converter.h"
#include "content_checks.h"

namespace vl::build {

QList<ColumnSpec> tocColumns()
{
    using T = ColumnType;
    return {{QStringLiteral("LEVEL"), T::Integer, 0},     {QStringLiteral("CAPTION"), T::String, 80},
            {QStringLiteral("TITLE"), T::String, 120},    {QStringLiteral("treeImage"), T::Blob, 0},
            {QStringLiteral("titleImage"), T::Blob, 0},   {QStringLiteral("SCT_SRCH"), T::String, 40},
            {QStringLiteral("SCT_SHOW"), T::String, 80},  {QStringLiteral("TABLE"), T::String, 127},
            {QStringLiteral("CANREVISED"), T::Boolean, 0}, {QStringLiteral("TOPIC_ID"), T::String, 24},
            {QStringLiteral("TYPE"), T::String, 3},       {QStringLiteral("TOPIC_TYPE"), T::String, 1},
            {QStringLiteral("GAME_LEVEL"), T::Integer, 0}, {QStringLiteral("FIELDS"), T::String, 255},
            {QStringLiteral("ORDERS"), T::String, 255},   {QStringLiteral("JUMP"), T::String, 127},
            {QStringLiteral("SET_ORDER"), T::Integer, 0}, {QStringLiteral("AUX"), T::String, 127},
            {QStringLiteral("FILE"), T::Memo, 0}};
}

static QString kindLetter(TopicKind kind)
{
    switch (kind) {
    case TopicKind::Table: return QStringLiteral("T");
    case TopicKind::Game: return QStringLiteral("A");
    case TopicKind::Exam: return QStringLiteral("X");
    case TopicKind::Hot: return QStringLiteral("H");
    case TopicKind::Heading:
    case TopicKind::Text: return {};
    }
    return {};
}

static const QColor iconTransparentColor(0xFF, 0x00, 0xFF);

static CellValue textOrNull(const QString &s)
{
    return s.isEmpty() ? CellValue{} : CellValue{s};
}

static TableModel buildToc(const ContentSources &s, const Converters &converters, const CellConverter &cells)
{
    TableModel toc;
    toc.name = tocTableName;
    toc.description = QStringLiteral("Sumário");
    toc.columns = tocColumns();
    for (int i = 0; i < s.topics.size(); ++i) {
        const TopicSource &t = s.topics[i];
        for (const QString &text : {t.caption, t.title, t.sectionSearch, t.sectionShow, t.fields, t.orders})
            requireCp1252(text, t.place);
        QList<CellValue> row(toc.columns.size());
        auto set = [&](const char *column, CellValue v) { row[toc.columnIndex(QString::fromLatin1(column))] = std::move(v); };
        set("LEVEL", std::int32_t(t.level));
        set("CAPTION", t.caption);
        set("TITLE", textOrNull(t.title));
        set("SCT_SRCH", textOrNull(t.sectionSearch));
        set("SCT_SHOW", textOrNull(t.sectionShow));
        set("TABLE", textOrNull(t.table));
        set("CANREVISED", t.canRevise);
        set("TOPIC_ID", t.id);
        set("TOPIC_TYPE", textOrNull(kindLetter(t.kind)));
        set("AUX", textOrNull(t.aux));
        if (t.kind == TopicKind::Table) {
            set("GAME_LEVEL", std::int32_t(t.gameLevel));
            set("FIELDS", textOrNull(t.fields));
            set("ORDERS", textOrNull(t.orders));
            set("JUMP", textOrNull(t.jump));
            set("SET_ORDER", std::int32_t(t.setOrder));
        }
        if (!t.iconPath.isEmpty()) {
            // Both pictures are needed for a topic's own icon; the program takes the transparent
            // colour from the bitmap's corner, so the background is a colour no icon uses.
            const QString abs = cells.svgFile(t.iconPath, t.iconPlace);
            set("treeImage", svgBitmap(abs, QSize(20, 16), iconTransparentColor, true));
            set("titleImage", svgBitmap(abs, QSize(24, 24), iconTransparentColor, true));
        }
        if (const auto text = s.texts.find(i); text != s.texts.end()) {
            requireCp1252(text->second.source, {text->second.path, 0});
            set("TYPE", QStringLiteral("rtf"));
            set("FILE", converters.rtf(*text->second.rendered.document));
        }
        toc.rows.append(row);
    }
    return toc;
}

ModuleModel compileModule(const ContentSources &s, const Converters &converters)
{
    checkTopicTables(s);
    ModuleModel m;
    m.title = s.module.title;
    m.description = s.module.description;
    m.version = s.module.version;
    m.guid = s.module.guid;
    CellConverter cells(s, converters);
    m.tables.append(buildToc(s, converters, cells));

    for (const TableSource &src : s.tables) {
        requireCp1252(src.name + src.description, src.namePlace);
        TableModel t;
        t.name = src.name;
        t.description = src.description;
        t.columns = src.columns;
        t.indexes = src.indexes;
        cells.setCurrentTable(src.name);
        for (const RecordSource &r : src.records) {
            QList<CellValue> row(t.columns.size());
            for (const FieldSource &f : r.fields)
                row[f.column] = cells.convert(t.columns[f.column], f);
            t.rows.append(row);
        }
        m.tables.append(std::move(t));
    }
    checkContent(s, m, cells.spotCodes());
    return m;
}

ModuleModel compileContentFolder(const QString &contentDir, const Converters &converters)
{
    return compileModule(loadContentSources(contentDir), converters);
}

}  // namespace vl::build
