#include <gtest/gtest.h>

#include <functional>

#include "engine/crc.h"
#include "engine/orvanto_block.h"
#include "engine/table_format.h"
#include "table_fixtures.h"

using namespace vl;
using namespace vl::test;

namespace {

OrvantoTableSpec sample() {
  OrvantoTableSpec s = wordTable({"pare", "siga", "atenção"});
  s.columns.push_back(C::Memo("Obs", 5));
  for (auto &r : s.records) r.push_back(S("observação"));
  s.description = cp("Placas de regulamentação");
  s.flagA = 1;
  s.values[2] = 77;
  return s;
}

// Recomputes a running check stored after `length` bytes from `from`.
void reseal(Image &image, std::size_t from, std::size_t length, std::uint32_t start) {
  const std::uint32_t crc = orvCrc(start, image.data() + from, length);
  for (int i = 0; i < 4; ++i) image[from + length + i] = static_cast<std::uint8_t>(crc >> (8 * i));
}

struct Damage {
  const char *what;
  std::function<void(Module &)> apply;
  std::uint16_t code;
  std::uint32_t section, sequence;
};

}  // namespace

TEST(TableOpen, ReadsStructureAndInformation) {
  Module m(sample());
  Opened o(m, "  PALAVRAS ");
  ASSERT_TRUE(o.open());
  auto &t = o.t();
  EXPECT_EQ(t.ColumnCount(), 3u);
  EXPECT_EQ(t.FindColumn(" obs "), 2);
  EXPECT_EQ(t.FindColumn("nada"), -1);
  EXPECT_EQ(t.IndexCount(), 2u);
  EXPECT_EQ(t.IndexByName("porpalavra"), 1);
  EXPECT_EQ(t.IndexOptions(1), 0x06);
  EXPECT_EQ(t.SegmentInfo(1, 0).first, 0);
  const auto defs = t.IndexDefinitions();
  ASSERT_EQ(defs.size(), 2u);
  EXPECT_EQ(defs[0].name, "<Primary>");
  EXPECT_EQ(defs[1].fields, "Palavra");
  EXPECT_TRUE(defs[1].caseInsensitive);
  const TOrvanto_Table_Info info = o.table->GetInfo();
  EXPECT_EQ(info.RecordCount, 3u);
  EXPECT_EQ(info.ColumnCount, 3);
  EXPECT_EQ(info.IndexCount, 2);
  EXPECT_EQ(info.CheckWidth, 4);
  EXPECT_TRUE(info.FlagA);
  EXPECT_FALSE(info.FlagB);
  EXPECT_EQ(info.LocaleId, 0x0416u);
  EXPECT_EQ(info.Values[2], 77u);
  EXPECT_EQ(info.Description, cp("Placas de regulamentação"));
  EXPECT_EQ(t.State(), orvCsBeforeFirst);
  EXPECT_TRUE(t.Verify());
}

TEST(TableOpen, GetInfoOpensOnlyForTheCall) {
  Module m(sample());
  Opened o(m, "palavras");
  EXPECT_EQ(o.table->GetInfo().RecordCount, 3u);
  EXPECT_FALSE(o.table->IsOpen());
  o.table->SetTableName("nenhuma");
  try {
    o.table->GetInfo();
    ADD_FAILURE();
  } catch (const EOrvanto_Engine_Error &e) {
    EXPECT_EQ(e.operation(), "Active");
    EXPECT_EQ(e.code(), 152);
  }
}

TEST(TableOpen, NamesAndMissingTables) {
  Module m(sample());
  Opened o(m, "");
  try {
    o.table->OpenOrRaise();
    ADD_FAILURE();
  } catch (const EOrvanto_Engine_Error &e) {
    EXPECT_EQ(e.code(), 150);
    EXPECT_EQ(e.operation(), "TB Open");
  }
  EXPECT_NO_THROW(o.table->SetTableName(std::string(127, 'x')));
  try {
    o.table->SetTableName(std::string(128, 'x'));
    ADD_FAILURE();
  } catch (const EOrvanto_Engine_Error &e) {
    EXPECT_EQ(e.code(), 151);
    EXPECT_EQ(e.operation(), "Table");
  }
  EXPECT_FALSE(o.table->Open());
  EXPECT_EQ(o.table->LastError().code, 152);
  EXPECT_FALSE(o.db.IsOpen());  // the database goes back to closed
}

TEST(TableOpen, ClosingTheDatabaseClosesItsTables) {
  Module m(sample());
  Opened o(m, "palavras");
  ASSERT_TRUE(o.open());
  o.db.Close();
  EXPECT_FALSE(o.table->IsOpen());
  EXPECT_TRUE(o.open());
}

