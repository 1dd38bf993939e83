// Opening valid module files: information record, table list, lookup, open and closed states.
#include <gtest/gtest.h>

#include "engine/orvanto_db.h"
#include "engine/orvanto_guid.h"
#include "orvanto_test_support.h"

using namespace vl;
using namespace vl::test;

namespace {

// Stands for a table object open on an entry.
class FakeTable : public OrvantoEntryClient {
public:
  explicit FakeTable(TOrvanto_Table_Entry &entry) : entry_(&entry) { entry.registerTable(this); }
  void closeForDatabase() override {
    ++closed;
    entry_->unregisterTable(this);
  }
  int closed = 0;

private:
  TOrvanto_Table_Entry *entry_;
};

}  // namespace

TEST(OrvantoDb, OpensAWriterBuiltModule) {
  OrvantoModuleLayout layout;
  TempFile file(sampleWriter().build(&layout));
  TOrvanto_DB_Engine db;
  db.SetFileName("  " + file.path() + " \t");
  EXPECT_EQ(db.FileName(), file.path());
  ASSERT_TRUE(db.Open()) << db.LastError().code;
  EXPECT_TRUE(db.IsOpen());
  EXPECT_TRUE(db.LastError().isClear());
  ASSERT_EQ(db.TableCount(), 3);  // the kind-7 entry is not a table
  EXPECT_EQ(db.TableName(0), "toc");
  EXPECT_EQ(db.TableName(1), cp("Placas de Regulamentação"));
  EXPECT_EQ(db.TableName(2), "Sons");
  EXPECT_THROW(db.TableName(3), std::out_of_range);

  EXPECT_EQ(db.Entry(0).position(), layout.entries[0].position);
  EXPECT_EQ(db.Entry(1).position(), layout.entries[2].position);
  EXPECT_EQ(db.Entry(2).tableHeaderPosition(), layout.entries[3].position + 143);
  EXPECT_EQ(db.Entry(2).nextPosition(), layout.footerPosition);
  EXPECT_EQ(db.Entry(0).kind(), 2);
  EXPECT_EQ(db.FooterValue(), layout.footerPosition);
  EXPECT_EQ(db.FirstEntryPosition(), 903u);
  EXPECT_EQ(db.FileSize(), layout.fileSize);
  EXPECT_EQ(db.FormatVersion(), 0x0101);

  db.Close();
  EXPECT_FALSE(db.IsOpen());
  EXPECT_EQ(db.TableCount(), 0);
  EXPECT_EQ(db.FileSize(), 0u);
  EXPECT_EQ(db.FormatVersion(), 0);
  EXPECT_EQ(db.Properties()[0], 0);
}

TEST(OrvantoDb, InformationRecordCopiesTheFields) {
  OrvantoModuleWriter w = sampleWriter();
  w.setFormatVersion(1, 0);
  w.setUserArea(Image(300, 0x77));
  OrvantoModuleLayout layout;
  TempFile file(w.build(&layout));
  TOrvanto_DB_Engine db;
  db.SetFileName(file.path());
  const TOrvanto_DB_Info info = db.GetInfo();
  EXPECT_EQ(info.Title, cp("Código de Trânsito Brasileiro"));
  EXPECT_EQ(info.Version, (std::array<std::uint8_t, 4>{3, 1, 4, 200}));
  EXPECT_FALSE(info.HasPassword);
  EXPECT_EQ(info.Guid, sampleGuid());
  EXPECT_EQ(orv::guidText(info.Guid), "{00112233-4455-6677-8899-AABBCCDDEEFF}");
  EXPECT_EQ(info.UserAreaSize, 300);
  EXPECT_EQ(info.Text, cp("Texto livre"));
  EXPECT_EQ(info.FormatVersion, (std::array<std::uint8_t, 4>{1, 0, 0, 0}));
  EXPECT_EQ(info.ValueA, sampleProperties().valueA);
  EXPECT_EQ(info.ValueB, sampleProperties().valueB);
  EXPECT_EQ(info.FileSize, layout.fileSize);
  EXPECT_EQ(info.Description, cp("Módulo principal do Vialume"));
  EXPECT_FALSE(db.IsOpen());
}

