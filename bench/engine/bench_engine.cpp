// The same 200,000 records as an Orvanto module and as an SQLite table with an index:
// Verify throughput against zlib crc32 over the table's bytes, FindKey latency against an
// indexed point lookup.
#include <benchmark/benchmark.h>
#include <sqlite3.h>
#include <unistd.h>
#include <zlib.h>

#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "engine/orvanto_table.h"
#include "engine/writer/table_writer.h"

using namespace vl;

namespace {

constexpr int kRecords = 200000;

std::string keyOf(int i) {
  char text[32];
  // Scrambled so storage order and key order differ.
  std::snprintf(text, sizeof text, "placa-%07u", static_cast<unsigned>((i * 7919u) % 1000003u));
  return text;
}

// A table's verified bytes: its record area and every index block.
std::vector<std::uint8_t> verifiedBytesOf(const std::vector<std::uint8_t> &image, const OrvantoTableLayout &l) {
  return {image.begin() + static_cast<long>(l.base + l.recordStart), image.begin() + static_cast<long>(l.base + 143 + l.size)};
}

struct Data {
  std::string modulePath, sqlitePath;
  std::vector<std::uint8_t> image;
  // "placas": narrow records, checked one by one; "sinais": records with a descriptive text
  // (a Memo column, as the content tables have), checked through the table check value.
  std::vector<std::uint8_t> tableBytes, signBytes;
  std::vector<std::string> keys;

  Data() {
    const auto dir = std::filesystem::temp_directory_path();
    modulePath = (dir / ("vl-bench-" + std::to_string(::getpid()) + ".cdb")).string();
    sqlitePath = (dir / ("vl-bench-" + std::to_string(::getpid()) + ".sqlite")).string();
    OrvantoTableSpec s;
    s.name = "placas";
    s.columns = {OrvantoColumnSpec::String("Codigo", 20), OrvantoColumnSpec::Fixed("Numero", orv::ctInteger),
                 OrvantoColumnSpec::String("Nome", 40)};
    for (int i = 0; i < kRecords; ++i) {
      keys.push_back(keyOf(i));
      s.records.push_back({keys.back(), std::int64_t(i), std::string("Sinal de trânsito número ") + std::to_string(i)});
    }
    s.indexes.push_back({"PorCodigo", {{"Codigo"}}, 0x02, true, true});
    OrvantoTableSpec signs;
    signs.name = "sinais";
    signs.columns = {OrvantoColumnSpec::String("Codigo", 20), OrvantoColumnSpec::String("Nome", 60),
                     OrvantoColumnSpec::Memo("Descricao", 40)};
    for (int i = 0; i < kRecords; ++i) {
      std::string text = "Sinal " + std::to_string(i) + ": indica ao condutor a obrigação, a limitação ou a proibição";
      while (text.size() < 240) text += " que se aplica ao trecho da via sinalizado";
      signs.records.push_back({keys[i], std::string("Nome do sinal ") + std::to_string(i), text});
    }
    signs.indexes.push_back({"PorCodigo", {{"Codigo"}}, 0x02, true, true});
    OrvantoModuleWriter w;
    auto section = addTable(w, std::move(s));
    auto signSection = addTable(w, std::move(signs));
    image = w.build();
    std::ofstream(modulePath, std::ios::binary).write(reinterpret_cast<const char *>(image.data()),
                                                       static_cast<std::streamsize>(image.size()));
    tableBytes = verifiedBytesOf(image, section->layout());
    signBytes = verifiedBytesOf(image, signSection->layout());

    std::remove(sqlitePath.c_str());
    sqlite3 *db = nullptr;
    sqlite3_open(sqlitePath.c_str(), &db);
    sqlite3_exec(db, "CREATE TABLE placas(codigo TEXT, numero INTEGER, nome TEXT);", nullptr, nullptr, nullptr);
    sqlite3_exec(db, "BEGIN", nullptr, nullptr, nullptr);
    sqlite3_stmt *insert = nullptr;
    sqlite3_prepare_v2(db, "INSERT INTO placas VALUES(?,?,?)", -1, &insert, nullptr);
    for (int i = 0; i < kRecords; ++i) {
      const std::string name = "Sinal de trânsito número " + std::to_string(i);
      sqlite3_bind_text(insert, 1, keys[i].c_str(), -1, SQLITE_TRANSIENT);
      sqlite3_bind_int(insert, 2, i);
      sqlite3_bind_text(insert, 3, name.c_str(), -1, SQLITE_TRANSIENT);
      sqlite3_step(insert);
      sqlite3_reset(insert);
    }
    sqlite3_finalize(insert);
    sqlite3_exec(db, "COMMIT", nullptr, nullptr, nullptr);
    sqlite3_exec(db, "CREATE INDEX porcodigo ON placas(codigo COLLATE NOCASE);", nullptr, nullptr, nullptr);
    sqlite3_close(db);
  }
  ~Data() {
    std::remove(modulePath.c_str());
    std::remove(sqlitePath.c_str());
  }
};

Data &data() {
  static Data d;
  return d;
}

void crcOver(benchmark::State &state, const std::vector<std::uint8_t> &bytes) {
  for (auto _ : state) {
    uLong crc = crc32(0xFADA0006u, bytes.data(), static_cast<uInt>(bytes.size()));
    benchmark::DoNotOptimize(crc);
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * bytes.size()));
}

