// TOrvantoDB, TOrvantoTable and TOrvantoBlobStream on modules built by the writer.
#include <gtest/gtest.h>

#include <filesystem>

#include "data/orvanto_blob_stream.h"
#include "orvanto_fixtures.h"

using namespace vl;
using namespace vl::test;

namespace {

std::string errorOf(const std::function<void()> &work) {
  try {
    work();
  } catch (const DatabaseError &e) {
    return e.what();
  } catch (const EOrvanto_Engine_Error &e) {
    return "engine " + std::string(e.operation()) + " " + std::to_string(e.code());
  }
  return "(no error)";
}

std::vector<std::string> codes(TOrvantoTable &t) {
  std::vector<std::string> out;
  for (t.first(); !t.eof(); t.next()) out.push_back(t.fieldByName("Codigo").asString());
  return out;
}

}  // namespace

// ---- connection ------------------------------------------------------------------------------

TEST(TOrvantoDB, ConnectsAndListsTables) {
  SignModule module;
  TOrvantoDB db;
  EXPECT_EQ(errorOf([&] { db.setConnected(true); }), "Falta informar o nome do arquivo");
  db.setFileName("  " + module.path() + " ");
  EXPECT_EQ(db.fileName(), module.path());
  db.open();
  EXPECT_TRUE(db.connected());
  EXPECT_EQ(db.tableNames(), (std::vector<std::string>{"Placas", "Grupos"}));
  db.close();
  EXPECT_FALSE(db.connected());
  db.setFileName(module.path() + ".nada");
  EXPECT_EQ(errorOf([&] { db.open(); }), "engine Connection 131");
  EXPECT_FALSE(db.connected());
}

TEST(TOrvantoDB, FileNameInAnotherCaseKeepsTheConnection) {
  SignTable s;
  const std::string path = s.module.path();
  std::string upper = path;
  for (char &c : upper) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  ASSERT_NE(upper, path);
  s.db.setFileName(upper);
  EXPECT_TRUE(s.db.connected());
  EXPECT_TRUE(s.table.active());
  EXPECT_EQ(s.db.fileName(), path);
  // Another existing file whose name differs only in case is another file here.
  const auto dir = std::filesystem::temp_directory_path() / ("vl-data-case-" + std::to_string(::getpid()));
  std::filesystem::create_directories(dir);
  std::filesystem::copy_file(path, dir / "modulo.cdb", std::filesystem::copy_options::overwrite_existing);
  std::filesystem::copy_file(path, dir / "MODULO.cdb", std::filesystem::copy_options::overwrite_existing);
  TOrvantoDB other;
  other.setFileName((dir / "modulo.cdb").string());
  other.open();
  other.setFileName((dir / "MODULO.cdb").string());
  EXPECT_FALSE(other.connected());
  EXPECT_EQ(other.fileName(), (dir / "MODULO.cdb").string());
  std::filesystem::remove_all(dir);
}

TEST(TOrvantoDB, ClosingAndDestroyingReachTheDataSets) {
  SignModule module;
  TOrvantoTable table;
  {
    TOrvantoDB db;
    db.setFileName(module.path());
    table.setOrvantoDatabase(&db);
    table.setTableName("Placas");
    table.open();
    EXPECT_TRUE(db.connected());  // opening the table opened the connection
    db.close();
    EXPECT_FALSE(table.active());
    table.open();
    EXPECT_EQ(db.dataSets().size(), 1u);
  }
  EXPECT_FALSE(table.active());
  EXPECT_EQ(table.orvantoDatabase(), nullptr);
  EXPECT_EQ(errorOf([&] { table.open(); }), "Database name missing");
}

// ---- opening ---------------------------------------------------------------------------------

