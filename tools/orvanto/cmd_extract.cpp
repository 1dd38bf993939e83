// orvanto extract FILE TABLE RECNO COLUMN OUT: writes one field of one record (a blob, a memo
// or a text) to a file, to look at the pictures, sounds and texts a module stores.
#include <cstdio>
#include <fstream>
#include <string>

#include "command_registry.h"
#include "engine/cp1252.h"
#include "engine/orvanto_db.h"
#include "engine/orvanto_table.h"
#include "engine_output.h"

namespace vl::inspector {

namespace {

bool parseRecordNumber(const std::string &text, std::uint32_t &number) {
  if (text.empty() || text.size() > 9 || text.find_first_not_of("0123456789") != std::string::npos) return false;
  number = static_cast<std::uint32_t>(std::stoul(text));
  return true;
}

int fail(const std::string &utf8) {
  std::fprintf(stderr, "%s\n", utf8.c_str());
  return 1;
}

int runExtract(const std::vector<std::string> &arguments) {
  if (arguments.size() != 5) {
    std::fprintf(stderr, "Uso: orvanto extract FILE TABLE RECNO COLUMN OUT\n");
    return 2;
  }
  // RECNO and COLUMN may come in either order: a column name is never a plain number.
  std::uint32_t recno = 0;
  std::string column = arguments[3];
  if (!parseRecordNumber(arguments[2], recno)) {
    if (!parseRecordNumber(arguments[3], recno)) return fail("Número de registro inválido: " + arguments[2]);
    column = arguments[2];
  }
  const std::string &out = arguments[4];
  try {
    TOrvanto_DB_Engine db;
    db.SetFileName(arguments[0]);
    db.Connect();
    TOrvanto_Table_Engine table(&db);
    const std::string tableName = utf8ToCp1252(arguments[1]);
    if (db.FindTable(tableName) < 0) return fail("O módulo não tem a tabela '" + arguments[1] + "'.");
    table.SetTableName(tableName);
    table.OpenOrRaise();
    const int c = table.FindColumn(utf8ToCp1252(column));
    if (c < 0) return fail("A tabela '" + arguments[1] + "' não tem a coluna '" + column + "'.");
    if (recno < 1 || recno > table.RecordCount())
      return fail("A tabela '" + arguments[1] + "' tem " + std::to_string(table.RecordCount()) +
                  " registros; não existe o registro " + std::to_string(recno) + ".");
    std::vector<std::uint8_t> buffer = table.NewRecordBuffer();
    table.PositionAt(recno);
    if (!table.ReadRecord(buffer.data())) throw EOrvanto_Engine_Error("Read", table.LastError());
    if (TOrvanto_iLow_Table::IsNull(buffer.data(), static_cast<std::size_t>(c)))
      return fail("O campo '" + column + "' do registro " + std::to_string(recno) + " está vazio.");
    const std::uint8_t type = table.Column(static_cast<std::size_t>(c)).type;
    std::string bytes;
    if (type == orv::ctBlob || type == orv::ctMemo) {
      const std::vector<std::uint8_t> blob = table.ReadWholeBlob(static_cast<std::size_t>(c));
      bytes.assign(blob.begin(), blob.end());
    } else if (type == orv::ctString || type == orv::ctBytes) {
      bytes = table.StringValue(buffer.data(), static_cast<std::size_t>(c));
    } else {
      return fail("A coluna '" + column + "' não é de texto nem blob.");
    }
    std::ofstream file(out, std::ios::binary | std::ios::trunc);
    file.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    file.close();
    if (!file) return fail("Não consegui gravar '" + out + "'.");
    std::printf("%zu bytes gravados em %s\n", bytes.size(), out.c_str());
    return 0;
  } catch (...) {
    return reportingErrors(std::current_exception());
  }
}

const Registration registration{
    {"extract", "FILE TABLE RECNO COLUMN OUT", "grava num arquivo o campo de um registro (figura, som ou texto)", &runExtract}};

}  // namespace

}  // namespace vl::inspector
