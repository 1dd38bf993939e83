// orvanto info FILE: the information record of a module file.
#include <cstdio>

#include "command_registry.h"
#include "engine/orvanto_db.h"
#include "engine/orvanto_guid.h"
#include "engine_output.h"

namespace vl::inspector {

namespace {

void printField(const char *label, const std::string &cp1252Value) {
  std::printf("%s: ", label);
  printText(cp1252Value);
  std::printf("\n");
}

int runInfo(const std::vector<std::string> &arguments) {
  if (!singleFileArgument("info", arguments)) return 2;
  try {
    TOrvanto_DB_Engine db;
    db.SetFileName(arguments[0]);
    const TOrvanto_DB_Info info = db.GetInfo();
    char version[32];
    std::snprintf(version, sizeof version, "%d.%d.%d.%d", info.Version[0], info.Version[1], info.Version[2],
                  info.Version[3]);
    char format[16];
    std::snprintf(format, sizeof format, "%d.%d", info.FormatVersion[0], info.FormatVersion[1]);
    printField("Título", info.Title);
    printField("Versão", version);
    printField("GUID", orv::guidText(info.Guid));
    printField("Descrição", info.Description);
    printField("Versão do formato", format);
    printField("Tamanho", std::to_string(info.FileSize) + " bytes");
    return 0;
  } catch (...) {
    return reportingErrors(std::current_exception());
  }
}

const Registration registration{{"info", "FILE", "mostra o registro de informações do módulo", &runInfo}};

}  // namespace

}  // namespace vl::inspector
