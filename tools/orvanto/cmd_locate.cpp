// orvanto locate FILE TABLE FIELD VALUE [--ci] [--partial]: finds a record with the table
// component's Locate and prints the index it searched, the record number and the record.
#include <cstdio>
#include <string>

#include "command_registry.h"
#include "data/orvanto_db.h"
#include "data/orvanto_table.h"
#include "engine_output.h"

namespace vl::inspector {

namespace {

// Line breaks of memo texts become blanks, so that one field stays on one line.
std::string oneLine(std::string text) {
  std::string out;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '\r' || text[i] == '\n') {
      if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
      out += ' ';
    } else {
      out += text[i];
    }
  }
  return out;
}

int runLocate(const std::vector<std::string> &arguments) {
  std::vector<std::string> positional;
  LocateOptions options = 0;
  for (const auto &a : arguments) {
    if (a == "--ci")
      options |= loCaseInsensitive;
    else if (a == "--partial")
      options |= loPartialKey;
    else
      positional.push_back(a);
  }
  if (positional.size() != 4) {
    const Command *c = findCommand("locate");
    std::fprintf(stderr, "Uso: orvanto locate %s\n", c ? c->arguments : "");
    return 2;
  }
  try {
    TOrvantoDB db;
    db.setFileName(positional[0]);
    TOrvantoTable table;
    table.setOrvantoDatabase(&db);
    table.setTableName(positional[1]);
    table.open();
    const int index = table.locateIndexNumber(positional[2], options);
    if (!table.locate(positional[2], Value(positional[3]), options)) {
      std::fprintf(stderr, "Registro não encontrado.\n");
      return 1;
    }
    std::printf("Índice: %s\n", table.indexDefs().at(static_cast<std::size_t>(index)).name.c_str());
    std::printf("Registro: %u\n", table.recNo());
    for (std::size_t i = 0; i < table.fieldCount(); ++i) {
      const Field &f = table.field(i);
      std::printf("%s: %s\n", f.fieldName().c_str(), oneLine(f.displayText()).c_str());
    }
    return 0;
  } catch (...) {
    return reportingErrors(std::current_exception());
  }
}

const Registration registration{{"locate", "FILE TABLE FIELD VALUE [--ci] [--partial]",
                                 "procura um registro com Locate e mostra o índice usado e o registro",
                                 &runLocate}};

}  // namespace

}  // namespace vl::inspector
