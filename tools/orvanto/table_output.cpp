#include "table_output.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>

#include "blob_kind.h"
#include "engine/cp1252.h"
#include "engine_output.h"

namespace vl::inspector {

using namespace orv;

OpenTable::OpenTable(const std::string &file, const std::string &tableNameUtf8) {
  db.SetFileName(file);
  db.Connect();
  table = std::make_unique<TOrvanto_Table_Engine>(&db);
  table->SetTableName(utf8ToCp1252(tableNameUtf8));
  table->OpenOrRaise();
  table->SetEllipsisType(orvEtThreeDots);
}

namespace {

std::string dateText(std::int64_t dayNumber) {
  using namespace std::chrono;
  const year_month_day d{sys_days{year{1} / January / 1} + days{dayNumber - 1}};
  char text[32];
  std::snprintf(text, sizeof text, "%04d-%02u-%02u", int(d.year()), unsigned(d.month()), unsigned(d.day()));
  return text;
}

std::string timeText(std::int64_t ms) {
  char text[32];
  std::snprintf(text, sizeof text, "%02lld:%02lld:%02lld.%03lld", static_cast<long long>(ms / 3600000),
                static_cast<long long>(ms / 60000 % 60), static_cast<long long>(ms / 1000 % 60),
                static_cast<long long>(ms % 1000));
  return text;
}

}  // namespace

std::string formatColumn(TOrvanto_iLow_Table &table, const std::uint8_t *buffer, std::size_t column) {
  const TOrvanto_iLow_Field &f = table.Column(column);
  if (f.isBlob()) {
    if (table.IsNull(buffer, column)) return {};
    const std::uint32_t length = table.BlobLength(column);
    std::uint8_t head[kBlobKindProbe];
    const std::string kind = blobKind(head, table.ReadBlob(column, 0, std::min<std::uint32_t>(length, sizeof head), head));
    return kind.empty() ? std::to_string(length) : std::to_string(length) + " " + kind;
  }
  if (table.IsNull(buffer, column)) return {};
  const std::uint8_t *slot = buffer + f.slotOffset;
  std::int32_t i32;
  double d;
  std::memcpy(&i32, slot, std::min<std::size_t>(4, f.slotSize));
  if (f.slotSize >= 8) std::memcpy(&d, slot, 8);
  char text[64];
  switch (f.type) {
    case ctString: case ctBytes: return table.StringValue(buffer, column);
    case ctWord: return std::to_string(static_cast<std::uint32_t>(i32));
    case ctSmallint: case ctInteger: case ctAutoInc: return std::to_string(i32);
    case ctBoolean: return slot[0] ? "sim" : "n\xE3o";  // cp1252, like every field text
    case ctFloat: case ctCurrency: std::snprintf(text, sizeof text, "%.15g", d); return text;
    case ctDate: return dateText(i32);
    case ctTime: return timeText(i32);
    case ctDateTime: {
      const auto ms = static_cast<std::int64_t>(d);
      return dateText(ms / 86400000 + 1) + " " + timeText(ms % 86400000);
    }
    default: return {};
  }
}

void printRecord(TOrvanto_iLow_Table &table, const std::uint8_t *buffer) {
  std::string line;
  for (std::size_t c = 0; c < table.ColumnCount(); ++c) {
    if (c) line += '\t';
    std::string field = formatColumn(table, buffer, c);
    for (char &ch : field)
      if (ch == '\t' || ch == '\n' || ch == '\r') ch = ' ';
    line += field;
  }
  printText(line);
  std::printf("\n");
}

}  // namespace vl::inspector
