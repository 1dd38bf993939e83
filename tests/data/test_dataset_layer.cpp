// The dataset layer on its own: window, moves, fields, bookmarks, calculated and lookup fields,
// notifications and key editing, over a data set held in memory.
#include <gtest/gtest.h>

#include "data/dataset.h"
#include "memory_dataset.h"

using namespace vl;
using namespace vl::test;

namespace {

std::unique_ptr<MemoryDataSet> numbers(int count, int keyColumn = -1) {
  std::vector<Values> rows;
  for (int i = 1; i <= count; ++i) rows.push_back({Value(i), Value("n" + std::to_string(i))});
  return std::make_unique<MemoryDataSet>(
      std::vector<FieldDef>{def("Num", FieldType::Integer, 1), def("Nome", FieldType::String, 2, 10)},
      std::move(rows), keyColumn);
}

std::string expectError(const std::function<void()> &work) {
  try {
    work();
  } catch (const DatabaseError &e) {
    return e.what();
  }
  return "(no error)";
}

struct Recorder : DataSetObserver {
  std::vector<DataEvent> events;
  void dataSetEvent(DataSet &, DataEvent e) override { events.push_back(e); }
};

}  // namespace

TEST(DataSetLayer, MovesAndFlags) {
  struct Case {
    int records;
    int bufferCount;
  };
  for (const Case c : {Case{0, 1}, Case{1, 1}, Case{5, 1}, Case{5, 3}, Case{2, 4}}) {
    SCOPED_TRACE(std::to_string(c.records) + " records, window " + std::to_string(c.bufferCount));
    auto ds = numbers(c.records);
    ds->setBufferCount(c.bufferCount);
    ds->open();
    EXPECT_TRUE(ds->bof());
    EXPECT_EQ(ds->eof(), c.records == 0);
    EXPECT_EQ(ds->isEmpty(), c.records == 0);
    std::vector<std::int64_t> seen;
    while (!ds->eof()) {
      seen.push_back(ds->fieldByName("num").asInteger());
      ds->next();
    }
    ASSERT_EQ(static_cast<int>(seen.size()), c.records);
    for (int i = 0; i < c.records; ++i) EXPECT_EQ(seen[i], i + 1);
    if (c.records > 0) {
      EXPECT_EQ(ds->fieldByName("Num").asInteger(), c.records);  // stays on the last
    }
    ds->last();
    EXPECT_TRUE(ds->eof());
    EXPECT_EQ(ds->bof(), c.records == 0);
    seen.clear();
    while (!ds->bof()) {
      seen.push_back(ds->fieldByName("Num").asInteger());
      ds->prior();
    }
    ASSERT_EQ(static_cast<int>(seen.size()), c.records);
    for (int i = 0; i < c.records; ++i) EXPECT_EQ(seen[i], c.records - i);
    EXPECT_LE(ds->windowCount(), c.bufferCount);
  }
}

TEST(DataSetLayer, WindowRowsAndMoveBy) {
  auto ds = numbers(10);
  ds->setBufferCount(4);
  ds->open();
  EXPECT_EQ(ds->windowCount(), 4);
  EXPECT_EQ(ds->moveBy(5), 5);
  EXPECT_EQ(ds->fieldByName("Num").asInteger(), 6);
  EXPECT_EQ(ds->activeRow(), 3);  // scrolled: the active record is the last row
  std::vector<std::int64_t> rows;
  for (int r = 0; r < ds->windowCount(); ++r) {
    DataSet::RowScope scope(*ds, r);
    rows.push_back(ds->fieldByName("Num").asInteger());
  }
  EXPECT_EQ(rows, (std::vector<std::int64_t>{3, 4, 5, 6}));
  EXPECT_EQ(ds->fieldByName("Num").asInteger(), 6);  // the scope ended
  EXPECT_EQ(ds->moveBy(-10), -5);
  EXPECT_TRUE(ds->bof());
  EXPECT_EQ(ds->fieldByName("Num").asInteger(), 1);
  EXPECT_EQ(ds->moveBy(20), 9);
  EXPECT_TRUE(ds->eof());
  EXPECT_EQ(ds->fieldByName("Nome").asString(), "n10");
}

TEST(DataSetLayer, BookmarksReturnToTheirRecord) {
  auto ds = numbers(6);
  ds->setBufferCount(2);
  ds->open();
  ds->moveBy(3);
  const Bookmark mark = ds->bookmark();
  EXPECT_TRUE(ds->bookmarkValid(mark));
  ds->last();
  EXPECT_EQ(ds->compareBookmarks(mark, ds->bookmark()), -1);
  ds->gotoBookmark(mark);
  EXPECT_EQ(ds->fieldByName("Num").asInteger(), 4);
  EXPECT_FALSE(ds->bof());
  EXPECT_FALSE(ds->eof());
  ds->prior();
  EXPECT_EQ(ds->fieldByName("Num").asInteger(), 3);
}

