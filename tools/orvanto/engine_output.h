#pragma once
// Helpers shared by the inspector's commands: engine texts to the terminal and error reporting.
#include <exception>
#include <string>
#include <vector>

namespace vl::inspector {

// Writes cp1252 engine text to stdout as UTF-8.
void printText(const std::string &cp1252);

// For a command's catch block: prints the error's message on stderr (an engine message
// converted to UTF-8) and gives the exit status 1.
int reportingErrors(const std::exception_ptr &error);

// Checks for exactly one FILE argument; prints the usage on stderr otherwise.
bool singleFileArgument(const char *command, const std::vector<std::string> &arguments);

}  // namespace vl::inspector
