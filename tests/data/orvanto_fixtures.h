#pragma once
// Module files for the component tests, built with the writer: a table of signs with indexes,
// previews and blobs, and a table of sign groups for master/detail and lookups.
#include <memory>
#include <string>
#include <vector>

#include "data/orvanto_db.h"
#include "data/orvanto_table.h"
#include "engine/orvanto_test_support.h"
#include "engine/writer/table_writer.h"

namespace vl::test {

inline OrvantoValue txt(const char *utf8) { return std::string(utf8ToCp1252(utf8)); }
inline OrvantoValue num(std::int64_t v) { return v; }

inline const std::string kLongMemo = "Linha um\r\nlinha dois que continua";
inline const std::string kBlobBytes = std::string("GIF\0\x01\x02\0\0end", 11);

// Signs in storage order. Index "PorNome" (case-insensitive) on Nome, "PorCodigo" (case-sensitive)
// on Codigo, "PorGrupo" on Grupo;Nome (no jump table), "SoGrupo" on Grupo.
inline OrvantoTableSpec signTable() {
  using C = OrvantoColumnSpec;
  OrvantoTableSpec s;
  s.name = "Placas";
  s.description = cp("Placas de sinalização");
  C price = C::Fixed("Preco", orv::ctCurrency);
  price.p1 = 2;
  s.columns = {C::String("Codigo", 10),    C::String("Nome", 40), C::Fixed("Grupo", orv::ctInteger),
               C::Memo("Texto", 12),       C::Memo("Obs"),        C::Blob("Figura"),
               C::Fixed("Desde", orv::ctDate), C::Fixed("Ativa", orv::ctBoolean), price,
               C::Bytes("Sigla", 3)};
  const OrvantoValue null{};
  auto row = [&](const char *code, const char *name, std::int64_t group, OrvantoValue text, OrvantoValue obs,
                 OrvantoValue blob) {
    return OrvantoRecord{txt(code), txt(name), num(group), text, obs, blob, num(738000), num(1), 1.5, txt("ab")};
  };
  s.records = {
      row("R-1", "Parada obrigatória", 1, txt(kLongMemo.c_str()), txt("Observação completa"), kBlobBytes),
      row("R-2", "Dê a preferência", 1, txt("Curto"), null, null),
      row("A-1a", "Curva acentuada à esquerda", 2, null, null, std::string()),
      row("A-1b", "Curva acentuada à direita", 2, txt("Curva"), null, null),
      row("R-6a", "Proibido estacionar", 3, null, null, null),
      row("R-6b", "Proibido estacionar", 3, null, null, null),
      row("R-6c", "Proibido estacionar", 3, null, null, null),
      row("A-14", "Semáforo à frente", 4, null, null, null),
  };
  OrvantoIndexSpec byName{"PorNome", {{"Nome"}}, 0x02};
  OrvantoIndexSpec byCode{"PorCodigo", {{"Codigo"}}, 0x00};
  OrvantoIndexSpec byGroup{"PorGrupo", {{"Grupo"}, {"Nome"}}, 0x00};
  byGroup.jumpTable = false;
  OrvantoIndexSpec groupOnly{"SoGrupo", {{"Grupo"}}, 0x00};
  s.indexes = {byName, byCode, byGroup, groupOnly};
  return s;
}

inline OrvantoTableSpec groupTable() {
  using C = OrvantoColumnSpec;
  OrvantoTableSpec s;
  s.name = "Grupos";
  s.columns = {C::Fixed("Grupo", orv::ctInteger), C::String("Desc", 40)};
  s.records = {{num(1), txt("Regulamentação")}, {num(2), txt("Advertência")}, {num(3), txt("Estacionamento")}};
  s.indexes = {OrvantoIndexSpec{"PorGrupo", {{"Grupo"}}, 0x00}};
  return s;
}

struct SignModule {
  std::unique_ptr<TempFile> file;
  SignModule() {
    OrvantoModuleWriter w;
    addTable(w, signTable());
    addTable(w, groupTable());
    file = std::make_unique<TempFile>(w.build());
  }
  const std::string &path() const { return file->path(); }
};

// A connection and an open table on the sign module.
struct SignTable {
  SignModule module;
  TOrvantoDB db;
  TOrvantoTable table;
  explicit SignTable(const std::string &indexName = "") {
    db.setFileName(module.path());
    table.setOrvantoDatabase(&db);
    table.setTableName("Placas");
    table.setIndexName(indexName);
    table.open();
  }
  std::string code() { return table.fieldByName("Codigo").asString(); }
};

}  // namespace vl::test
