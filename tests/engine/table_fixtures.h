#pragma once
// Modules with tables, built by the writer, for the table tests.
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "engine/orvanto_table.h"
#include "engine/writer/table_writer.h"
#include "orvanto_test_support.h"

namespace vl::test {

using C = OrvantoColumnSpec;
inline OrvantoValue S(const char *utf8) { return std::string(utf8ToCp1252(utf8)); }
inline OrvantoValue I(std::int64_t v) { return v; }
inline OrvantoValue D(double v) { return v; }
inline const OrvantoValue Null{};

// A module file holding the given tables; the sections keep their layouts.
struct Module {
  std::vector<std::shared_ptr<OrvantoTableSection>> sections;
  Image image;
  std::unique_ptr<TempFile> file;

  explicit Module(std::vector<OrvantoTableSpec> specs) {
    OrvantoModuleWriter w;
    for (auto &s : specs) sections.push_back(addTable(w, std::move(s)));
    image = w.build();
    file = std::make_unique<TempFile>(image);
  }
  explicit Module(OrvantoTableSpec spec) : Module(std::vector<OrvantoTableSpec>{std::move(spec)}) {}
  const OrvantoTableLayout &layout(std::size_t i = 0) const { return sections[i]->layout(); }
  // Absolute file offset of a table offset.
  std::size_t at(std::uint32_t tableOffset, std::size_t table = 0) const { return layout(table).base + tableOffset; }
  void rewrite() const { file->write(image); }
};

// Database and table opened on a module.
struct Opened {
  TOrvanto_DB_Engine db;
  std::unique_ptr<TOrvanto_Table_Engine> table;
  std::vector<std::uint8_t> buffer;

  Opened(const Module &m, const std::string &name) {
    db.SetFileName(m.file->path());
    table = std::make_unique<TOrvanto_Table_Engine>(&db);
    table->SetTableName(name);
  }
  bool open() {
    if (!table->Open()) return false;
    buffer = table->NewRecordBuffer();
    return true;
  }
  TOrvanto_iLow_Table &t() { return *table; }
  std::string text(std::size_t column) { return cp1252ToUtf8(table->StringValue(buffer.data(), column)); }
  // The column's text for each record in the cursor's order, First then Next.
  std::vector<std::string> walk(std::size_t column) {
    std::vector<std::string> out;
    table->First();
    while (table->Next(buffer.data())) out.push_back(text(column));
    return out;
  }
  std::vector<std::string> walkBack(std::size_t column) {
    std::vector<std::string> out;
    table->Last();
    while (table->Prior(buffer.data())) out.push_back(text(column));
    return out;
  }
};

// A table of words with a case- and accent-folding index and a plain one.
inline OrvantoTableSpec wordTable(const std::vector<const char *> &words, std::uint8_t flags = 0x06,
                                  bool headFlag = true) {
  OrvantoTableSpec s;
  s.name = "palavras";
  s.columns = {C::String("Palavra", 40), C::Fixed("N", orv::ctInteger)};
  std::int64_t n = 0;
  for (const char *w : words) s.records.push_back({S(w), I(n++)});
  OrvantoIndexSpec ix;
  ix.name = "PorPalavra";
  ix.segments = {{"Palavra"}};
  ix.flags = flags;
  ix.headFlag = headFlag;
  s.indexes.push_back(ix);
  return s;
}

// Signs by kind and code: an index on Tipo;Codigo whose kinds hold several code groups, one of
// them ("Regulamentação", "R-2") of two records. Index order:
//   1 Advertência A-1, 2 Advertência A-2, 3 Indicação I-1, 4 Parar P-0, 5 Pare P-1, 6 Pare P-2,
//   7 Parede P-3, 8..13 Regulamentação R-1 R-2 R-2 R-3 R-4 R-5, 14 Regular X-1.
inline OrvantoTableSpec kindCodeTable(bool jumpTable = true, bool headFlag = true) {
  OrvantoTableSpec s;
  s.name = "tipos";
  s.columns = {C::String("Tipo", 20), C::String("Codigo", 10)};
  const char *rows[][2] = {{"Regulamentação", "R-3"}, {"Advertência", "A-2"}, {"Regulamentação", "R-1"},
                           {"Pare", "P-2"},           {"Regulamentação", "R-2"}, {"Advertência", "A-1"},
                           {"Regulamentação", "R-2"}, {"Parede", "P-3"},      {"Indicação", "I-1"},
                           {"Regulamentação", "R-4"}, {"Pare", "P-1"},        {"Regular", "X-1"},
                           {"Regulamentação", "R-5"}, {"Parar", "P-0"}};
  for (const auto &r : rows) s.records.push_back({S(r[0]), S(r[1])});
  OrvantoIndexSpec ix{"PorTipoCodigo", {{"Tipo"}, {"Codigo"}}, 0x00};
  ix.jumpTable = jumpTable;
  ix.headFlag = headFlag;
  s.indexes.push_back(ix);
  return s;
}

}  // namespace vl::test