TEST(DataSetLayer, FieldsByNameIgnoringCase) {
  MemoryDataSet ds({def("Definição", FieldType::String, 1, 20)}, {{Value("ação")}});
  ds.open();
  EXPECT_EQ(&ds.fieldByName("DEFINIÇÃO"), &ds.fieldByName("definição"));
  EXPECT_EQ(ds.findField("Definicao"), nullptr);
  EXPECT_EQ(expectError([&] { ds.fieldByName("Outro"); }), "Campo 'Outro' não encontrado");
  EXPECT_EQ(ds.fieldByName("definição").asString(), "ação");
  ds.close();
  EXPECT_EQ(ds.fieldCount(), 0u);
}

TEST(DataSetLayer, ValuesAndTexts) {
  struct Case {
    FieldType type;
    int precision;
    Value value;
    std::string display;
    std::string text;
  };
  const Case cases[] = {
      {FieldType::String, 0, Value(), "", ""},
      {FieldType::Integer, 0, Value(-42), "-42", "-42"},
      {FieldType::Boolean, 0, Value(true), "Sim", "Sim"},
      {FieldType::Boolean, 0, Value(false), "Não", "Não"},
      {FieldType::Float, 4, Value(3.14159), "3,142", "3,14159"},
      {FieldType::Currency, 0, Value(1234.5), "R$ 1.234,50", "1234,5"},
      {FieldType::Date, 0, Value(makeDateTime(2026, 12, 10)), "10/12/2026", "10/12/2026"},
      {FieldType::Time, 0, Value(storedEpoch() + std::chrono::milliseconds(13 * 3600000 + 5 * 60000 + 9000)),
       "13:05:09", "13:05:09"},
      {FieldType::DateTime, 0, Value(makeDateTime(1998, 9, 23, 8, 30)), "23/09/1998 08:30:00",
       "23/09/1998 08:30:00"},
      {FieldType::DateTime, 0, Value(makeDateTime(1998, 9, 23)), "23/09/1998", "23/09/1998"},
      {FieldType::Blob, 0, Value(std::string("a\0b", 3)), "(Blob)", std::string("a\0b", 3)},
  };
  for (const Case &c : cases) {
    FieldDef d = def("F", c.type, 1);
    d.precision = c.precision;
    MemoryDataSet ds({d}, {{c.value}});
    ds.open();
    Field &f = ds.fieldByName("F");
    EXPECT_EQ(f.displayText(), c.display) << int(c.type);
    EXPECT_EQ(f.asString(), c.text) << int(c.type);
    EXPECT_EQ(f.isNull(), c.value.isNull());
  }
}

TEST(DataSetLayer, Conversions) {
  MemoryDataSet ds({def("T", FieldType::String, 1, 10), def("D", FieldType::Float, 2), def("N", FieldType::String, 3)},
                   {{Value(" 12 "), Value(2.5), Value()}});
  ds.open();
  EXPECT_EQ(ds.fieldByName("T").asInteger(), 12);
  EXPECT_DOUBLE_EQ(ds.fieldByName("T").asFloat(), 12.0);
  EXPECT_EQ(ds.fieldByName("D").asInteger(), 3);
  EXPECT_TRUE(ds.fieldByName("D").asBoolean());
  EXPECT_EQ(ds.fieldByName("N").asInteger(), 0);
  EXPECT_FALSE(ds.fieldByName("N").asBoolean());
  EXPECT_EQ(ds.fieldByName("N").asDateTime(), storedEpoch());
  EXPECT_EQ(expectError([&] { ds.fieldByName("D").asDateTime(); }),
            "Valor '2,5' não pode ser convertido para o campo 'D'");
  EXPECT_EQ(valueToFloat(Value("1,25")), 1.25);
  EXPECT_EQ(valueToBoolean(Value("não")), false);
  EXPECT_EQ(valueToInteger(Value("x1")), std::nullopt);
}

