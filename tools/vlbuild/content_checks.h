#pragma once
// Checks across the sources: topics against their tables, links against the topics, the sound
// table against the program's events. Each failure is a BuildError naming the place.
#include "content_sources.h"
#include "table_model.h"

namespace vl::build {

// Before conversion: topic fields that name tables, columns and indexes.
void checkTopicTables(const ContentSources &sources);

// After conversion: links and anchors of every topic text, jump targets of the exam tables,
// legend codes of hot-image texts, the sound table, the dictionary references.
void checkContent(const ContentSources &sources, const ModuleModel &module,
                  const QMap<QString, QStringList> &spotCodes);

// Resolves a topic link target as the program does: identifier, title or caption, ignoring case.
int findTopic(const QList<TopicSource> &topics, const QString &identifier);

inline const QString soundTableName = QStringLiteral("Sons");
inline const QString referenceTableName = QStringLiteral("Referências do Dicionário");

}  // namespace vl::build
