// Metafile helpers: reading files (placeable WMF, WMF, EMF) and making placeable WMFs.
#include "common/rtf_metafile.h"
#include "test_rtf_helpers.h"

#include <QtEndian>

namespace {

QByteArray emfHeader(int frameRight, int frameBottom) {
  QByteArray emf(88, '\0');
  qToLittleEndian<uint32_t>(1, emf.data());
  qToLittleEndian<uint32_t>(88, emf.data() + 4);
  qToLittleEndian<int32_t>(frameRight, emf.data() + 32);
  qToLittleEndian<int32_t>(frameBottom, emf.data() + 36);
  qToLittleEndian<uint32_t>(0x464D4520u, emf.data() + 40);
  return emf;
}

TEST(RtfMetafile, PlaceableRoundTrip) {
  const QByteArray wmf = vl::test::tinyWmf(200, 100);
  const vl::RtfMetafile metafile{vl::RtfMetafileKind::Wmf, wmf, 8, QSize(5080, 2540)};
  const QByteArray placeable = vl::rtfPlaceableWmf(metafile);
  ASSERT_EQ(placeable.size(), wmf.size() + 22);
  EXPECT_EQ(qFromLittleEndian<uint32_t>(placeable.constData()), 0x9AC6CDD7u);
  EXPECT_EQ(qFromLittleEndian<int16_t>(placeable.constData() + 10), 200);  // right
  EXPECT_EQ(qFromLittleEndian<int16_t>(placeable.constData() + 12), 100);  // bottom
  EXPECT_EQ(qFromLittleEndian<uint16_t>(placeable.constData() + 14), 100);  // 200 units span 2 inches
  uint16_t checksum = 0;
  for (int i = 0; i < 10; ++i) checksum ^= qFromLittleEndian<uint16_t>(placeable.constData() + 2 * i);
  EXPECT_EQ(qFromLittleEndian<uint16_t>(placeable.constData() + 20), checksum);

  const auto back = vl::rtfMetafileFromFile(placeable);
  ASSERT_TRUE(back.has_value());
  EXPECT_EQ(*back, metafile);
}

TEST(RtfMetafile, FileKinds) {
  const QByteArray wmf = vl::test::tinyWmf(10, 10);
  const auto plain = vl::rtfMetafileFromFile(wmf);
  ASSERT_TRUE(plain.has_value());
  EXPECT_EQ(plain->kind, vl::RtfMetafileKind::Wmf);
  EXPECT_TRUE(plain->extent.isEmpty());

  const auto emf = vl::rtfMetafileFromFile(emfHeader(1000, 500));
  ASSERT_TRUE(emf.has_value());
  EXPECT_EQ(emf->kind, vl::RtfMetafileKind::Emf);
  EXPECT_EQ(emf->extent, QSize(1000, 500));

  EXPECT_FALSE(vl::rtfMetafileFromFile("\x89PNG\r\n\x1a\n....").has_value());
  EXPECT_FALSE(vl::rtfMetafileFromFile({}).has_value());
  EXPECT_FALSE(vl::rtfMetafileFromResource(QVariant(42)).has_value());
  EXPECT_TRUE(vl::rtfMetafileFromResource(QVariant(wmf)).has_value());
}

TEST(RtfMetafile, NoPlaceableWithoutWindowExtent) {
  QByteArray wmf = vl::test::tinyWmf(10, 10);
  EXPECT_TRUE(vl::rtfPlaceableWmf({vl::RtfMetafileKind::Emf, wmf, 8, {}}).isEmpty());
  EXPECT_TRUE(vl::rtfPlaceableWmf({vl::RtfMetafileKind::Wmf, wmf.left(18), 8, {}}).isEmpty());
  EXPECT_TRUE(vl::rtfPlaceableWmf({vl::RtfMetafileKind::Wmf, "garbage", 8, {}}).isEmpty());
}

}  // namespace