TEST(TOrvantoTable, OpeningErrors) {
  SignModule module;
  TOrvantoDB db;
  db.setFileName(module.path());
  TOrvantoTable t;
  EXPECT_EQ(errorOf([&] { t.open(); }), "Database name missing");
  t.setOrvantoDatabase(&db);
  EXPECT_EQ(errorOf([&] { t.open(); }), "Missing TableName property");
  t.setTableName("Inexistente");
  EXPECT_EQ(errorOf([&] { t.open(); }), "engine TB Open 152");
  EXPECT_FALSE(t.active());
  t.setTableName(std::string(128, 'x'));
  EXPECT_EQ(errorOf([&] { t.open(); }), "engine Table 151");
  t.setTableName("placas");  // table names ignore case
  t.setIndexName("Nenhum");
  EXPECT_EQ(errorOf([&] { t.open(); }), "Index does not exist. Index: Nenhum");
  EXPECT_FALSE(t.active());
  t.setIndexName("pornome");
  t.open();
  EXPECT_EQ(t.activeIndexNumber(), 1);
  t.setTableName("Grupos");  // a different name closes
  EXPECT_FALSE(t.active());
}

TEST(TOrvantoTable, FieldDefinitions) {
  SignTable s;
  struct Expected {
    const char *name;
    FieldType type;
    int size;
    int precision;
    bool fixed;
  };
  const Expected expected[] = {
      {"Codigo", FieldType::String, 10, 0, false}, {"Nome", FieldType::String, 40, 0, false},
      {"Grupo", FieldType::Integer, 0, 0, true},   {"Texto", FieldType::String, 12, 0, false},
      {"Obs", FieldType::Memo, 0, 0, false},       {"Figura", FieldType::Blob, 0, 0, false},
      {"Desde", FieldType::Date, 0, 0, true},      {"Ativa", FieldType::Boolean, 0, 0, true},
      {"Preco", FieldType::Currency, 0, 2, true},  {"Sigla", FieldType::String, 3, 0, true},
  };
  ASSERT_EQ(s.table.fieldCount(), std::size(expected));
  for (std::size_t i = 0; i < std::size(expected); ++i) {
    const Field &f = s.table.field(i);
    SCOPED_TRACE(expected[i].name);
    EXPECT_EQ(f.fieldName(), expected[i].name);
    EXPECT_EQ(f.dataType(), expected[i].type);
    EXPECT_EQ(f.size(), expected[i].size);
    EXPECT_EQ(f.precision(), expected[i].precision);
    EXPECT_EQ(f.fixedSize(), expected[i].fixed);
    EXPECT_EQ(f.fieldNo(), static_cast<int>(i) + 1);
    EXPECT_TRUE(f.readOnly());
  }
  EXPECT_EQ(s.table.fieldByName("Grupo").asInteger(), 1);
  EXPECT_EQ(s.table.fieldByName("Desde").asDateTime(), storedEpoch() + std::chrono::days(737999));
  EXPECT_EQ(s.table.fieldByName("Ativa").displayText(), "Sim");
  EXPECT_EQ(s.table.fieldByName("Preco").displayText(), "R$ 1,50");
  EXPECT_EQ(s.table.fieldByName("Sigla").asString(), "ab");
  EXPECT_EQ(s.table.fieldByName("Nome").asString(), "Parada obrigatória");
}

// ---- previews and blobs ----------------------------------------------------------------------

TEST(TOrvantoTable, PreviewFieldsHoldThePreviewOnly) {
  SignTable s;
  Field &text = s.table.fieldByName("Texto");
  EXPECT_EQ(text.asString(), "Linha um...");
  EXPECT_TRUE(s.table.previewTruncated(text));
  EXPECT_FALSE(s.table.previewTruncated(s.table.fieldByName("Nome")));
  // The stream over the preview column reads the whole text.
  TOrvantoBlobStream whole(text);
  EXPECT_EQ(whole.readAll(), kLongMemo);
  EXPECT_EQ(s.table.fieldByName("Obs").asString(), "Observação completa");
  s.table.next();
  EXPECT_EQ(text.asString(), "Curto");
  EXPECT_FALSE(s.table.previewTruncated(text));
  EXPECT_TRUE(s.table.fieldByName("Obs").isNull());
  s.table.next();
  EXPECT_TRUE(text.isNull());
  EXPECT_EQ(text.asString(), "");
  s.table.setEllipsisType(orvEtNone);
  EXPECT_EQ(s.table.fieldByName("Codigo").asString(), "A-1a");  // the record stays
  s.table.first();
  EXPECT_EQ(text.asString(), "Linha um lin");
}

