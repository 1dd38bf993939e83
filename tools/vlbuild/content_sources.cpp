#include "content_sources.h"

#include <QFileInfo>

namespace vl::build {

const TableSource *ContentSources::table(const QString &name) const
{
    for (const TableSource &t : tables)
        if (t.name.compare(name, Qt::CaseInsensitive) == 0)
            return &t;
    return nullptr;
}

QString ContentSources::absolutePath(const QString &relative) const
{
    return root.absoluteFilePath(relative);
}

// A path named in a source must stay inside the content folder.
static void checkRelativePath(const QString &path, const SourcePlace &place)
{
    if (QDir::isAbsolutePath(path) || QDir::cleanPath(path).startsWith(QLatin1String("..")))
        throw BuildError(place, QStringLiteral("o caminho '%1' deve ser relativo à pasta do conteúdo").arg(path));
}

ContentSources loadContentSources(const QString &contentDir)
{
    ContentSources c;
    c.root = QDir(contentDir);
    if (!c.root.exists())
        throw BuildError({contentDir, 0}, QStringLiteral("a pasta do conteúdo não existe"));
    c.module = parseModule(readStanzaFile(c.absolutePath(QStringLiteral("module.txt")), QStringLiteral("module.txt")));
    c.topics = readToc(c.absolutePath(QStringLiteral("toc.txt")), QStringLiteral("toc.txt"));

    const QStringList tableFiles =
        QDir(c.absolutePath(QStringLiteral("tables"))).entryList({QStringLiteral("*.table")}, QDir::Files, QDir::Name);
    for (const QString &f : tableFiles) {
        const QString display = QStringLiteral("tables/") + f;
        TableSource t = readTableSource(c.absolutePath(display), display);
        if (t.name.compare(tocTableName, Qt::CaseInsensitive) == 0)
            throw BuildError(t.namePlace, QStringLiteral("o nome 'toc' é reservado para o sumário"));
        if (const TableSource *other = c.table(t.name))
            throw BuildError(t.namePlace, QStringLiteral("a tabela '%1' já foi declarada em %2").arg(t.name, other->path));
        c.tables.append(std::move(t));
    }

    for (int i = 0; i < c.topics.size(); ++i) {
        const TopicSource &t = c.topics[i];
        if (t.textPath.isEmpty())
            continue;
        checkRelativePath(t.textPath, t.textPlace);
        if (!QFileInfo(c.absolutePath(t.textPath)).isFile())
            throw BuildError(t.textPlace, QStringLiteral("o texto '%1' não existe").arg(t.textPath));
        TopicText text;
        text.path = t.textPath;
        text.source = readSourceText(c.absolutePath(t.textPath), t.textPath);
        text.rendered = renderMarkup(t.textPath, text.source);
        c.texts.emplace(i, std::move(text));
    }
    return c;
}

}  // namespace vl::build
