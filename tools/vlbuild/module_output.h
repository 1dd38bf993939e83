#pragma once
// Writes a compiled module through the Orvanto module writer.
#include "table_model.h"

#include "engine/writer/table_writer.h"

namespace vl::build {

// The table in the writer's terms (texts in code page 1252).
OrvantoTableSpec toWriterSpec(const TableModel &table);

// The whole file, written through a temporary file and a rename.
// Throws BuildError naming the table when a table cannot be stored.
void writeModuleFile(const ModuleModel &module, const QString &path);

}  // namespace vl::build