TEST(TableOpen, DamagedStructuresGiveTheirCodes) {
  const Damage cases[] = {
      {"header check", [](Module &m) { m.image[m.at(143 + 20)] ^= 1; }, 153, 1, 0},
      {"properties check", [](Module &m) { m.image[m.at(204 + 100)] ^= 1; }, 153, 1, 0},
      {"size template check", [](Module &m) { m.image[m.at(m.layout().templateOffset + 4)] ^= 1; }, 153, 1, 1},
      {"column section check", [](Module &m) { m.image[m.at(484 + 4 + 1 + 2)] ^= 1; }, 153, 2, 0},
      {"invalid column type",
       [](Module &m) {
         // Second column's type byte: after column 0 (4 + 1 + 7 + 1 bytes).
         const std::size_t c1 = m.at(484 + 4 + 1 + 7 + 1);
         m.image[c1] = 8;
         reseal(m.image, m.at(484), m.layout().templateOffset - 484 - 4, orv::kColumnsStart + 3);
       },
       153, 2, 1},
      {"blank column name",
       [](Module &m) {
         m.image[m.at(484 + 4 + 1 + 7 + 1 + 4 + 1)] = ' ';  // "N" -> " "
         reseal(m.image, m.at(484), m.layout().templateOffset - 484 - 4, orv::kColumnsStart + 3);
       },
       153, 2, 1},
      {"index descriptor check", [](Module &m) { m.image[m.at(m.layout().descriptorsOffset + 5)] ^= 1; }, 153, 3, 0},
      {"distinct count zero",
       [](Module &m) {
         const std::size_t d = m.at(m.layout().descriptorsOffset + 1 + 128 + 1);
         for (int i = 0; i < 4; ++i) m.image[d + i] = 0;
         reseal(m.image, m.at(m.layout().descriptorsOffset), 1 + 128 + 1 + 4 + 3 + 3, orv::kIndexStart + 2);
       },
       160, 0, 1},
      {"duplicate bits above 32",
       [](Module &m) {
         m.image[m.at(m.layout().descriptorsOffset + 1 + 128 + 1 + 4)] = 0x40 | 33;
         reseal(m.image, m.at(m.layout().descriptorsOffset), 1 + 128 + 1 + 4 + 3 + 3, orv::kIndexStart + 2);
       },
       160, 0, 1},
      {"primary marker", [](Module &m) { m.image[m.at(m.layout().blockOffsets[0])] = '?'; }, 153, 3, 0},
      {"secondary marker", [](Module &m) { m.image[m.at(m.layout().blockOffsets[1])] = '?'; }, 153, 3, 1},
      {"truncated file", [](Module &m) { m.image.resize(m.at(m.layout().blockOffsets[1]) + 1); }, 120, 123, 0},
  };
  for (const auto &c : cases) {
    Module m(sample());
    c.apply(m);
    m.rewrite();
    Opened o(m, "palavras");
    EXPECT_FALSE(o.open()) << c.what;
    const auto e = o.table->LastError();
    EXPECT_EQ(e.code, c.code) << c.what;
    EXPECT_EQ(e.section, c.section) << c.what;
    if (c.code != 120) {
      EXPECT_EQ(e.sequence, c.sequence) << c.what;
    }
    EXPECT_FALSE(o.table->IsOpen()) << c.what;
  }
}

TEST(TableOpen, SecondaryIndexOnEmptyTableCannotBeWritten) {
  OrvantoTableSpec s = wordTable({});
  EXPECT_THROW(Module m(s), std::invalid_argument);
}

TEST(TableOpen, EmptyTableWithoutIndexesOpensAndVerifies) {
  OrvantoTableSpec s = wordTable({});
  s.indexes.clear();
  Module m(s);
  Opened o(m, "palavras");
  ASSERT_TRUE(o.open());
  EXPECT_EQ(o.t().State(), orvCsEmpty);
  EXPECT_FALSE(o.t().Next(o.buffer.data()));
  EXPECT_TRUE(o.t().ReadRecord(o.buffer.data()));
  EXPECT_TRUE(o.t().Verify());
}

TEST(TableVerify, ProgressRunsFromZeroTo101AndCanStop) {
  std::vector<const char *> words(300, "palavra");
  Module m(wordTable(words));
  Opened o(m, "palavras");
  ASSERT_TRUE(o.open());
  std::vector<int> seen;
  auto record = [&](void *, std::uint8_t percent, bool &) { seen.push_back(percent); };
  o.t().GoTo(7);
  EXPECT_TRUE(o.t().Verify(record, nullptr));
  EXPECT_EQ(o.t().Position(), 7u);  // the cursor comes back
  ASSERT_GE(seen.size(), 3u);
  EXPECT_EQ(seen.front(), 0);
  EXPECT_EQ(seen.back(), 101);
  EXPECT_EQ(seen[seen.size() - 2], 100);
  for (std::size_t i = 1; i + 1 < seen.size(); ++i) EXPECT_GT(seen[i], seen[i - 1]);
  int calls = 0;
  auto stop = [&](void *, std::uint8_t percent, bool &proceed) {
    ++calls;
    if (percent == 50) proceed = false;
  };
  EXPECT_FALSE(o.t().Verify(stop, nullptr));
  EXPECT_LT(calls, 60);
}

