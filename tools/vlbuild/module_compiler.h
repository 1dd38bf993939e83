#pragma once
// Compiles a content folder into the module's tables: the contents table "toc" first, then every
// table of tables/*.table in file-name order, with texts, pictures and sounds converted.
#include "content_sources.h"
#include "converters.h"
#include "table_model.h"

namespace vl::build {

ModuleModel compileModule(const ContentSources &sources, const Converters &converters);
ModuleModel compileContentFolder(const QString &contentDir, const Converters &converters);

// The columns of "toc", in the order they are written.
QList<ColumnSpec> tocColumns();

}  // namespace vl::build