TEST(TOrvantoTable, BlobFieldsReadEveryByte) {
  SignTable s;
  Field &blob = s.table.fieldByName("Figura");
  EXPECT_EQ(blob.asString(), kBlobBytes);
  EXPECT_EQ(blob.asString().size(), 11u);
  EXPECT_EQ(blob.displayText(), "(Blob)");
  TOrvantoBlobStream stream(blob);
  ASSERT_TRUE(stream.valid());
  EXPECT_EQ(stream.size(), 11u);
  char part[4] = {};
  EXPECT_EQ(stream.seek(-3, TOrvantoBlobStream::Origin::End), 8u);
  EXPECT_EQ(stream.read(part, 10), 3u);
  EXPECT_EQ(std::string(part, 3), "end");
  EXPECT_EQ(stream.read(part, 1), 0u);
  EXPECT_EQ(stream.seek(3, TOrvantoBlobStream::Origin::Begin), 3u);
  EXPECT_EQ(stream.seek(1, TOrvantoBlobStream::Origin::Current), 4u);
  EXPECT_EQ(stream.read(part, 2), 2u);
  EXPECT_EQ(std::string(part, 2), std::string("\x01\x02", 2));
  EXPECT_EQ(stream.write("xy", 2), 0u);
  TOrvantoBlobStream notBlob(s.table.fieldByName("Nome"));
  EXPECT_FALSE(notBlob.valid());
  EXPECT_EQ(notBlob.read(part, 2), 0u);
  s.table.next();  // null blob
  EXPECT_TRUE(blob.isNull());
  EXPECT_EQ(blob.asString(), "");
  s.table.next();  // empty blob
  EXPECT_EQ(blob.asString(), "");
  s.table.close();
  EXPECT_EQ(stream.read(part, 2), 0u);
}

// ---- records, bookmarks, order ---------------------------------------------------------------

TEST(TOrvantoTable, RecordNumbersAndBookmarks) {
  SignTable s;
  EXPECT_EQ(s.table.recordCount(), 8u);
  EXPECT_EQ(s.table.recNo(), 1u);
  s.table.setRecNo(5);
  EXPECT_EQ(s.code(), "R-6a");
  EXPECT_EQ(s.table.recNo(), 5u);
  s.table.setRecNo(99);  // out of range: nothing
  EXPECT_EQ(s.table.recNo(), 5u);
  const Bookmark mark = s.table.bookmark();
  s.table.last();
  EXPECT_EQ(s.code(), "A-14");
  EXPECT_EQ(s.table.compareBookmarks(mark, s.table.bookmark()), -1);
  EXPECT_EQ(s.table.compareBookmarks({}, {}), 0);
  EXPECT_EQ(s.table.compareBookmarks({}, mark), -1);
  EXPECT_EQ(s.table.compareBookmarks(mark, {}), 1);
  EXPECT_TRUE(s.table.bookmarkValid(mark));
  EXPECT_FALSE(s.table.bookmarkValid(Bookmark{99, 0, 0, 0}));
  s.table.gotoBookmark(mark);
  EXPECT_EQ(s.code(), "R-6a");
  s.table.setBufferCount(3);
  EXPECT_EQ(s.code(), "R-6a");
  std::vector<std::uint32_t> numbers;
  for (int r = 0; r < s.table.windowCount(); ++r) {
    DataSet::RowScope row(s.table, r);
    numbers.push_back(s.table.recordNumber());
  }
  EXPECT_EQ(numbers.size(), 3u);
  EXPECT_TRUE(std::is_sorted(numbers.begin(), numbers.end()));
  EXPECT_NE(std::find(numbers.begin(), numbers.end(), 5u), numbers.end());
}

