#include "command_registry.h"

#include <algorithm>
#include <cstring>

namespace vl::inspector {

namespace {
std::vector<Command> &table() {
  static std::vector<Command> commands;
  return commands;
}
}  // namespace

const std::vector<Command> &commands() { return table(); }

const Command *findCommand(const std::string &name) {
  for (const auto &command : table())
    if (name == command.name) return &command;
  return nullptr;
}

Registration::Registration(const Command &command) {
  auto &commands = table();
  const auto at = std::lower_bound(commands.begin(), commands.end(), command,
                                   [](const Command &a, const Command &b) { return std::strcmp(a.name, b.name) < 0; });
  commands.insert(at, command);
}

}  // namespace vl::inspector
