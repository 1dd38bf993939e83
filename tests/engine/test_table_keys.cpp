#include <gtest/gtest.h>

#include "table_fixtures.h"

using namespace vl;
using namespace vl::test;

namespace {

// Key image of a one-segment String index from a text.
std::vector<std::uint8_t> keyFor(TOrvanto_iLow_Table &t, const char *utf8, bool null = false) {
  std::vector<std::uint8_t> record = t.NewRecordBuffer();
  if (!null) {
    std::vector<std::uint8_t> slot(t.Column(0).slotSize, 0);
    const std::string v = utf8ToCp1252(utf8);
    std::copy(v.begin(), v.end(), slot.begin());
    t.PutColumnValue(record.data(), 0, slot.data());
  }
  std::vector<std::uint8_t> key(t.KeyLength(t.ActiveIndex()));
  t.BuildKey(t.ActiveIndex(), record.data(), key.data());
  return key;
}

bool find(Opened &o, const char *utf8, std::uint32_t partial = 0) {
  const auto key = keyFor(o.t(), utf8);
  return o.t().FindKey(1, partial, key.data(), true, o.buffer.data());
}

}  // namespace

TEST(TableCursor, OneRecordTable) {
  Module m(wordTable({"única"}));
  Opened o(m, "palavras");
  ASSERT_TRUE(o.open());
  auto &t = o.t();
  t.First();
  EXPECT_TRUE(t.Next(o.buffer.data()));
  EXPECT_FALSE(t.Next(o.buffer.data()));
  EXPECT_EQ(t.State(), orvCsAfterLast);
  EXPECT_EQ(t.Position(), 2u);
  EXPECT_TRUE(t.Prior(o.buffer.data()));
  EXPECT_EQ(o.text(0), "única");
}

TEST(TableCursor, InverseOrderAndMirroredPosition) {
  std::vector<const char *> words = {"a0", "a1", "a2", "a3", "a4", "a5", "a6", "a7", "a8", "a9"};
  Module m(wordTable(words));
  Opened o(m, "palavras");
  ASSERT_TRUE(o.open());
  auto &t = o.t();
  t.SetInverse(true);
  EXPECT_EQ(o.walk(0), (std::vector<std::string>{"a9", "a8", "a7", "a6", "a5", "a4", "a3", "a2", "a1", "a0"}));
  t.SetInverse(false);
  t.GoTo(2);
  t.SetInverse(true);
  EXPECT_EQ(t.Position(), 9u);
  t.ReadRecord(o.buffer.data());
  EXPECT_EQ(o.text(0), "a1");
  EXPECT_EQ(o.walkBack(0).front(), "a0");
}

TEST(TableCursor, UniqueModeVisitsHeadsWithGroupSizes) {
  // Groups of 3, 1 and 2 in index order.
  Module m(wordTable({"b", "a", "c", "a", "a", "c"}));
  Opened o(m, "palavras");
  ASSERT_TRUE(o.open());
  auto &t = o.t();
  t.SwitchIndexOrRaise(1);
  t.SetUnique(true);
  EXPECT_EQ(t.Count(), 3u);
  std::vector<std::string> heads;
  std::vector<std::uint32_t> sizes;
  t.First();
  while (t.Next(o.buffer.data())) {
    heads.push_back(o.text(0));
    sizes.push_back(t.GroupSize() + 1);
    EXPECT_TRUE(t.BookmarkValid(t.GetBookmark()));
  }
  EXPECT_EQ(heads, (std::vector<std::string>{"a", "b", "c"}));
  EXPECT_EQ(sizes, (std::vector<std::uint32_t>{3, 1, 2}));
  EXPECT_FALSE(t.BookmarkValid(2));  // second entry of the first group is no head
  // Backwards and inverse give the same heads.
  EXPECT_EQ(o.walkBack(0), (std::vector<std::string>{"c", "b", "a"}));
  t.SetInverse(true);
  EXPECT_EQ(o.walk(0), (std::vector<std::string>{"c", "b", "a"}));
  EXPECT_EQ(o.walkBack(0), (std::vector<std::string>{"a", "b", "c"}));
  t.SetUnique(false);
  t.SetInverse(false);
  EXPECT_EQ(o.walk(0), (std::vector<std::string>{"a", "a", "a", "b", "c", "c"}));
}