TEST(TOrvantoTable, InverseAndUniqueOrder) {
  SignTable s("PorGrupo");
  EXPECT_EQ(codes(s.table), (std::vector<std::string>{"R-2", "R-1", "A-1b", "A-1a", "R-6a", "R-6b", "R-6c", "A-14"}));
  s.table.setInverseOrder(true);
  EXPECT_TRUE(s.table.inverseOrder());
  EXPECT_EQ(codes(s.table), (std::vector<std::string>{"A-14", "R-6c", "R-6b", "R-6a", "A-1a", "A-1b", "R-1", "R-2"}));
  s.table.setInverseOrder(false);
  s.table.setUniqueRecords(true);
  EXPECT_EQ(s.table.recordCount(), 6u);
  std::vector<std::uint32_t> repeats;
  for (s.table.first(); !s.table.eof(); s.table.next()) repeats.push_back(s.table.repeatCount());
  EXPECT_EQ(repeats, (std::vector<std::uint32_t>{1, 1, 1, 1, 3, 1}));
  s.table.setUniqueRecords(false);
  EXPECT_EQ(s.table.repeatCount(), 0u);
  s.table.close();
  s.table.setInverseOrder(true);
  s.table.open();
  EXPECT_EQ(s.code(), "A-14");
}

// ---- index selection -------------------------------------------------------------------------

TEST(TOrvantoTable, IndexSelection) {
  SignTable s;
  EXPECT_EQ(s.table.indexName(), "<Primary>");
  ASSERT_EQ(s.table.indexDefs().size(), 6u);
  EXPECT_EQ(s.table.indexDefs()[0].name, "<Primary>");
  EXPECT_EQ(s.table.indexDefs()[3].fields, "Grupo;Nome");
  EXPECT_TRUE(s.table.indexDefs()[1].caseInsensitive);
  s.table.setRecNo(3);
  EXPECT_EQ(s.code(), "A-1a");
  s.table.setIndexName("PorNome");  // the record stays
  EXPECT_EQ(s.code(), "A-1a");
  EXPECT_EQ(s.table.activeIndexNumber(), 1);
  EXPECT_EQ(s.table.recNo(), 2u);  // its place in name order
  s.table.next();
  const std::string current = s.code();
  s.table.setIndexName("PORNOME");  // re-selected, same index and record
  EXPECT_EQ(s.table.indexName(), "PORNOME");
  EXPECT_EQ(s.table.activeIndexNumber(), 1);
  EXPECT_EQ(s.code(), current);
  EXPECT_EQ(s.table.index(s.table.activeIndexNumber()).name, "PorNome");
  EXPECT_EQ(errorOf([&] { s.table.setIndexName("Outro"); }), "Index does not exist. Index: Outro");
  EXPECT_EQ(s.table.activeIndexNumber(), 1);
  EXPECT_EQ(errorOf([&] { s.table.setIndexNumber(6); }), "Index 'ID 6' not found");
  s.table.setIndexNumber(2);
  EXPECT_EQ(s.table.indexName(), "PorCodigo");
  EXPECT_EQ(s.code(), current);
  s.table.setIndexName("");
  EXPECT_EQ(s.table.indexName(), "<Primary>");
  EXPECT_EQ(s.table.activeIndexNumber(), 0);
  EXPECT_EQ(s.code(), current);
}

// ---- key search ------------------------------------------------------------------------------

TEST(TOrvantoTable, FindKeyOnTheFirstOfTwoKeyFields) {
  SignTable s("PorGrupo");
  // Group and name order: R-2, R-1 | A-1b, A-1a | R-6a, R-6b, R-6c | A-14. The first record of
  // the group, whichever name group the search meets first.
  struct Case {
    int group;
    const char *code;
    std::uint32_t recNo;
  };
  for (const Case c : {Case{1, "R-2", 1}, Case{2, "A-1b", 3}, Case{3, "R-6a", 5}, Case{4, "A-14", 8}}) {
    EXPECT_TRUE(s.table.findKey({Value(c.group)})) << c.group;
    EXPECT_EQ(s.code(), c.code) << c.group;
    EXPECT_EQ(s.table.recNo(), c.recNo) << c.group;
  }
  EXPECT_TRUE(s.table.findKey({Value(2), Value("Curva acentuada à esquerda")}));
  EXPECT_EQ(s.code(), "A-1a");
  EXPECT_FALSE(s.table.findKey({Value(9)}));
  EXPECT_EQ(s.code(), "A-1a");  // not found: the record stays
  EXPECT_EQ(errorOf([&] { s.table.findKey({Value(1), Value("x"), Value(2)}); }), "Field index out of range");
  EXPECT_EQ(s.table.state(), DataSetState::Browse);
}

