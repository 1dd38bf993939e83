// orvanto verify FILE [TABLE]: verifies each table (or one) with a progress line.
#include <cstdio>

#include "command_registry.h"
#include "engine/cp1252.h"
#include "engine/orvanto_messages.h"
#include "engine_output.h"
#include "table_output.h"

namespace vl::inspector {

namespace {

// Verifies one table; prints its result line. Returns true when it passed.
bool verifyTable(TOrvanto_DB_Engine &db, const std::string &name) {
  TOrvanto_Table_Engine table(&db);
  table.SetTableName(name);
  const std::string shown = cp1252ToUtf8(name);
  if (!table.Open()) {
    std::printf("%s: FALHOU\n", shown.c_str());
    std::fprintf(stderr, "%s\n", cp1252ToUtf8(orv::engineMessage(orv::kOpTableOpen, table.LastError())).c_str());
    return false;
  }
  auto progress = [&](void *, std::uint8_t percent, bool &) {
    if (percent <= 100) std::fprintf(stderr, "\r%s: %3u%%", shown.c_str(), unsigned(percent));
    else std::fprintf(stderr, "\r");
  };
  const bool ok = table.Verify(progress, nullptr);
  std::fprintf(stderr, "\n");
  if (ok) {
    std::printf("%s: OK (%u registros)\n", shown.c_str(), table.RecordCount());
    return true;
  }
  std::printf("%s: FALHOU\n", shown.c_str());
  if (!table.LastError().isClear())
    std::fprintf(stderr, "%s\n", cp1252ToUtf8(orv::engineMessage(orv::kOpTable, table.LastError())).c_str());
  else
    std::fprintf(stderr, "A Tabela está corrompida: os valores de verificação não conferem.\n");
  return false;
}

int runVerify(const std::vector<std::string> &arguments) {
  if (arguments.empty() || arguments.size() > 2) {
    std::fprintf(stderr, "Uso: orvanto verify FILE [TABLE]\n");
    return 2;
  }
  try {
    TOrvanto_DB_Engine db;
    db.SetFileName(arguments[0]);
    db.Connect();
    std::vector<std::string> names;
    if (arguments.size() == 2) names.push_back(utf8ToCp1252(arguments[1]));
    else
      for (std::size_t i = 0; i < db.TableCount(); ++i) names.push_back(db.TableName(i));
    bool ok = true;
    for (const auto &name : names) ok = verifyTable(db, name) && ok;
    return ok ? 0 : 1;
  } catch (...) {
    return reportingErrors(std::current_exception());
  }
}

const Registration registration{{"verify", "FILE [TABLE]", "verifica as tabelas do módulo", &runVerify}};

}  // namespace

}  // namespace vl::inspector