TEST(TableCursor, HeadFlagOffShowsEveryRecordInUniqueMode) {
  Module m(wordTable({"b", "a", "a"}, 0x06, false));
  Opened o(m, "palavras");
  ASSERT_TRUE(o.open());
  o.t().SwitchIndexOrRaise(1);
  o.t().SetUnique(true);
  EXPECT_EQ(o.walk(0).size(), 3u);
}

TEST(TableCursor, SaveAndRestoreKeepTheRecord) {
  Module m(wordTable({"d", "b", "a", "c"}));
  Opened o(m, "palavras");
  ASSERT_TRUE(o.open());
  auto &t = o.t();
  t.SwitchIndexOrRaise(1);
  t.GoTo(3);  // "c"
  const TOrvanto_Saved_State saved = t.SaveState();
  t.SwitchIndexOrRaise(0);
  t.SetInverse(true);
  t.GoTo(4);
  EXPECT_TRUE(t.RestoreState(saved, std::nullopt));
  EXPECT_EQ(t.ActiveIndex(), 1);
  t.ReadRecord(o.buffer.data());
  EXPECT_EQ(o.text(0), "c");
  // Bookmarks are positions: the same number denotes another record under another index.
  t.SwitchIndexOrRaise(0);
  t.GoTo(3);
  t.ReadRecord(o.buffer.data());
  EXPECT_EQ(o.text(0), "a");
}

TEST(KeySearch, FoldingIndexFindsAccentedAndUnaccented) {
  struct Case { std::uint8_t flags; const char *stored; const char *searched; bool found; };
  const Case cases[] = {
      {0x06, "ação", "ACAO", true}, {0x06, "ACAO", "ação", true}, {0x02, "ação", "AÇÃO", true},
      {0x02, "ação", "ACAO", false}, {0x00, "ação", "AÇÃO", false},
      // Locale comparison: case ignored, accents not; the key bytes are not folded.
      {0x0E, "ação", "AÇÃO", true}, {0x0E, "ação", "ACAO", false}, {0x1A, "pré-venda", "PRÉ-VENDA", true},
  };
  for (const auto &c : cases) {
    Module m(wordTable({"zebra", c.stored, "bola"}, c.flags));
    Opened o(m, "palavras");
    ASSERT_TRUE(o.open());
    o.t().SwitchIndexOrRaise(1);
    EXPECT_EQ(find(o, c.searched), c.found) << c.stored << " / " << c.searched << " flags " << int(c.flags);
    if (c.found) EXPECT_EQ(o.text(0), c.stored);
  }
}

TEST(KeySearch, PartialSearchLooksBackToTheFirstPrefixMatch) {
  for (bool jump : {true, false}) {
    OrvantoTableSpec s = wordTable({"Sempre", "Sem", "Semáforo", "Sem parar", "Sede", "Selo", "Senha", "Ser", "Abc"}, 0);
    s.indexes[0].jumpTable = jump;
    Module m(s);
    EXPECT_EQ(m.layout().jumpCounts[1], jump ? 2u : 0u);
    Opened o(m, "palavras");
    ASSERT_TRUE(o.open());
    o.t().SwitchIndexOrRaise(1);
    ASSERT_TRUE(find(o, "Sem", 3));
    EXPECT_EQ(o.text(0), "Sem");  // the record equal to the prefix comes first
    ASSERT_TRUE(find(o, "Sem ", 4));
    EXPECT_EQ(o.text(0), "Sem parar");
    ASSERT_TRUE(find(o, "Semp", 4));
    EXPECT_EQ(o.text(0), "Sempre");
    EXPECT_FALSE(find(o, "Semz", 4));
    // Longer than the declared size: limited to it.
    EXPECT_EQ(o.t().SearchSpec(1, 400).partialLength, 40u);
    EXPECT_TRUE(o.t().SearchSpec(1, 400).partial);
  }
}

TEST(KeySearch, AbsentFirstCharacterRestsOnTheNextPresentOne) {
  Module m(wordTable({"alfa", "bravo", "delta", "eco"}, 0));
  ASSERT_GT(m.layout().jumpCounts[1], 0u);
  Opened o(m, "palavras");
  ASSERT_TRUE(o.open());
  o.t().SwitchIndexOrRaise(1);
  EXPECT_FALSE(find(o, "charlie"));
  o.t().ReadRecord(o.buffer.data());
  EXPECT_EQ(o.text(0), "delta");
  EXPECT_FALSE(find(o, "zulu"));
  EXPECT_EQ(o.t().State(), orvCsAfterLast);
  EXPECT_FALSE(find(o, "b"));
  o.t().ReadRecord(o.buffer.data());
  EXPECT_EQ(o.text(0), "bravo");
}

