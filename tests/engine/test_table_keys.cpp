#include <gtest/gtest.h>

#include <initializer_list>

#include "table_fixtures.h"

using namespace vl;
using namespace vl::test;

namespace {

// Key image of the active index from the texts of the leading columns (nullptr: left null).
std::vector<std::uint8_t> keyOfColumns(TOrvanto_iLow_Table &t, std::initializer_list<const char *> texts) {
  std::vector<std::uint8_t> record = t.NewRecordBuffer();
  std::size_t column = 0;
  for (const char *utf8 : texts) {
    if (utf8) {
      std::vector<std::uint8_t> slot(t.Column(column).slotSize, 0);
      const std::string v = utf8ToCp1252(utf8);
      std::copy(v.begin(), v.end(), slot.begin());
      t.PutColumnValue(record.data(), column, slot.data());
    }
    ++column;
  }
  std::vector<std::uint8_t> key(t.KeyLength(t.ActiveIndex()));
  t.BuildKey(t.ActiveIndex(), record.data(), key.data());
  return key;
}

// Key image of a one-segment String index from a text, or of a null value.
std::vector<std::uint8_t> keyFor(TOrvanto_iLow_Table &t, const char *utf8, bool null = false) {
  return keyOfColumns(t, {null ? nullptr : utf8});
}

bool find(Opened &o, const char *utf8, std::uint32_t partial = 0) {
  const auto key = keyFor(o.t(), utf8);
  return o.t().FindKey(1, partial, key.data(), true, o.buffer.data());
}

// A key on the kind and code index: the kind, the code, and how many segments are searched.
struct KindKey {
  const char *kind;
  const char *code;
  unsigned segments;
};

std::vector<std::uint8_t> keyOf(TOrvanto_iLow_Table &t, const KindKey &k) { return keyOfColumns(t, {k.kind, k.code}); }

// The kind and code table opened on its index, in each stored variant: with and without jump
// table and head flags.
struct KindCodeVariant {
  bool jump, head;
};
constexpr KindCodeVariant kKindCodeVariants[] = {{true, true}, {false, true}, {true, false}, {false, false}};

std::string variantName(const KindCodeVariant &v) {
  return std::string(v.jump ? "jump" : "no jump") + (v.head ? ", head flags" : ", no head flags");
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
    if (c.found) {
      EXPECT_EQ(o.text(0), c.stored);
    }
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

TEST(KeySearch, LeadingSegmentsFindTheFirstEntryInIndexOrder) {
  struct Case {
    KindKey key;
    std::uint32_t partial;
    bool found;
    std::uint32_t position;  // where the cursor rests; 15 = after the last
    const char *code;        // of the record found
  };
  const Case cases[] = {
      {{"Regulamentação", nullptr, 1}, 0, true, 8, "R-1"},
      {{"Pare", nullptr, 1}, 0, true, 5, "P-1"},
      {{"Parede", nullptr, 1}, 0, true, 7, "P-3"},
      {{"Advertência", nullptr, 1}, 0, true, 1, "A-1"},
      {{"Regular", nullptr, 1}, 0, true, 14, "X-1"},
      {{"Regulamentação", "R-2", 2}, 0, true, 9, "R-2"},
      // Partial keys whose matches span several groups, some equal to the prefix.
      {{"Pare", nullptr, 1}, 4, true, 5, "P-1"},
      {{"Regula", nullptr, 1}, 6, true, 8, "R-1"},
      {{"P", nullptr, 1}, 1, true, 4, "P-0"},
      {{"Regulamentação", "R-", 2}, 2, true, 8, "R-1"},
      // Not found: the cursor rests on the first entry after the key.
      {{"Pará", nullptr, 1}, 0, false, 8, nullptr},
      {{"Regulamento", nullptr, 1}, 0, false, 14, nullptr},
      {{"Zona", nullptr, 1}, 0, false, 15, nullptr},
      {{"Parede", "P-4", 2}, 0, false, 8, nullptr},
  };
  for (const auto &v : kKindCodeVariants) {
    Module m(kindCodeTable(v.jump, v.head));
    EXPECT_EQ(m.layout().jumpCounts[1] > 0, v.jump);
    Opened o(m, "tipos");
    ASSERT_TRUE(o.open());
    auto &t = o.t();
    t.SwitchIndexOrRaise(1);
    for (const auto &c : cases) {
      SCOPED_TRACE(variantName(v) + ": " + c.key.kind + (c.key.code ? std::string(" / ") + c.key.code : ""));
      const auto key = keyOf(t, c.key);
      EXPECT_EQ(t.FindKey(c.key.segments, c.partial, key.data(), true, o.buffer.data()), c.found);
      EXPECT_EQ(t.Position(), c.position);
      if (c.code) {
        EXPECT_EQ(o.text(1), c.code);
      }
    }
  }
}

TEST(KeySearch, LeadingSegmentsInInverseAndUniqueOrder) {
  for (bool jump : {true, false}) {
    SCOPED_TRACE(jump ? "jump" : "no jump");
    Module m(kindCodeTable(jump));
    Opened o(m, "tipos");
    ASSERT_TRUE(o.open());
    auto &t = o.t();
    t.SwitchIndexOrRaise(1);
    const auto regulation = keyOf(t, {"Regulamentação", nullptr, 1});
    // Inverse: the same record, numbered from the end; the walk goes on towards the start.
    t.SetInverse(true);
    ASSERT_TRUE(t.FindKey(1, 0, regulation.data(), true, o.buffer.data()));
    EXPECT_EQ(o.text(1), "R-1");
    EXPECT_TRUE(t.Inverse());
    EXPECT_EQ(t.Position(), 7u);
    ASSERT_TRUE(t.Next(o.buffer.data()));
    EXPECT_EQ(o.text(1), "P-3");
    t.SetInverse(false);
    // Unique: the first head of the kind, and the group of two found by its head.
    t.SetUnique(true);
    ASSERT_TRUE(t.FindKey(1, 0, regulation.data(), true, o.buffer.data()));
    EXPECT_EQ(o.text(1), "R-1");
    EXPECT_EQ(t.Position(), 8u);
    const auto r2 = keyOf(t, {"Regulamentação", "R-2", 2});
    ASSERT_TRUE(t.FindKey(2, 0, r2.data(), true, o.buffer.data()));
    EXPECT_EQ(t.Position(), 9u);
    EXPECT_EQ(t.GroupSize() + 1, 2u);
    ASSERT_TRUE(t.Next(o.buffer.data()));
    EXPECT_EQ(o.text(1), "R-3");
  }
}

TEST(KeySearch, KeyRangeOnLeadingSegmentsHoldsEveryMatchingGroup) {
  using Codes = std::vector<std::string>;
  struct Case {
    KindKey start;
    bool startInclusive;
    KindKey end;
    bool endInclusive;
    Codes codes;
  };
  const KindKey regulation{"Regulamentação", nullptr, 1}, pare{"Pare", nullptr, 1};
  const Case cases[] = {
      {regulation, true, regulation, true, {"R-1", "R-2", "R-2", "R-3", "R-4", "R-5"}},
      {pare, true, pare, true, {"P-1", "P-2"}},
      {{"Advertência", nullptr, 1}, true, {"Advertência", nullptr, 1}, true, {"A-1", "A-2"}},
      {{"Regular", nullptr, 1}, true, {"Regular", nullptr, 1}, true, {"X-1"}},
      {{"Parede", nullptr, 1}, true, {"Parede", nullptr, 1}, true, {"P-3"}},
      {{"Pará", nullptr, 1}, true, {"Pará", nullptr, 1}, true, {}},
      {{"Regulamentação", "R-2", 2}, true, {"Regulamentação", "R-2", 2}, true, {"R-2", "R-2"}},
      // Exclusive bounds leave out every group of the bound's key.
      {pare, false, regulation, false, {"P-3"}},
      {{"Parar", nullptr, 1}, false, pare, true, {"P-1", "P-2"}},
      {{"Indicação", nullptr, 1}, true, {"Pará", nullptr, 1}, true, {"I-1", "P-0", "P-1", "P-2", "P-3"}},
  };
  for (const auto &v : kKindCodeVariants) {
    Module m(kindCodeTable(v.jump, v.head));
    Opened o(m, "tipos");
    ASSERT_TRUE(o.open());
    auto &t = o.t();
    t.SwitchIndexOrRaise(1);
    for (const auto &c : cases) {
      SCOPED_TRACE(variantName(v) + ": " + c.start.kind + " .. " + c.end.kind);
      t.SetInverse(true);  // the range is taken in index order
      const auto start = keyOf(t, c.start);
      const auto end = keyOf(t, c.end);
      t.SetKeyRange(true, start.data(), c.start.segments, c.startInclusive, end.data(), c.end.segments,
                    c.endInclusive);
      EXPECT_TRUE(t.LastError().isClear());
      EXPECT_EQ(t.Count(), c.codes.size());
      EXPECT_EQ(o.walk(1), c.codes);
    }
    // A search inside the range: its positions are the range's.
    const auto regulationKey = keyOf(t, regulation);
    t.SetKeyRange(true, regulationKey.data(), 1, true, regulationKey.data(), 1, true);
    const auto r3 = keyOf(t, {"Regulamentação", "R-3", 2});
    ASSERT_TRUE(t.FindKey(2, 0, r3.data(), true, o.buffer.data())) << variantName(v);
    EXPECT_EQ(t.Position(), 4u) << variantName(v);
    EXPECT_EQ(o.text(1), "R-3") << variantName(v);
    t.WholeTable();
    EXPECT_EQ(t.Count(), 14u);
  }
}

TEST(KeySearch, SearchInARangeThatBeginsInsideAGroup) {
  // Index order a, a, a, b, c; the range holds the last two "a" and "b".
  Module m(wordTable({"a", "b", "a", "c", "a"}));
  Opened o(m, "palavras");
  ASSERT_TRUE(o.open());
  auto &t = o.t();
  t.SwitchIndexOrRaise(1);
  t.SetRange(1, 3);
  struct Case { const char *word; bool found; std::uint32_t position; };
  for (const Case &c : {Case{"a", true, 1}, Case{"b", true, 3}, Case{"ab", false, 3}, Case{"c", false, 4}}) {
    EXPECT_EQ(find(o, c.word), c.found) << c.word;
    EXPECT_EQ(t.Position(), c.position) << c.word;
  }
  ASSERT_TRUE(find(o, "a"));
  t.ReadRecord(o.buffer.data());
  std::uint8_t n[4];
  ASSERT_TRUE(t.GetColumnValue(o.buffer.data(), 1, n));
  EXPECT_EQ(n[0], 2);  // the second "a" in storage order
}

TEST(KeySearch, NullAndEmptyValuesShareTheFirstJumpCharacter) {
  OrvantoTableSpec s;
  s.name = "letras";
  s.columns = {C::String("L", 1), C::Fixed("N", orv::ctInteger)};
  s.records = {{S("a"), I(0)}, {S(""), I(1)}, {Null, I(2)}, {S("b"), I(3)}};
  s.indexes = {{"PorLetra", {{"L"}}, 0}};
  Module m(s);
  ASSERT_GT(m.layout().jumpCounts[1], 0u);
  Opened o(m, "letras");
  ASSERT_TRUE(o.open());
  o.t().SwitchIndexOrRaise(1);
  ASSERT_TRUE(find(o, ""));
  EXPECT_EQ(o.t().Position(), 2u);  // the empty value, after the null one
  EXPECT_TRUE(o.t().GetColumnValue(o.buffer.data(), 0, nullptr));
  const auto null = keyFor(o.t(), "", true);
  ASSERT_TRUE(o.t().FindKey(1, 0, null.data(), true, o.buffer.data()));
  EXPECT_EQ(o.t().Position(), 1u);
  EXPECT_FALSE(o.t().GetColumnValue(o.buffer.data(), 0, nullptr));
}

TEST(IndexSwitch, KeepsTheCurrentRecordBothWays) {
  for (bool headFlag : {true, false}) {
    SCOPED_TRACE(headFlag ? "head flags" : "no head flags");
    Module m(wordTable({"d", "b", "a", "b", "c"}, 0x06, headFlag));
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
  }
  Module m(wordTable({"d", "b", "a", "b", "c"}));
  Opened o(m, "palavras");
  ASSERT_TRUE(o.open());
  auto &t = o.t();
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

TEST(IndexSwitch, SearchThroughAnotherIndexAndComeBack) {
  Module m(wordTable({"d", "b", "a", "c", "e"}));
  Opened o(m, "palavras");
  ASSERT_TRUE(o.open());
  auto &t = o.t();
  t.SetInverse(true);
  t.GoTo(2);  // "c" (storage order reversed: e, c, a, b, d)
  t.ReadRecord(o.buffer.data());
  ASSERT_EQ(o.text(0), "c");
  for (const char *wanted : {"a", "zz"}) {
    const TOrvanto_Saved_State saved = t.SaveState();
    t.SetReFind(false);
    t.SwitchIndexOrRaise(1);
    const bool found = find(o, wanted);
    std::optional<std::uint32_t> bookmark;
    if (found) bookmark = t.GetBookmark();
    t.SetReFind(true);
    EXPECT_TRUE(t.RestoreState(saved, bookmark)) << wanted;
    EXPECT_EQ(t.ActiveIndex(), 0) << wanted;
    EXPECT_TRUE(t.Inverse()) << wanted;
    t.ReadRecord(o.buffer.data());
    EXPECT_EQ(o.text(0), found ? "a" : "c") << wanted;
    if (found) {
      EXPECT_EQ(t.Position(), 3u);
    }
    // Put the cursor back on "c" for the next round.
    t.GoTo(2);
  }
}
