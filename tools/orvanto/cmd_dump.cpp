// orvanto dump FILE TABLE [--index NAME] [--inverse] [--unique]: one record per line.
#include <cstdio>

#include "command_registry.h"
#include "engine/cp1252.h"
#include "engine_output.h"
#include "table_output.h"

namespace vl::inspector {

namespace {

int runDump(const std::vector<std::string> &arguments) {
  std::vector<std::string> positional;
  std::string index;
  bool inverse = false, unique = false;
  for (std::size_t i = 0; i < arguments.size(); ++i) {
    if (arguments[i] == "--index" && i + 1 < arguments.size()) index = arguments[++i];
    else if (arguments[i] == "--inverse") inverse = true;
    else if (arguments[i] == "--unique") unique = true;
    else positional.push_back(arguments[i]);
  }
  if (positional.size() != 2) {
    std::fprintf(stderr, "Uso: orvanto dump FILE TABLE [--index NOME] [--inverse] [--unique]\n");
    return 2;
  }
  try {
    OpenTable open(positional[0], positional[1]);
    TOrvanto_iLow_Table &t = *open.table;
    if (!index.empty()) {
      const int number = t.IndexByName(utf8ToCp1252(index));
      if (number < 0) {
        std::fprintf(stderr, "Índice não encontrado: %s\n", index.c_str());
        return 1;
      }
      t.SwitchIndexOrRaise(static_cast<std::uint16_t>(number));
    }
    t.SetInverse(inverse);
    t.SetUnique(unique);
    std::vector<std::uint8_t> buffer = t.NewRecordBuffer();
    t.First();
    while (t.Next(buffer.data())) {
      if (!t.LastError().isClear()) throw EOrvanto_Engine_Error(orv::kOpTable, t.LastError());
      printRecord(t, buffer.data());
    }
    return 0;
  } catch (...) {
    return reportingErrors(std::current_exception());
  }
}

const Registration registration{
    {"dump", "FILE TABLE [--index NOME] [--inverse] [--unique]", "mostra os registros de uma tabela, um por linha", &runDump}};

}  // namespace

}  // namespace vl::inspector
