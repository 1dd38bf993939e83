// orvanto: inspects Orvanto module files. `orvanto <command> [arguments]`.
#include <cstdio>
#include <string>
#include <vector>

#include "command_registry.h"

namespace {

void printUsage(std::FILE *out) {
  std::fprintf(out, "Uso: orvanto <comando> [argumentos]\n\nComandos:\n");
  for (const auto &command : vl::inspector::commands())
    std::fprintf(out, "  %s %s\n      %s\n", command.name, command.arguments, command.description);
}

}  // namespace

int main(int argc, char **argv) {
  if (argc < 2) {
    printUsage(stderr);
    return 2;
  }
  const std::string name = argv[1];
  if (name == "help" || name == "--help" || name == "-h") {
    printUsage(stdout);
    return 0;
  }
  const auto *command = vl::inspector::findCommand(name);
  if (!command) {
    std::fprintf(stderr, "Comando desconhecido: %s\n\n", name.c_str());
    printUsage(stderr);
    return 2;
  }
  return command->run(std::vector<std::string>(argv + 2, argv + argc));
}
