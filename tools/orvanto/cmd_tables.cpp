// orvanto tables FILE: the table names of a module file, one per line, in file order.
#include <cstdio>

#include "command_registry.h"
#include "engine/orvanto_db.h"
#include "engine_output.h"

namespace vl::inspector {

namespace {

int runTables(const std::vector<std::string> &arguments) {
  if (!singleFileArgument("tables", arguments)) return 2;
  try {
    TOrvanto_DB_Engine db;
    db.SetFileName(arguments[0]);
    std::vector<std::string> names;
    db.ListTables(names);
    for (const auto &name : names) {
      printText(name);
      std::printf("\n");
    }
    return 0;
  } catch (...) {
    return reportingErrors(std::current_exception());
  }
}

const Registration registration{{"tables", "FILE", "lista as tabelas do módulo, uma por linha", &runTables}};

}  // namespace

}  // namespace vl::inspector