TEST(KeySearch, OneCharacterColumnFoundThroughTheJumpTableAlone) {
  OrvantoTableSpec s;
  s.name = "letras";
  s.columns = {C::String("L", 1)};
  s.records = {{S("b")}, {S("a")}, {S("c")}, {S("a")}};
  s.indexes = {{"PorLetra", {{"L"}}, 0}};
  Module m(s);
  Opened o(m, "letras");
  ASSERT_TRUE(o.open());
  o.t().SwitchIndexOrRaise(1);
  ASSERT_TRUE(find(o, "c"));
  EXPECT_EQ(o.t().Position(), 4u);
  ASSERT_TRUE(find(o, "a"));
  EXPECT_EQ(o.t().Position(), 1u);
  struct Case { char character; std::uint8_t start; const char *searched; std::uint32_t position; };
  const Case cases[] = {
      // Start of 'a' moved to 2 (still increasing): the shortcut answers without reading records.
      {'a', 2, "a", 2},
      // Start of 'c' moved onto that of 'b': the numbers no longer increase, the table is ignored
      // and the search runs over the whole index.
      {'c', 3, "c", 4},
  };
  const auto &l = m.layout();
  ASSERT_EQ(l.jumpCounts[1], 3u);
  for (const auto &c : cases) {
    Module damaged(s);
    std::size_t at = damaged.at(l.jumpOffsets[1]);
    for (unsigned i = 0; i < l.jumpCounts[1]; ++i, at += 2)
      if (damaged.image[at] == static_cast<std::uint8_t>(c.character)) damaged.image[at + 1] = c.start;
    damaged.rewrite();
    Opened d(damaged, "letras");
    ASSERT_TRUE(d.open());
    d.t().SwitchIndexOrRaise(1);
    ASSERT_TRUE(find(d, c.searched));
    EXPECT_EQ(d.t().Position(), c.position) << c.character;
    EXPECT_FALSE(d.t().Verify());  // the index block check no longer matches
  }
}

TEST(KeySearch, NullKeysSortFirst) {
  OrvantoTableSpec s = wordTable({"b", "a"});
  s.records.push_back({Null, I(9)});
  Module m(s);
  Opened o(m, "palavras");
  ASSERT_TRUE(o.open());
  o.t().SwitchIndexOrRaise(1);
  EXPECT_EQ(o.walk(0), (std::vector<std::string>{"", "a", "b"}));
  const auto key = keyFor(o.t(), "", true);
  ASSERT_TRUE(o.t().FindKey(1, 0, key.data(), true, o.buffer.data()));
  EXPECT_EQ(o.t().Position(), 1u);
  EXPECT_FALSE(o.t().GetColumnValue(o.buffer.data(), 0, nullptr));
}

TEST(KeySearch, PrimaryIndexRefusesKeys) {
  Module m(wordTable({"a"}));
  Opened o(m, "palavras");
  ASSERT_TRUE(o.open());
  std::vector<std::uint8_t> key(64);
  EXPECT_FALSE(o.t().FindKey(1, 0, key.data(), true));
  try {
    o.t().BuildKeyForActive(nullptr, key.data());
    ADD_FAILURE();
  } catch (const EOrvanto_Engine_Error &e) {
    EXPECT_EQ(e.code(), 161);
    EXPECT_EQ(e.operation(), "Index Read");
  }
  o.t().SetKeyRange(false, nullptr, 1, true, nullptr, 1, true);
  EXPECT_EQ(o.t().LastError().code, 161);
}

TEST(KeySearch, KeyRangeHoldsTheMatchingGroup) {
  Module m(wordTable({"c", "a", "b", "b", "d", "b"}));
  Opened o(m, "palavras");
  ASSERT_TRUE(o.open());
  auto &t = o.t();
  t.SwitchIndexOrRaise(1);
  const auto b = keyFor(t, "b");
  t.SetKeyRange(true, b.data(), 1, true, b.data(), 1, true);
  EXPECT_EQ(t.Count(), 3u);
  EXPECT_EQ(o.walk(1).size(), 3u);
  const auto x = keyFor(t, "bb");
  t.SetKeyRange(true, x.data(), 1, true, x.data(), 1, true);
  EXPECT_EQ(t.Count(), 0u);
  t.WholeTable();
  EXPECT_EQ(t.Count(), 6u);
}

