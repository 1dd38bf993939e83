// Damaged metafiles: truncated, corrupted or hostile bytes never crash or hang the renderer.
#include <gtest/gtest.h>

#include <QRandomGenerator>

#include "common/metafile.h"
#include "common/metafile_records.h"
#include "test_metafile_support.h"

using namespace vl;
using namespace vl::test;
namespace wmf = vl::mf::wmf;
namespace emr = vl::mf::emr;

namespace {

void renderSafely(const QByteArray &bytes) {
  (void)metafileKind(bytes);
  (void)metafileNaturalSize(bytes);
  (void)renderMetafileImage(bytes, QSize(48, 48), Qt::white);
}

}  // namespace

TEST(MetafileRobust, EveryTruncationRendersOrFailsCleanly) {
  ensureGuiApp();
  for (const QByteArray &sample : sampleMetafiles()) {
    ASSERT_NE(metafileKind(sample), MetafileKind::None);
    for (qsizetype n = 0; n < sample.size(); n += (n < 200 ? 1 : 7)) renderSafely(sample.first(n));
    // Too short for any header: no picture.
    EXPECT_EQ(metafileKind(sample.first(10)), MetafileKind::None);
    EXPECT_TRUE(renderMetafileImage(sample.first(10), QSize(10, 10)).isNull());
  }
}

TEST(MetafileRobust, CorruptedBytesRenderOrFailCleanly) {
  ensureGuiApp();
  QRandomGenerator random(20261210);
  for (const QByteArray &sample : sampleMetafiles()) {
    for (int round = 0; round < 300; ++round) {
      QByteArray bytes = sample;
      const int changes = 1 + int(random.bounded(8));
      for (int i = 0; i < changes; ++i) {
        // Keep the headers mostly intact so the damage reaches the records.
        const qsizetype at = 18 + random.bounded(int(bytes.size() - 18));
        bytes[at] = char(random.bounded(256));
      }
      renderSafely(bytes);
    }
  }
}

TEST(MetafileRobust, HostileRecordsAreSkipped) {
  ensureGuiApp();
  struct Case {
    const char *name;
    QByteArray bytes;
  };
  QList<Case> cases;
  {  // a record whose size is zero must not loop forever
    WmfFixture f;
    f.rec(wmf::Rectangle, {10, 10, 0, 0});
    QByteArray b = f.placeable(0, 0, 10, 10, 96);
    const qsizetype rec = 22 + 18;
    b[rec] = b[rec + 1] = b[rec + 2] = b[rec + 3] = 0;
    cases.append({"zero record size", b});
  }
  {  // point counts far beyond the record
    WmfFixture f;
    f.rec(wmf::Polygon, {32000, 0, 0, 10, 10}).rec(wmf::PolyPolygon, {30000, 1, 2});
    f.rec(wmf::Polyline, {-1, 0, 0});
    cases.append({"huge point counts", f.placeable(0, 0, 10, 10, 96)});
  }
  {  // a bitmap claiming 30000 x 30000 pixels, and one with a broken header
    WmfFixture f;
    QByteArray p;
    putU32(p, 0x00CC0020);
    putU16(p, 0);
    for (int v : {2, 2, 0, 0, 10, 10, 0, 0}) putU16(p, quint16(v));
    QByteArray dib = packedDib(24, {{0, 0}, {0, 0}});
    dib[4] = dib[8] = char(0x30);
    dib[5] = dib[9] = char(0x75);
    f.raw(wmf::StretchDib, p + dib);
    QByteArray broken = p + packedDib(8, {{0}});
    broken[22] = char(99);  // header size 99
    f.raw(wmf::StretchDib, broken);
    cases.append({"oversized bitmaps", f.placeable(0, 0, 10, 10, 96)});
  }
  {  // objects selected and deleted that never existed, extreme mapping
    WmfFixture f;
    f.rec(wmf::SelectObject, {500}).rec(wmf::DeleteObject, {-1}).rec(wmf::RestoreDc, {-30000});
    f.rec(wmf::SetMapMode, {8}).rec(wmf::SetWindowExt, {1, 1}).rec(wmf::SetViewportExt, {32767, -32768});
    f.rec(wmf::ScaleWindowExt, {0, 0, 0, 0}).rec(wmf::Ellipse, {32767, 32767, -32768, -32768});
    cases.append({"bad objects and mapping", f.placeable(0, 0, 10, 10, 96)});
  }
  {  // a dashed pen tens of thousands of units wide, magnified: stroking must stay quick
    WmfFixture f;
    f.rec(wmf::CreatePenIndirect, {0x1D01, 30464, 0, 0, 0}).rec(wmf::SelectObject, {0});
    f.rec(wmf::SetMapMode, {7}).rec(wmf::SetViewportExt, {49, 60});
    f.rec(wmf::RoundRect, {9, 9, 80, 80, 5, 5});
    cases.append({"enormous dashed pen", f.plain()});
  }
  {  // EMF offsets and counts pointing outside their records
    EmfFixture e;
    e.rec(emr::Polygon16, {0, 0, 0, 0, 0x7FFFFFFF});
    e.rec(emr::PolyPolygon, {0, 0, 0, 0, 0xFFFFFFFF, 3, 3});
    e.rec(emr::StretchDiBits, {0, 0, 0, 0, 0, 0, 0, 0, 2, 2, 0xFFFFFF00, 40, 4, 4, 0, 0x00CC0020, 10, 10});
    e.rec(emr::ExtTextOutW, {0, 0, 0, 0, 1, 0, 0, 5, 5, 0x7FFFFFFF, 0xFFFFFFF0, 0, 0, 0, 0, 0, 0});
    e.rec(emr::SelectObject, {0x7FFFFFFF}).rec(emr::DeleteObject, {0xFFFFFFFF});
    e.rec(emr::SetWorldTransform, {0x7F800000, 0, 0, 0x7FC00000, 0, 0});
    e.rec(emr::Rectangle, {0, 0, 10, 10});
    cases.append({"EMF offsets outside the record", e.finish()});
  }
  for (const Case &c : cases) {
    SCOPED_TRACE(c.name);
    ASSERT_NE(metafileKind(c.bytes), MetafileKind::None);
    const QImage img = renderMetafileImage(c.bytes, QSize(20, 20), Qt::white);
    EXPECT_FALSE(img.isNull());
  }
}

TEST(MetafileRobust, InvalidSvgReportsAnError) {
  ensureGuiApp();
  QString error;
  EXPECT_TRUE(svgToWmf("<svg this is not xml", QSize(10, 10), &error).isEmpty());
  EXPECT_FALSE(error.isEmpty());
}