TEST(OrvantoDb, FullLengthTextsAreCut) {
  OrvantoModuleProperties p;
  p.title = std::string(127, 'T');
  p.text = std::string(127, 'x');
  p.description = std::string(255, 'D');
  OrvantoModuleWriter w;
  w.setProperties(p);
  Image image = w.build();
  // Fill the terminating bytes too: the reader takes at most field size - 1 characters.
  image[359 + 127] = 'T';
  image[359 + 154 + 127] = 'x';
  image[359 + 282 + 255] = 'D';
  orvSealBlock(image, 359, 538, true);
  TempFile file(image);
  TOrvanto_DB_Engine db;
  db.SetFileName(file.path());
  const auto info = db.GetInfo();
  EXPECT_EQ(info.Title, p.title);
  EXPECT_EQ(info.Text, p.text);
  EXPECT_EQ(info.Description, p.description);
}

TEST(OrvantoDb, FindTableIgnoresCaseAndBlanks) {
  TempFile file(sampleWriter().build());
  TOrvanto_DB_Engine db;
  db.SetFileName(file.path());
  db.Connect();
  struct Case { std::string name; int index; };
  const Case cases[] = {
      {"toc", 0},
      {" TOC ", 0},
      {"\tToC\n", 0},
      {cp("placas de regulamentação"), 1},
      {cp("PLACAS DE REGULAMENTAÇÃO"), 1},
      {"sons", 2},
      {"Placas", -1},
      {"oculta", -1},  // entry of another kind
      {"", -1},
      {"to c", -1},
  };
  for (const auto &c : cases) EXPECT_EQ(db.FindTable(c.name), c.index) << c.name;
}

TEST(OrvantoDb, FindTableCutsTheNameAt127Characters) {
  const std::string longName(127, 'n');
  OrvantoModuleWriter w;
  w.addTable("a");
  w.addTable(longName);
  TempFile file(w.build());
  TOrvanto_DB_Engine db;
  db.SetFileName(file.path());
  db.Connect();
  EXPECT_EQ(db.FindTable(longName), 1);
  EXPECT_EQ(db.FindTable(longName + "extra"), 1);
  EXPECT_EQ(db.FindTable(longName.substr(1)), -1);
}

TEST(OrvantoDb, FirstOfTwoEqualNamesWins) {
  OrvantoModuleWriter w;
  w.addTable("Dup");
  w.addTable("dup");
  TempFile file(w.build());
  TOrvanto_DB_Engine db;
  db.SetFileName(file.path());
  db.Connect();
  EXPECT_EQ(db.FindTable("DUP"), 0);
}

TEST(OrvantoDb, EmptyDatabaseOpensWithNoTables) {
  TempFile file(OrvantoModuleWriter().build());
  TOrvanto_DB_Engine db;
  db.SetFileName(file.path());
  std::vector<std::string> names{"left over"};
  db.ListTables(names);
  EXPECT_TRUE(names.empty());
  EXPECT_FALSE(db.IsOpen());
}

TEST(OrvantoDb, UserAreaMovesTheDirectory) {
  for (const std::size_t size : {std::size_t{1}, std::size_t{4}, std::size_t{65535}}) {
    OrvantoModuleWriter w = sampleWriter();
    w.setUserArea(Image(size, 0xEE));
    OrvantoModuleLayout layout;
    TempFile file(w.build(&layout));
    TOrvanto_DB_Engine db;
    db.SetFileName(file.path());
    ASSERT_TRUE(db.Open()) << size;
    EXPECT_EQ(db.FirstEntryPosition(), 903 + size + 4);
    EXPECT_EQ(db.TableCount(), 3);
  }
}