TEST(IndexSwitch, KeepsTheCurrentRecordBothWays) {
  Module m(wordTable({"d", "b", "a", "b", "c"}));
  Opened o(m, "palavras");
  ASSERT_TRUE(o.open());
  auto &t = o.t();
  t.GoTo(4);  // the second "b" in storage order
  const std::uint32_t address = t.CurrentEntry().address;
  EXPECT_TRUE(t.SwitchIndex(1));
  EXPECT_EQ(t.CurrentEntry().address, address);
  EXPECT_EQ(t.Position(), 3u);  // a, b, [b], c, d
  EXPECT_TRUE(t.SwitchIndex(0));
  EXPECT_EQ(t.CurrentEntry().address, address);
  EXPECT_EQ(t.Position(), 4u);
  EXPECT_FALSE(t.SwitchIndex(5));
  EXPECT_EQ(t.LastError().code, 162);
  EXPECT_EQ(t.LastError().sequence, 5u);
  EXPECT_THROW(t.SwitchIndexOrRaise(5), EOrvanto_Engine_Error);
}

TEST(IndexSwitch, RecordWhoseKeyIsNotFoundGives163) {
  OrvantoTableSpec s = wordTable({"b", "a", "c"});
  s.checkWidth = 0;
  Module m(s);
  // Change the stored key of record 0 ("b" -> "z") without touching the index.
  const std::uint32_t a0 = m.layout().recordAddresses[0];
  m.image[m.at(a0 + 1 + 1)] = 'z';
  m.rewrite();
  Opened o(m, "palavras");
  ASSERT_TRUE(o.open());
  auto &t = o.t();
  t.GoTo(1);
  EXPECT_FALSE(t.SwitchIndex(1));
  EXPECT_EQ(t.LastError().code, 163);
  EXPECT_EQ(t.Position(), 1u);
  t.SwitchIndexOrRaise(0);
  t.GoTo(1);
  EXPECT_NO_THROW(t.SwitchIndexOrRaise(1));
  EXPECT_EQ(t.State(), orvCsBeforeFirst);
}

TEST(KeySearch, BitmapJumpTableEndsAfterTheLastPresentGroup) {
  // 33 first characters: ' ' .. '?' (32 of them) and 'A'.
  std::vector<std::string> words;
  for (char c = ' '; c <= '?'; ++c) words.push_back(std::string(1, c) + "x");
  words.push_back("Ax");
  std::vector<const char *> pointers;
  for (const auto &w : words) pointers.push_back(w.c_str());
  Module m(wordTable(pointers, 0));
  const auto &l = m.layout();
  ASSERT_EQ(l.jumpCounts[1], 33u);
  // Groups 9..31 are never read: damaging their bitmap bytes changes nothing but the block check.
  const std::size_t jump = m.at(l.jumpOffsets[1]);
  const std::size_t afterGroup8 = jump + 1 + 0 + 1 + 0 + 1 + 0 + 1 + 0 + (1 + 8 * 1) + (1 + 8 * 1) + (1 + 8 * 1) +
                                  (1 + 8 * 1) + (1 + 1 * 1);
  for (std::size_t i = 0; i < 23; ++i) m.image[afterGroup8 + i] = 0xFF;
  m.rewrite();
  Opened o(m, "palavras");
  ASSERT_TRUE(o.open());
  o.t().SwitchIndexOrRaise(1);
  EXPECT_TRUE(o.t().Index(1).jumpTable.usable());
  EXPECT_EQ(o.t().Index(1).jumpTable.start('A'), 33u);
  EXPECT_EQ(o.t().Index(1).jumpTable.start('!'), 2u);
  for (const auto &w : words) {
    ASSERT_TRUE(find(o, w.c_str())) << w;
    EXPECT_EQ(o.text(0), w);
  }
  EXPECT_FALSE(find(o, "B"));
  EXPECT_EQ(o.t().State(), orvCsAfterLast);
}
