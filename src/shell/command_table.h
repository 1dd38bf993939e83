#pragma once
// Every command of the main window: name, caption, shortcut, designed hint and list.
#include <QString>

#include <span>

namespace vl {

enum class CommandList { Main, Viewer };

struct CommandSpec {
  const char *name;
  QString caption;
  const char *shortcut;  // QKeySequence text, empty for none
  QString hint;          // designed hint (status-bar part)
  CommandList list;
  const char *category;  // "" plays "CLICK" for viewer commands, "NO_Sound" does not; "Nav" for main
  bool checkable = false;
};

std::span<const CommandSpec> commandTable();
const CommandSpec *findCommand(const QString &name);

// Whether executing the command plays the "CLICK" event sound.
bool commandPlaysClick(const CommandSpec &command);

}  // namespace vl
