#include "engine_output.h"

#include <cstdio>
#include <new>
#include <stdexcept>

#include "command_registry.h"
#include "engine/cp1252.h"
#include "engine/orvanto_error.h"

namespace vl::inspector {

void printText(const std::string &cp1252) {
  const std::string utf8 = cp1252ToUtf8(cp1252);
  std::fwrite(utf8.data(), 1, utf8.size(), stdout);
}

int reportingErrors(const std::exception_ptr &error) {
  try {
    std::rethrow_exception(error);
  } catch (const EOrvanto_Engine_Error &e) {
    std::fprintf(stderr, "%s\n", cp1252ToUtf8(e.what()).c_str());
  } catch (const std::bad_alloc &) {
    std::fprintf(stderr, "Memória insuficiente.\n");
  } catch (const std::exception &e) {
    std::fprintf(stderr, "%s\n", e.what());
  }
  return 1;
}

bool singleFileArgument(const char *command, const std::vector<std::string> &arguments) {
  if (arguments.size() == 1) return true;
  const Command *c = findCommand(command);
  std::fprintf(stderr, "Uso: orvanto %s %s\n", command, c ? c->arguments : "FILE");
  return false;
}

}  // namespace vl::inspector
