// orvanto find FILE TABLE INDEX KEY [--partial]: the first record with the key.
#include <cstdio>
#include <cstring>
#include <string>

#include "command_registry.h"
#include "engine/cp1252.h"
#include "engine_output.h"
#include "table_output.h"

namespace vl::inspector {

namespace {

// Puts the key text into the first segment's column of a record buffer.
bool putKey(TOrvanto_iLow_Table &t, std::uint8_t *record, const std::string &utf8, std::uint32_t &partial) {
  const std::size_t column = t.Index(t.ActiveIndex()).segments[0].column;
  const TOrvanto_iLow_Field &f = t.Column(column);
  std::vector<std::uint8_t> slot(std::max<std::uint32_t>(f.slotSize, 8), 0);
  try {
    switch (f.columnClass) {
      case orv::ColumnClass::Text:
      case orv::ColumnClass::FixedText: {
        const std::string text = utf8ToCp1252(utf8);
        partial = static_cast<std::uint32_t>(text.size());
        std::memcpy(slot.data(), text.data(), std::min<std::size_t>(text.size(), f.slotSize - 1));
        break;
      }
      case orv::ColumnClass::Float:
      case orv::ColumnClass::DateTime: {
        if (f.type == orv::ctDate || f.type == orv::ctTime) {
          const std::int32_t v = std::stoi(utf8);
          std::memcpy(slot.data(), &v, 4);
        } else {
          const double v = std::stod(utf8);
          std::memcpy(slot.data(), &v, 8);
        }
        break;
      }
      case orv::ColumnClass::Integer:
      case orv::ColumnClass::Boolean: {
        const std::int32_t v = static_cast<std::int32_t>(std::stoll(utf8));
        std::memcpy(slot.data(), &v, f.slotSize);
        break;
      }
      default: return false;
    }
  } catch (const std::exception &) {
    return false;
  }
  return t.PutColumnValue(record, column, slot.data());
}

int runFind(const std::vector<std::string> &arguments) {
  std::vector<std::string> positional;
  bool partial = false;
  for (const auto &a : arguments) {
    if (a == "--partial") partial = true;
    else positional.push_back(a);
  }
  if (positional.size() != 4) {
    std::fprintf(stderr, "Uso: orvanto find FILE TABLE INDEX KEY [--partial]\n");
    return 2;
  }
  try {
    OpenTable open(positional[0], positional[1]);
    TOrvanto_iLow_Table &t = *open.table;
    const int number = t.IndexByName(utf8ToCp1252(positional[2]));
    if (number <= 0) {
      std::fprintf(stderr, "Índice não encontrado: %s\n", positional[2].c_str());
      return 1;
    }
    t.SwitchIndexOrRaise(static_cast<std::uint16_t>(number));
    std::vector<std::uint8_t> record = t.NewRecordBuffer();
    std::uint32_t length = 0;
    if (!putKey(t, record.data(), positional[3], length)) {
      std::fprintf(stderr, "Chave inválida para a coluna do índice: %s\n", positional[3].c_str());
      return 2;
    }
    if (!t.FindKey(1, partial ? length : 0, record.data(), false, record.data())) {
      std::printf("not found\n");
      return 1;
    }
    if (!t.LastError().isClear()) throw EOrvanto_Engine_Error(orv::kOpTable, t.LastError());
    printRecord(t, record.data());
    return 0;
  } catch (...) {
    return reportingErrors(std::current_exception());
  }
}

const Registration registration{
    {"find", "FILE TABLE INDEX KEY [--partial]", "procura o primeiro registro com a chave no índice", &runFind}};

}  // namespace

}  // namespace vl::inspector