TEST(TableVerify, DamageFoundByVerify) {
  struct Case { const char *what; std::uint8_t k; bool blobs; bool damageRecord; };
  const Case cases[] = {{"record byte, K=4", 4, false, true}, {"record byte, K=0", 0, false, true},
                        {"index entry", 2, false, false}, {"record byte with blobs", 4, true, true}};
  for (const auto &c : cases) {
    OrvantoTableSpec s = wordTable({"um", "dois", "tres"});
    s.checkWidth = c.k;
    if (c.blobs) {
      s.columns.push_back(C::Blob("B"));
      for (auto &r : s.records) r.push_back(S("x"));
    }
    Module m(s);
    if (c.damageRecord) m.image[m.at(m.layout().recordAddresses[1] + 1 + 1 + 1)] ^= 0x01;
    else m.image[m.at(m.layout().blockOffsets[1] + 1)] ^= 0x01;
    m.rewrite();
    Opened o(m, "palavras");
    ASSERT_TRUE(o.open()) << c.what;
    EXPECT_FALSE(o.t().Verify()) << c.what;
  }
}

// Tables larger than Verify's read window (a record longer than it, too), with one record's stored
// check changed and the table check value resealed to match, so only the record check can find it.
TEST(TableVerify, RecordChecksAcrossReadWindows) {
  struct Case { const char *what; std::uint8_t k; std::size_t memo; bool recordChecked; };
  const Case cases[] = {{"K=4", 4, 0, true},  {"K=1", 1, 0, true}, {"K=3", 3, 0, true},
                        {"K=2 with a Memo", 2, 40, false}, {"K=4 with a record longer than the window", 4, 1536 * 1024, false}};
  for (const auto &c : cases) {
    OrvantoTableSpec s;
    s.name = "longa";
    s.checkWidth = c.k;
    s.columns = {C::String("Texto", 200), C::Fixed("N", orv::ctInteger)};
    if (c.memo) s.columns.push_back(c.memo > 0xFFFF ? C::Blob("M") : C::Memo("M"));
    for (int i = 0; i < 24000; ++i) {
      std::string text = "registro " + std::to_string(i) + std::string(static_cast<std::size_t>(i % 97), 'x');
      s.records.push_back({text, I(i)});
      if (c.memo) s.records.back().push_back(std::string(i == 5 ? c.memo : std::size_t(i % 50), 'm'));
    }
    Module m(s);
    {
      Opened o(m, "longa");
      ASSERT_TRUE(o.open()) << c.what;
      EXPECT_TRUE(o.t().Verify()) << c.what;
    }
    // The first, a middle and the last record.
    const OrvantoTableLayout &l = m.layout();
    const Image original = m.image;
    for (const std::size_t r : {std::size_t(0), l.recordAddresses.size() / 2, l.recordAddresses.size() - 1}) {
      m.image = original;
      const std::uint32_t end = r + 1 < l.recordAddresses.size() ? l.recordAddresses[r + 1] : l.recordEnd;
      const std::uint32_t changed = end - c.k;  // first stored check byte
      m.image[m.at(changed)] ^= 0x5A;
      // The table check is linear in the bytes: crc(t, M xor D) = crc(t, M) xor crc(0, D) xor crc(0, zeros).
      std::vector<std::uint8_t> delta(l.recordEnd - changed, 0);
      const std::uint32_t zeros = orvCrc(0, delta.data(), delta.size());
      delta[0] = 0x5A;
      const std::uint32_t sealed = l.tableCheck ^ orvCrc(0, delta.data(), delta.size()) ^ zeros;
      std::uint8_t *header = &m.image[m.at(orv::kTableHeaderOffset)];
      for (int i = 0; i < 4; ++i) header[2 + i] = static_cast<std::uint8_t>(sealed >> (8 * i));
      const auto word = static_cast<std::uint16_t>(header[orv::kTableHeaderSize] | header[orv::kTableHeaderSize + 1] << 8);
      const std::uint32_t check = orv::blockCheck(header, orv::kTableHeaderSize, word);
      for (int i = 0; i < 4; ++i) header[orv::kTableHeaderSize + 2 + i] = static_cast<std::uint8_t>(check >> (8 * i));
      m.rewrite();
      Opened o(m, "longa");
      ASSERT_TRUE(o.open()) << c.what;
      EXPECT_EQ(o.t().Verify(), !c.recordChecked) << c.what << ", record " << r;
    }
  }
}