TEST(OrvantoDb, ListTablesAndGetInfoKeepTheOpenState) {
  TempFile file(sampleWriter().build());
  TOrvanto_DB_Engine db;
  db.SetFileName(file.path());
  std::vector<std::string> names;
  db.ListTables(names);
  EXPECT_EQ(names, (std::vector<std::string>{"toc", cp("Placas de Regulamentação"), "Sons"}));
  EXPECT_FALSE(db.IsOpen());

  db.Connect();
  ASSERT_TRUE(db.IsOpen());
  FakeTable table(db.Entry(0));
  db.ListTables(names);
  EXPECT_EQ(names.size(), 3u);
  EXPECT_EQ(db.GetInfo().Version[0], 3);
  EXPECT_TRUE(db.IsOpen());
  EXPECT_EQ(table.closed, 0);  // the database stayed open, so did its tables
}

TEST(OrvantoDb, ListTablesOnADamagedFileRaisesAndStaysClosed) {
  Image image = sampleWriter().build();
  image[0] = 'X';
  TempFile file(image);
  TOrvanto_DB_Engine db;
  db.SetFileName(file.path());
  std::vector<std::string> names{"x"};
  try {
    db.ListTables(names);
    FAIL() << "no exception";
  } catch (const EOrvanto_Engine_Error &e) {
    EXPECT_EQ(e.operation(), "Connection");
    EXPECT_EQ(e.code(), orv::kErrNotOrvanto);
  }
  EXPECT_TRUE(names.empty());
  EXPECT_FALSE(db.IsOpen());
  EXPECT_THROW(db.GetInfo(), EOrvanto_Engine_Error);
  EXPECT_FALSE(db.IsOpen());
  EXPECT_EQ(db.LastError().code, orv::kErrNotOrvanto);
}

TEST(OrvantoDb, CloseClosesTheTablesOpenOnEntries) {
  TempFile file(sampleWriter().build());
  TOrvanto_DB_Engine db;
  db.SetFileName(file.path());
  db.Connect();
  FakeTable a(db.Entry(0)), b(db.Entry(0)), c(db.Entry(2));
  db.Entry(1).registerTable(&c);
  db.Entry(1).unregisterTable(&c);
  EXPECT_EQ(db.Entry(0).openTables().size(), 2u);
  db.SetOpen(false);
  EXPECT_EQ(a.closed, 1);
  EXPECT_EQ(b.closed, 1);
  EXPECT_EQ(c.closed, 1);
  EXPECT_FALSE(db.IsOpen());
}

TEST(OrvantoDb, SetFileNameClosesOnlyForADifferentName) {
  TempFile file(sampleWriter().build());
  TempFile other(OrvantoModuleWriter().build());
  TOrvanto_DB_Engine db;
  db.SetFileName(file.path());
  db.Connect();
  db.SetFileName(" " + file.path());
  EXPECT_TRUE(db.IsOpen());
  db.SetFileName(other.path());
  EXPECT_FALSE(db.IsOpen());
  EXPECT_EQ(db.FileName(), other.path());
  db.Connect();
  EXPECT_EQ(db.TableCount(), 0);
}

TEST(OrvantoDb, SetOpenTogglesOnlyWhenNeeded) {
  TempFile file(sampleWriter().build());
  TOrvanto_DB_Engine db;
  db.SetFileName(file.path());
  db.SetOpen(false);
  EXPECT_FALSE(db.IsOpen());
  db.SetOpen(true);
  EXPECT_TRUE(db.IsOpen());
  FakeTable table(db.Entry(1));
  db.SetOpen(true);  // already open: nothing happens
  EXPECT_EQ(table.closed, 0);
  db.SetOpen(false);
  EXPECT_EQ(table.closed, 1);
}

TEST(OrvantoDb, SeveralReadersShareOneFile) {
  TempFile file(sampleWriter().build());
  TOrvanto_DB_Engine first, second;
  first.SetFileName(file.path());
  second.SetFileName(file.path());
  first.Connect();
  second.Connect();
  EXPECT_EQ(first.TableCount(), second.TableCount());
}