TEST(TOrvantoTable, SetKeyAndGotoKey) {
  SignTable s("PorCodigo");
  s.table.setKey();
  EXPECT_EQ(errorOf([&] { s.table.fieldByName("Nome").setValue("x"); }),
            "Field 'Nome' is not indexed and cannot be modified");
  s.table.fieldByName("Codigo").setValue("R-2");
  EXPECT_TRUE(s.table.gotoKey());
  EXPECT_EQ(s.table.fieldByName("Nome").asString(), "Dê a preferência");
  s.table.editKey();
  EXPECT_EQ(s.table.fieldByName("Codigo").asString(), "R-2");
  s.table.post();
  EXPECT_EQ(s.table.state(), DataSetState::Browse);
  EXPECT_EQ(errorOf([&] { s.table.fieldByName("Codigo").setValue("x"); }), "Dataset not in edit or insert mode");
  s.table.setIndexName("<Primary>");
  EXPECT_EQ(errorOf([&] { s.table.findKey({Value("R-1")}); }), "No index currently active");
  EXPECT_EQ(errorOf([&] { s.table.gotoKey(); }), "No index currently active");
}

TEST(TOrvantoTable, LocateThroughACaseInsensitiveIndexKeepsTheActiveIndex) {
  for (const char *indexName : {"", "PorNome", "PorGrupo"}) {
    SignTable s(indexName);
    SCOPED_TRACE(indexName);
    const auto before = s.table.activeIndexNumber();
    EXPECT_TRUE(s.table.locate("nome", Value("CURVA"), loCaseInsensitive | loPartialKey));
    EXPECT_EQ(s.code(), "A-1b");  // "Curva acentuada à direita" comes first in name order
    EXPECT_EQ(s.table.activeIndexNumber(), before);
    EXPECT_EQ(s.table.indexName(), *indexName ? indexName : "<Primary>");
    s.table.next();  // the cursor goes on in the active order
    const std::string next = *indexName ? "A-1a" : "R-6a";  // name and group order: A-1a follows
    EXPECT_EQ(s.code(), next);
  }
}

TEST(TOrvantoTable, LocateChoosesTheIndexByCaseOption) {
  SignTable s;
  EXPECT_EQ(errorOf([&] { s.table.locate("Codigo", Value("r-2"), loCaseInsensitive); }),
            "No index for fields 'Codigo'");
  EXPECT_TRUE(s.table.locate("Codigo", Value("R-2"), 0));
  EXPECT_EQ(s.table.fieldByName("Nome").asString(), "Dê a preferência");
  EXPECT_FALSE(s.table.locate("Codigo", Value("r-2"), 0));  // case-sensitive
  EXPECT_EQ(errorOf([&] { s.table.locate("Grupo;Codigo", Values{Value(1), Value("R-1")}, 0); }),
            "No index for fields 'Grupo;Codigo'");
  EXPECT_EQ(errorOf([&] { s.table.locate("Cor", Value("x"), 0); }), "Campo 'Cor' não encontrado");
  // An index on exactly the fields comes before one that only begins with them.
  EXPECT_EQ(s.table.locateIndexNumber("Grupo", 0), 4);  // SoGrupo, not PorGrupo (3)
  EXPECT_TRUE(s.table.locate("Grupo", Value(4), 0));
  EXPECT_EQ(s.code(), "A-14");
  EXPECT_EQ(s.table.locateIndexNumber("sigla", 0), 5);  // only the leading segment of PorSiglaCodigo
  // Every sign has the acronym "ab": the first in acronym and code order is found.
  for (LocateOptions options : {LocateOptions(0), LocateOptions(loPartialKey)}) {
    s.table.setRecNo(8);
    EXPECT_TRUE(s.table.locate("Sigla", Value(options ? "a" : "ab"), options)) << options;
    EXPECT_EQ(s.code(), "A-14") << options;
    EXPECT_EQ(s.table.activeIndexNumber(), 0);
  }
  // Through the active index on its leading field.
  s.table.setIndexName("PorGrupo");
  EXPECT_TRUE(s.table.locate("Grupo", Value(2), 0));
  EXPECT_EQ(s.code(), "A-1b");
  EXPECT_EQ(s.table.activeIndexNumber(), 3);
  s.table.setIndexName("");
  EXPECT_FALSE(s.table.locate("Sigla", Value("zz"), 0));
  // Two fields as an array.
  EXPECT_TRUE(s.table.locate("Grupo;Nome", Values{Value(2), Value("Curva acentuada à esquerda")}, 0));
  EXPECT_EQ(s.code(), "A-1a");
}

