#include <gtest/gtest.h>

#include <cstring>

#include "table_fixtures.h"

using namespace vl;
using namespace vl::test;

namespace {

OrvantoTableSpec everyType(std::uint8_t k) {
  OrvantoTableSpec s;
  s.name = "tipos";
  s.checkWidth = k;
  s.columns = {C::String("Nome", 20, 2), C::Fixed("Pequeno", orv::ctSmallint), C::Fixed("Inteiro", orv::ctInteger),
               C::Fixed("Palavra", orv::ctWord), C::Fixed("Logico", orv::ctBoolean), C::Fixed("Real", orv::ctFloat),
               C::Fixed("Moeda", orv::ctCurrency), C::Fixed("Data", orv::ctDate), C::Fixed("Hora", orv::ctTime),
               C::Fixed("Momento", orv::ctDateTime), C::Bytes("Codigo", 6), C::Fixed("Auto", orv::ctAutoInc),
               C::Memo("Texto", 12), C::Blob("Dados"), C::String("Curto", 3, 1), C::String("Largo", 8192, 3),
               C::String("Amplo", 10, 4)};
  s.columns[12].p1 = 12;
  s.records.push_back({S("Pare"), I(-5), I(-70000), I(65535), I(1), D(2.5), D(10.25), I(738000), I(3600000), D(1.5e12),
                       S("R-1"), I(1), S("Linha um\r\nlinha dois que continua"), std::string("\x00\x01\x02", 3), S("abc"), std::string(8000, 'x'), S("w4")});
  s.records.push_back({S(""), Null, Null, Null, Null, Null, Null, Null, Null, Null, Null, Null, Null, Null, Null, Null, Null});
  s.records.push_back({S("Dê a preferência"), I(7), I(8), I(9), I(0), D(-1), D(0), I(1), I(2), D(3), S("R-2"), I(2),
                       S("curto"), std::string(), S(""), S("y"), Null});
  return s;
}

std::int32_t int32At(TOrvanto_iLow_Table &t, const std::vector<std::uint8_t> &b, std::size_t column) {
  std::int32_t v;
  std::memcpy(&v, b.data() + t.Column(column).slotOffset, 4);
  return v;
}

double doubleAt(TOrvanto_iLow_Table &t, const std::vector<std::uint8_t> &b, std::size_t column) {
  double v;
  std::memcpy(&v, b.data() + t.Column(column).slotOffset, 8);
  return v;
}

}  // namespace

class EveryCheckWidth : public ::testing::TestWithParam<int> {};

TEST_P(EveryCheckWidth, ReadsEveryColumnTypeAndVerifies) {
  Module m(everyType(static_cast<std::uint8_t>(GetParam())));
  Opened o(m, "tipos");
  ASSERT_TRUE(o.open()) << o.t().LastError().code;
  auto &t = o.t();
  EXPECT_EQ(t.RecordCount(), 3u);
  EXPECT_EQ(t.CheckWidth(), GetParam());
  ASSERT_TRUE(t.Next(o.buffer.data()));
  EXPECT_TRUE(t.LastError().isClear());
  EXPECT_EQ(o.text(0), "Pare");
  EXPECT_EQ(int32At(t, o.buffer, 1), -5);
  EXPECT_EQ(int32At(t, o.buffer, 2), -70000);
  EXPECT_EQ(int32At(t, o.buffer, 3), 65535);
  EXPECT_EQ(o.buffer[t.Column(4).slotOffset], 1);
  EXPECT_EQ(doubleAt(t, o.buffer, 5), 2.5);
  EXPECT_EQ(doubleAt(t, o.buffer, 6), 10.25);
  EXPECT_EQ(int32At(t, o.buffer, 7), 738000);
  EXPECT_EQ(int32At(t, o.buffer, 8), 3600000);
  EXPECT_EQ(doubleAt(t, o.buffer, 9), 1.5e12);
  EXPECT_EQ(o.text(10), "R-1");
  EXPECT_EQ(o.text(14), "abc");
  EXPECT_EQ(o.text(15), std::string(8000, 'x'));
  EXPECT_EQ(o.text(16), "w4");
  // Memo preview: CR became a blank, LF dropped, default ellipsis.
  EXPECT_EQ(t.StringValue(o.buffer.data(), 12), "Linha um li\x85");
  EXPECT_FALSE(t.PreviewComplete(12));
  EXPECT_EQ(t.BlobLength(13), 3u);
  EXPECT_EQ(t.ReadWholeBlob(13), (std::vector<std::uint8_t>{0, 1, 2}));
  EXPECT_EQ(cp1252ToUtf8(std::string(reinterpret_cast<const char *>(t.ReadWholeBlob(12).data()), t.BlobLength(12))),
            "Linha um\r\nlinha dois que continua");

  ASSERT_TRUE(t.Next(o.buffer.data()));
  EXPECT_TRUE(t.GetColumnValue(o.buffer.data(), 0, nullptr));  // empty string, not null
  EXPECT_EQ(o.text(0), "");
  std::uint8_t slot[16];
  EXPECT_FALSE(t.GetColumnValue(o.buffer.data(), 2, slot));  // null integer still yields its slot
  EXPECT_FALSE(t.GetColumnValue(o.buffer.data(), 13, nullptr));
  EXPECT_EQ(t.BlobLength(13), 0u);
  std::uint8_t none[4];
  EXPECT_EQ(t.ReadBlob(13, 0, 4, none), 0u);

  ASSERT_TRUE(t.Next(o.buffer.data()));
  EXPECT_EQ(o.text(0), "Dê a preferência");
  EXPECT_EQ(t.StringValue(o.buffer.data(), 12), "curto");
  EXPECT_TRUE(t.PreviewComplete(12));
  EXPECT_FALSE(t.Next(o.buffer.data()));
  EXPECT_TRUE(t.Verify());
}