TEST(DataSetLayer, CalculatedAndLookupFields) {
  MemoryDataSet sources({def("Fonte", FieldType::String, 1, 5), def("Desc", FieldType::String, 2, 50)},
                        {{Value("CTB"), Value("Código de Trânsito Brasileiro")}, {Value("RES"), Value("Resolução")}});
  MemoryDataSet terms({def("Entrada", FieldType::String, 1, 34), def("Fonte", FieldType::String, 2, 5)},
                      {{Value("Via"), Value("CTB")}, {Value("Faixa"), Value("XYZ")}, {Value("Placa"), Value("RES")}});
  terms.addLookupField("FonteDesc", 200, LookupSpec{&sources, "Fonte", "Fonte", "Desc"});
  terms.addCalculatedField("Tamanho", FieldType::Integer);
  terms.setOnCalcFields([](DataSet &ds) {
    ds.fieldByName("Tamanho").setValue(static_cast<std::int64_t>(ds.fieldByName("Entrada").asString().size()));
  });
  terms.setGetTextHandler("entrada", [](const Field &f, bool display) {
    return display ? "[" + f.value().get<std::string>() + "]" : f.value().get<std::string>();
  });
  sources.open();
  terms.open();
  const std::vector<std::pair<std::string, std::string>> expected = {
      {"Código de Trânsito Brasileiro", "[Via]"}, {"", "[Faixa]"}, {"Resolução", "[Placa]"}};
  for (const auto &[desc, shown] : expected) {
    EXPECT_EQ(terms.fieldByName("FonteDesc").asString(), desc);
    EXPECT_EQ(terms.fieldByName("FonteDesc").isNull(), desc.empty());
    EXPECT_EQ(terms.fieldByName("FonteDesc").kind(), FieldKind::Lookup);
    EXPECT_EQ(terms.fieldByName("Entrada").displayText(), shown);
    EXPECT_EQ(terms.fieldByName("Tamanho").asInteger(),
              static_cast<std::int64_t>(terms.fieldByName("Entrada").asString().size()));
    terms.next();
  }
  // A calculated value is only set inside the calculation; data fields stay read-only there.
  EXPECT_EQ(expectError([&] { terms.fieldByName("Tamanho").setValue(1); }), "Dataset not in edit or insert mode");
  terms.close();
  terms.setOnCalcFields([](DataSet &ds) { ds.fieldByName("Entrada").setValue("x"); });
  EXPECT_EQ(expectError([&] { terms.open(); }), "Field 'Entrada' cannot be modified");
  EXPECT_FALSE(terms.active());
}

TEST(DataSetLayer, ObserversFollowTheDataSet) {
  auto ds = numbers(3);
  Recorder rec;
  ds->attach(rec);
  ds->open();
  ds->next();
  ds->disableControls();
  ds->next();
  ds->prior();
  EXPECT_EQ(rec.events.back(), DataEvent::RecordChanged);
  const auto held = rec.events.size();
  ds->enableControls();
  EXPECT_EQ(rec.events.size(), held + 1);
  EXPECT_EQ(rec.events.back(), DataEvent::DataChanged);
  ds->close();
  EXPECT_EQ(rec.events.front(), DataEvent::DataChanged);  // first() inside open
  EXPECT_EQ(rec.events[1], DataEvent::Opened);
  EXPECT_EQ(rec.events.back(), DataEvent::Closed);
  {
    Recorder shortLived;
    ds->attach(shortLived);
  }
  ds->open();  // the destroyed observer detached itself
  auto other = numbers(1);
  Recorder survivor;
  other->attach(survivor);
  other.reset();
}

TEST(DataSetLayer, KeyEditingStates) {
  auto ds = numbers(3, /*keyColumn=*/0);
  Recorder rec;
  ds->attach(rec);
  ds->open();
  EXPECT_EQ(expectError([&] { ds->fieldByName("Num").setValue(5); }), "Dataset not in edit or insert mode");
  ds->setKey();
  EXPECT_EQ(ds->state(), DataSetState::SetKey);
  EXPECT_EQ(rec.events.back(), DataEvent::StateChanged);
  EXPECT_TRUE(ds->fieldByName("Num").isNull());  // a cleared key buffer
  ds->fieldByName("Num").setValue(2);
  EXPECT_EQ(ds->fieldByName("Num").asInteger(), 2);
  EXPECT_EQ(expectError([&] { ds->fieldByName("Nome").setValue("x"); }),
            "Field 'Nome' is not indexed and cannot be modified");
  ds->next();  // moving leaves key editing, keeping the key
  EXPECT_EQ(ds->state(), DataSetState::Browse);
  EXPECT_EQ(ds->fieldByName("Num").asInteger(), 2);  // the record again
  ds->editKey();
  EXPECT_EQ(ds->fieldByName("Num").asInteger(), 2);  // editKey keeps the key
  ds->fieldByName("Num").setValue(3);
  ds->cancel();
  ds->editKey();
  EXPECT_EQ(ds->fieldByName("Num").asInteger(), 2);  // cancelled edit
  ds->setKey();
  EXPECT_TRUE(ds->fieldByName("Num").isNull());
  ds->cancel();
  EXPECT_EQ(ds->state(), DataSetState::Browse);
}

TEST(DataSetLayer, ClosedDataSetRefusesMoves) {
  auto ds = numbers(2);
  EXPECT_EQ(expectError([&] { ds->next(); }), "A tabela não está aberta");
  EXPECT_EQ(ds->bookmark(), Bookmark{});
}