TEST(TOrvantoTable, LocateThroughAnotherIndexThatFindsNothing) {
  SignTable s("PorGrupo");
  s.table.setRecNo(6);
  const std::string code = s.code();
  const auto recNo = s.table.recNo();
  EXPECT_FALSE(s.table.locate("Nome", Value("Zebra"), loCaseInsensitive | loPartialKey));
  EXPECT_EQ(s.code(), code);
  EXPECT_EQ(s.table.recNo(), recNo);
  EXPECT_EQ(s.table.activeIndexNumber(), 3);
  EXPECT_EQ(s.table.indexName(), "PorGrupo");
  s.table.next();
  EXPECT_EQ(s.table.recNo(), recNo + 1);
}

TEST(TOrvantoTable, LookupLeavesTheActiveRecord) {
  SignTable s;
  s.table.setRecNo(4);
  const auto found = s.table.lookup("Codigo", {Value("R-2")}, "Nome;Grupo;Figura");
  ASSERT_TRUE(found.has_value());
  EXPECT_EQ((*found)[0], Value("Dê a preferência"));
  EXPECT_EQ((*found)[1], Value(1));
  EXPECT_TRUE((*found)[2].isNull());
  const auto withBlob = s.table.lookup("Codigo", {Value("R-1")}, "Figura");
  ASSERT_TRUE(withBlob.has_value());
  EXPECT_EQ((*withBlob)[0], Value(kBlobBytes));
  EXPECT_EQ(s.table.lookup("Codigo", {Value("X")}, "Nome"), std::nullopt);
  EXPECT_EQ(s.code(), "A-1b");
  EXPECT_EQ(s.table.recNo(), 4u);
}

TEST(TOrvantoTable, LookupFieldFromAnotherTable) {
  SignTable s;
  TOrvantoTable groups;
  groups.setOrvantoDatabase(&s.db);
  groups.setTableName("Grupos");
  groups.open();
  s.table.close();
  s.table.addLookupField("GrupoDesc", 40, LookupSpec{&groups, "Grupo", "Grupo", "Desc"});
  s.table.open();
  std::vector<std::string> descs;
  for (s.table.first(); !s.table.eof(); s.table.next()) descs.push_back(s.table.fieldByName("grupodesc").asString());
  EXPECT_EQ(descs, (std::vector<std::string>{"Regulamentação", "Regulamentação", "Advertência", "Advertência",
                                             "Estacionamento", "Estacionamento", "Estacionamento", ""}));
  EXPECT_EQ(groups.fieldByName("Grupo").asInteger(), 1);  // the lookup table did not move
}

// ---- refused operations ----------------------------------------------------------------------

TEST(TOrvantoTable, ModifyingOperationsAreRefused) {
  SignTable s;
  EXPECT_FALSE(s.table.canModify());
  const std::vector<std::function<void()>> refused = {
      [&] { s.table.insert(); }, [&] { s.table.append(); }, [&] { s.table.edit(); },
      [&] { s.table.remove(); }, [&] { s.table.post(); },   [&] { s.table.findRecord(true, true); }};
  for (const auto &op : refused) EXPECT_EQ(errorOf(op), "Operação solicitada não é suportada");
  EXPECT_EQ(errorOf([&] { s.table.fieldByName("Nome").setValue("x"); }), "Dataset not in edit or insert mode");
}

// ---- master/detail ---------------------------------------------------------------------------