INSTANTIATE_TEST_SUITE_P(K, EveryCheckWidth, ::testing::Values(0, 1, 2, 3, 4));

TEST(TableRecords, PreviewEllipsisKinds) {
  OrvantoTableSpec s;
  s.name = "m";
  s.columns = {C::Memo("Texto", 12)};
  s.records = {{S("Linha um\r\nlinha dois que continua")}, {S("0123456789")}};
  Module m(s);
  Opened o(m, "m");
  ASSERT_TRUE(o.open());
  struct Case { TOrvanto_EllipsisType kind; const char *first; };
  const Case cases[] = {{orvEtThreeDots, "Linha um..."}, {orvEtEllipsis, "Linha um li\x85"}, {orvEtNone, "Linha um lin"}};
  for (const auto &c : cases) {
    o.t().SetEllipsisType(c.kind);
    o.t().First();
    ASSERT_TRUE(o.t().Next(o.buffer.data()));
    EXPECT_EQ(o.t().StringValue(o.buffer.data(), 0), c.first) << int(c.kind);
    ASSERT_TRUE(o.t().Next(o.buffer.data()));
    EXPECT_EQ(o.t().StringValue(o.buffer.data(), 0), "0123456789");
  }
}

TEST(TableRecords, NoSizeTemplateTable) {
  OrvantoTableSpec s;
  s.name = "fixa";
  s.columns = {C::Fixed("A", orv::ctInteger), C::Bytes("B", 3)};
  s.records = {{I(1), S("abc")}, {I(2), Null}};
  Module m(s);
  EXPECT_EQ(m.layout().templateOffset, 0u);
  // bitmap + 4 + (3 + 1) + check
  EXPECT_EQ(m.layout().recordAddresses[1] - m.layout().recordAddresses[0], 1u + 4 + 4 + 4);
  Opened o(m, "fixa");
  ASSERT_TRUE(o.open());
  EXPECT_EQ(o.walk(1), (std::vector<std::string>{"abc", ""}));
  EXPECT_TRUE(o.t().Verify());
}

TEST(TableRecords, DamagedRecordAndBlobGiveCode180) {
  OrvantoTableSpec s;
  s.name = "d";
  s.columns = {C::String("T", 10), C::Blob("B")};
  s.records = {{S("um"), S("conteudo")}, {S("dois"), S("xyz")}};
  Module m(s);
  const std::uint32_t a0 = m.layout().recordAddresses[0];
  // The String bytes of record 1 (after sizes area of 1 + 4 bytes and the bitmap).
  m.image[m.at(a0 + 5 + 1)] ^= 0x20;
  // The blob bytes of record 2.
  const std::uint32_t a1 = m.layout().recordAddresses[1];
  m.image[m.at(a1 + 5 + 1 + 4)] ^= 0x01;
  m.rewrite();
  Opened o(m, "d");
  ASSERT_TRUE(o.open());
  EXPECT_TRUE(o.t().Next(o.buffer.data()));
  EXPECT_EQ(o.t().LastError().code, 180);
  EXPECT_EQ(o.t().LastError().section, 1u);
  EXPECT_FALSE(o.t().GetColumnValue(o.buffer.data(), 0, nullptr));  // cleared buffer
  EXPECT_TRUE(o.t().Next(o.buffer.data()));
  EXPECT_TRUE(o.t().LastError().isClear());
  std::uint8_t data[3] = {1, 1, 1};
  try {
    o.t().ReadBlob(1, 0, 3, data);
    ADD_FAILURE() << "no error";
  } catch (const EOrvanto_Engine_Error &e) {
    EXPECT_EQ(e.code(), 180);
    EXPECT_EQ(e.osError(), 23u);
    EXPECT_EQ(e.operation(), "Blob Read");
  }
  EXPECT_EQ(data[0] | data[1] | data[2], 0);
  // A partial read checks nothing.
  EXPECT_EQ(o.t().ReadBlob(1, 1, 10, data), 2u);
  EXPECT_THROW(o.t().ReadBlob(0, 0, 1, data), EOrvanto_Engine_Error);
  EXPECT_FALSE(o.t().Verify());  // the table check covers blob bytes
}