void verifyTable(benchmark::State &state, const char *name, const std::vector<std::uint8_t> &bytes) {
  TOrvanto_DB_Engine db;
  db.SetFileName(data().modulePath);
  TOrvanto_Table_Engine table(&db);
  table.SetTableName(name);
  if (!table.Open()) {
    state.SkipWithError("open failed");
    return;
  }
  for (auto _ : state) {
    const bool ok = table.Verify();
    if (!ok) state.SkipWithError("verify failed");
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * bytes.size()));
}

void BM_Crc32_Narrow(benchmark::State &state) { crcOver(state, data().tableBytes); }
void BM_Verify_Narrow(benchmark::State &state) { verifyTable(state, "placas", data().tableBytes); }
void BM_Crc32_Signs(benchmark::State &state) { crcOver(state, data().signBytes); }
void BM_Verify_Signs(benchmark::State &state) { verifyTable(state, "sinais", data().signBytes); }

void BM_FindKey(benchmark::State &state) {
  TOrvanto_DB_Engine db;
  db.SetFileName(data().modulePath);
  TOrvanto_Table_Engine table(&db);
  table.SetTableName("placas");
  if (!table.Open()) {
    state.SkipWithError("open failed");
    return;
  }
  table.SwitchIndexOrRaise(1);
  std::vector<std::uint8_t> record = table.NewRecordBuffer(), out = table.NewRecordBuffer();
  std::mt19937 random(7);
  std::uniform_int_distribution<int> pick(0, kRecords - 1);
  std::vector<std::uint8_t> slot(table.Column(0).slotSize);
  std::size_t found = 0;
  for (auto _ : state) {
    const std::string &key = data().keys[pick(random)];
    std::memset(slot.data(), 0, slot.size());
    std::memcpy(slot.data(), key.data(), key.size());
    table.PutColumnValue(record.data(), 0, slot.data());
    found += table.FindKey(1, 0, record.data(), false, out.data());
  }
  if (found != static_cast<std::size_t>(state.iterations())) state.SkipWithError("key not found");
}

void BM_SqliteLookup(benchmark::State &state) {
  sqlite3 *db = nullptr;
  sqlite3_open_v2(data().sqlitePath.c_str(), &db, SQLITE_OPEN_READONLY, nullptr);
  sqlite3_stmt *query = nullptr;
  sqlite3_prepare_v2(db, "SELECT codigo, numero, nome FROM placas WHERE codigo = ? COLLATE NOCASE LIMIT 1", -1, &query,
                     nullptr);
  std::mt19937 random(7);
  std::uniform_int_distribution<int> pick(0, kRecords - 1);
  std::size_t found = 0;
  for (auto _ : state) {
    const std::string &key = data().keys[pick(random)];
    sqlite3_bind_text(query, 1, key.c_str(), static_cast<int>(key.size()), SQLITE_STATIC);
    if (sqlite3_step(query) == SQLITE_ROW) {
      ++found;
      benchmark::DoNotOptimize(sqlite3_column_text(query, 2));
    }
    sqlite3_reset(query);
  }
  sqlite3_finalize(query);
  sqlite3_close(db);
  if (found != static_cast<std::size_t>(state.iterations())) state.SkipWithError("key not found");
}

}  // namespace

BENCHMARK(BM_Crc32_Narrow)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Verify_Narrow)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Crc32_Signs)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Verify_Signs)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_FindKey)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_SqliteLookup)->Unit(benchmark::kMicrosecond);

BENCHMARK_MAIN();