TEST(TOrvantoTable, MasterDetailRange) {
  // The detail's index has two key fields; the range on the first one holds every name of the group.
  SignTable s("PorGrupo");
  TOrvantoTable groups;
  groups.setOrvantoDatabase(&s.db);
  groups.setTableName("Grupos");
  groups.open();
  s.table.setMasterFields("Grupo");
  s.table.setMasterSource(&groups);
  EXPECT_EQ(codes(s.table), (std::vector<std::string>{"R-2", "R-1"}));  // in name order
  EXPECT_EQ(s.table.recordCount(), 2u);
  groups.next();
  EXPECT_EQ(codes(s.table), (std::vector<std::string>{"A-1b", "A-1a"}));
  EXPECT_EQ(s.table.recordCount(), 2u);
  groups.next();
  EXPECT_EQ(codes(s.table), (std::vector<std::string>{"R-6a", "R-6b", "R-6c"}));
  // Inside the range, a key search on both fields.
  EXPECT_TRUE(s.table.findKey({Value(3), Value("Proibido estacionar")}));
  EXPECT_EQ(s.code(), "R-6a");
  EXPECT_EQ(s.table.recNo(), 1u);
  EXPECT_EQ(errorOf([&] { groups.setMasterSource(&s.table); }), "Circular datalinks are not allowed");
  EXPECT_EQ(errorOf([&] { s.table.setMasterSource(&s.table); }), "Circular datalinks are not allowed");
  groups.close();  // the link is off: the whole table
  EXPECT_EQ(s.table.recordCount(), 8u);
  groups.open();
  EXPECT_EQ(s.table.recordCount(), 2u);
  s.table.setMasterSource(nullptr);
  EXPECT_EQ(s.table.recordCount(), 8u);
}

// ---- information and checks ------------------------------------------------------------------

TEST(TOrvantoTable, TableInfoAndVerify) {
  SignTable s;
  const TOrvanto_Table_Info info = s.table.getTableInfo();
  EXPECT_EQ(info.RecordCount, 8u);
  EXPECT_EQ(info.ColumnCount, 10u);
  EXPECT_EQ(info.IndexCount, 6u);
  EXPECT_EQ(cp1252ToUtf8(info.Description), "Placas de sinalização");
  std::vector<int> progress;
  EXPECT_TRUE(s.table.verify([&](void *, std::uint8_t p, bool &) { progress.push_back(p); }));
  ASSERT_FALSE(progress.empty());
  EXPECT_EQ(progress.front(), 0);
  EXPECT_EQ(progress.back(), 101);
  TOrvantoTable closed;
  closed.setOrvantoDatabase(&s.db);
  closed.setTableName("Grupos");
  EXPECT_EQ(closed.getTableInfo().RecordCount, 3u);
  EXPECT_FALSE(closed.active());
  EXPECT_EQ(errorOf([&] { closed.verify(); }), "A tabela não está aberta");
}

// ---- damaged files ---------------------------------------------------------------------------

TEST(TOrvantoTable, DamagedRecordsAndBlobsGiveEngineErrors) {
  SignModule module;
  const auto &addresses = module.signs->layout().recordAddresses;
  module.damage(addresses[1] + 10 + 2 + 1);  // after its sizes area and bitmap: a character of "R-2"
  module.damage(addresses[1] - 29);  // last byte of record 1's Figura blob
  TOrvantoDB db;
  db.setFileName(module.path());
  TOrvantoTable t;
  t.setOrvantoDatabase(&db);
  t.setTableName("Placas");
  t.open();
  EXPECT_EQ(t.fieldByName("Codigo").asString(), "R-1");
  EXPECT_EQ(errorOf([&] { t.fieldByName("Figura").asString(); }), "engine Blob Read 180");
  EXPECT_EQ(t.fieldByName("Obs").asString(), "Observação completa");  // other blobs still read
  EXPECT_EQ(errorOf([&] { t.next(); }), "engine Record Read 180");
  EXPECT_EQ(t.fieldByName("Codigo").asString(), "R-1");  // the data set stays on its record
  t.last();
  EXPECT_EQ(t.fieldByName("Codigo").asString(), "A-14");
  EXPECT_FALSE(t.verify());
}
