#pragma once
// Everything read from a content folder, before conversion:
//   module.txt, toc.txt, tables/*.table and the topic texts the contents name.
#include "table_source.h"
#include "text_markup.h"
#include "toc_source.h"

#include <QDir>
#include <map>

namespace vl::build {

struct TopicText {
    QString path;        // as named in toc.txt
    QString source;      // the markup as written
    RenderedText rendered;
};

struct ContentSources {
    QDir root;
    ModuleSource module;
    QList<TopicSource> topics;
    QList<TableSource> tables;    // in file-name order
    std::map<int, TopicText> texts;  // by topic position

    const TableSource *table(const QString &name) const;  // ignoring case
    QString absolutePath(const QString &relative) const;
};

ContentSources loadContentSources(const QString &contentDir);

// Names the module reserves for tables it builds itself.
inline const QString tocTableName = QStringLiteral("toc");

}  // namespace vl::build
