#pragma once
// The connection factory for module files used by the program.
#include "shell/module_database.h"

namespace vl {

ModuleDatabaseFactory moduleDatabaseFactory();

}  // namespace vl
