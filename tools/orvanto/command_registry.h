#pragma once
// The inspector's command table. A command file registers itself with a static object:
//   static const vl::inspector::Registration reg{{"info", "FILE", "mostra ...", &runInfo}};
#include <string>
#include <vector>

namespace vl::inspector {

struct Command {
  const char *name;
  const char *arguments;    // usage of the arguments, e.g. "FILE"
  const char *description;  // one line, Portuguese
  // Receives the arguments after the command name; returns the exit status.
  int (*run)(const std::vector<std::string> &arguments);
};

// Commands sorted by name.
const std::vector<Command> &commands();
const Command *findCommand(const std::string &name);

struct Registration {
  explicit Registration(const Command &command);
};

}  // namespace vl::inspector
