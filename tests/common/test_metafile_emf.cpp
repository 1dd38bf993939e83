// Playback of hand-built EMF files.
#include <gtest/gtest.h>

#include "common/metafile.h"
#include "common/metafile_records.h"
#include "test_metafile_support.h"

using namespace vl;
using namespace vl::test;
namespace emr = vl::mf::emr;

namespace {

const QRgb White = qRgb(255, 255, 255);
const QRgb Red = qRgb(255, 0, 0);

// Null pen and red brush in slots 1 and 2, selected.
EmfFixture redShapes() {
  EmfFixture f;
  f.rec(emr::SelectObject, {0x80000008});  // NULL_PEN
  f.rec(emr::CreateBrushIndirect, {2, 0, rgb(255, 0, 0), 0}).rec(emr::SelectObject, {2});
  return f;
}

QImage render(const QByteArray &emf, QSize size = {96, 96}) {
  ensureGuiApp();
  return renderMetafileImage(emf, size, Qt::white);
}

QByteArray u16s(std::initializer_list<int> values) {
  QByteArray b;
  for (int v : values) putU16(b, quint16(qint16(v)));
  return b;
}

}  // namespace

TEST(MetafileEmf, HeaderGivesKindAndNaturalSize) {
  const QByteArray emf = redShapes().finish(5080, 2540);
  EXPECT_EQ(metafileKind(emf), MetafileKind::Emf);
  EXPECT_EQ(metafileNaturalSize(emf), QSizeF(192, 96));
}

TEST(MetafileEmf, TransformsAndMappingPlaceShapes) {
  struct Case {
    const char *name;
    std::function<void(EmfFixture &)> setup;
    QList<bool> red;  // TL, TR, BL, BR
  };
  const auto world = [](float m11, float m12, float m21, float m22, float dx, float dy, int mode) {
    return [=](EmfFixture &f) {
      QByteArray x;
      for (float v : {m11, m12, m21, m22, dx, dy}) putF32(x, v);
      if (mode) putU32(x, quint32(mode));
      f.raw(mode ? emr::ModifyWorldTransform : emr::SetWorldTransform, x);
    };
  };
  const QList<Case> cases = {
      {"identity", [](EmfFixture &) {}, {true, false, false, false}},
      {"world translation", world(1, 0, 0, 1, 48, 48, 0), {false, false, false, true}},
      {"world multiply right", [&](EmfFixture &f) { world(1, 0, 0, 1, 48, 0, 0)(f); world(1, 0, 0, 1, 0, 48, 3)(f); },
       {false, false, false, true}},
      {"world reset", [&](EmfFixture &f) { world(1, 0, 0, 1, 48, 0, 0)(f); world(1, 0, 0, 1, 0, 0, 1)(f); },
       {true, false, false, false}},
      {"anisotropic window",
       [](EmfFixture &f) {
         f.rec(emr::SetMapMode, {8}).rec(emr::SetWindowExtEx, {960, 960}).rec(emr::SetViewportExtEx, {96, 96});
         f.rec(emr::SetWindowOrgEx, {-480, 0});
       },
       {false, true, false, false}},
      {"viewport origin", [](EmfFixture &f) { f.rec(emr::SetViewportOrgEx, {0, 48}); }, {false, false, true, false}},
  };
  for (const Case &c : cases) {
    EmfFixture f = redShapes();
    c.setup(f);
    // 48 device units are a quarter at identity; in the anisotropic case 480 logical units.
    const bool aniso = std::string(c.name) == "anisotropic window";
    const int side = aniso ? 480 : 48;
    f.rec(emr::Rectangle, {0, 0, side, side});
    const QImage img = render(f.finish());
    saveRender(img, QStringLiteral("emf_mapping_%1").arg(QString::fromLatin1(c.name).replace(' ', '_')));
    const QList<QRgb> q = {img.pixel(24, 24), img.pixel(72, 24), img.pixel(24, 72), img.pixel(72, 72)};
    for (int i = 0; i < 4; ++i) EXPECT_EQ(q[i] == Red, c.red[i]) << c.name << " quadrant " << i;
  }
}

TEST(MetafileEmf, SaveRestoreAndStockObjects) {
  EmfFixture f = redShapes();
  f.rec(emr::SaveDc, {});
  f.rec(emr::SelectObject, {0x80000005});  // NULL_BRUSH
  f.rec(emr::SetViewportOrgEx, {48, 48});
  f.rec(emr::RestoreDc, {-1});
  f.rec(emr::Rectangle, {0, 0, 48, 48});
  f.rec(emr::SelectObject, {0x80000004});  // BLACK_BRUSH
  f.rec(emr::Ellipse, {48, 48, 96, 96});
  const QImage img = render(f.finish());
  EXPECT_EQ(img.pixel(24, 24), Red);
  EXPECT_EQ(img.pixel(72, 72), qRgb(0, 0, 0));
  EXPECT_EQ(img.pixel(72, 24), White);
}

TEST(MetafileEmf, PathsAndPolyPolygonFillModes) {
  for (const int mode : {1, 2}) {
    EmfFixture f = redShapes();
    f.rec(emr::SetPolyFillMode, {mode});
    QByteArray pp;
    for (int v : {0, 0, 96, 96}) putU32(pp, quint32(v));
    putU32(pp, 2);
    putU32(pp, 8);
    putU32(pp, 4);
    putU32(pp, 4);
    pp.append(u16s({8, 8, 88, 8, 88, 88, 8, 88, 28, 28, 68, 28, 68, 68, 28, 68}));
    f.raw(emr::PolyPolygon16, pp);
    const QImage img = render(f.finish());
    saveRender(img, QStringLiteral("emf_polypolygon_mode%1").arg(mode));
    EXPECT_EQ(img.pixel(16, 16), Red);
    EXPECT_EQ(img.pixel(48, 48), mode == 1 ? White : Red);
  }

  // A path bracket: a triangle of lines and a curve, filled.
  EmfFixture f = redShapes();
  f.rec(emr::BeginPath, {});
  f.rec(emr::MoveToEx, {48, 0}).rec(emr::LineTo, {96, 96}).rec(emr::LineTo, {0, 96});
  f.rec(emr::CloseFigure, {}).rec(emr::EndPath, {}).rec(emr::FillPath, {0, 0, 96, 96});
  const QImage img = render(f.finish());
  saveRender(img, QStringLiteral("emf_path"));
  EXPECT_EQ(img.pixel(48, 70), Red);
  EXPECT_EQ(img.pixel(5, 5), White);
  EXPECT_EQ(img.pixel(90, 10), White);
}

TEST(MetafileEmf, StretchDiBitsAndBitBlt) {
  const QByteArray dib = packedDib(32, {{int(rgb(255, 0, 0)), int(rgb(0, 255, 0))}, {int(rgb(0, 0, 255)), int(rgb(255, 255, 255))}});
  const int infoSize = 40;
  for (const quint32 type : {quint32(emr::StretchDiBits), quint32(emr::StretchBlt)}) {
    EmfFixture f;
    QByteArray r;
    for (int v : {0, 0, 96, 96}) putU32(r, quint32(v));
    const int fixed = type == emr::StretchDiBits ? 80 : 108;
    if (type == emr::StretchDiBits) {
      for (int v : {0, 0, 0, 0, 2, 2}) putU32(r, quint32(v));                     // dest x,y; src x,y,cx,cy
      for (int v : {fixed, infoSize, fixed + infoSize, int(dib.size()) - infoSize, 0}) putU32(r, quint32(v));
      putU32(r, 0x00CC0020);
      putU32(r, 96);
      putU32(r, 96);
    } else {
      for (int v : {0, 0, 96, 96}) putU32(r, quint32(v));  // dest
      putU32(r, 0x00CC0020);
      putU32(r, 0);
      putU32(r, 0);
      for (float v : {1.f, 0.f, 0.f, 1.f, 0.f, 0.f}) putF32(r, v);
      putU32(r, 0);  // background colour
      putU32(r, 0);  // usage
      for (int v : {fixed, infoSize, fixed + infoSize, int(dib.size()) - infoSize, 2, 2}) putU32(r, quint32(v));
    }
    r.append(dib);
    f.raw(type, r);
    const QImage img = render(f.finish());
    saveRender(img, QStringLiteral("emf_dib_%1").arg(type));
    EXPECT_TRUE(near(img.pixel(24, 24), Red) && near(img.pixel(72, 24), qRgb(0, 255, 0)) &&
                near(img.pixel(24, 72), qRgb(0, 0, 255)) && near(img.pixel(72, 72), White))
        << "record " << type;
  }
}

TEST(MetafileEmf, ExtTextOutWDrawsUnicodeText) {
  EmfFixture f;
  QByteArray font;
  putU32(font, 1);
  for (int v : {-28, 0, 0, 0, 700}) putU32(font, quint32(v));
  font.append(QByteArray(8, '\0'));
  for (QChar c : QStringLiteral("DejaVu Sans").leftJustified(32, QChar(0))) putU16(font, c.unicode());
  f.raw(emr::ExtCreateFontIndirectW, font).rec(emr::SelectObject, {1});
  f.rec(emr::SetTextColor, {rgb(255, 0, 0)}).rec(emr::SetBkMode, {1}).rec(emr::SetTextAlign, {24});
  const QString text = QStringLiteral("Atenção");
  QByteArray t;
  for (int v : {0, 0, 96, 96}) putU32(t, quint32(v));
  putU32(t, 1);
  putF32(t, 1);
  putF32(t, 1);
  putU32(t, 4);   // reference x
  putU32(t, 60);  // reference y
  putU32(t, quint32(text.size()));
  putU32(t, 76);  // offString: 8 + 68
  putU32(t, 0);
  for (int v : {0, 0, 96, 96}) putU32(t, quint32(v));
  putU32(t, 0);  // no spacing
  for (QChar c : text) putU16(t, c.unicode());
  f.raw(emr::ExtTextOutW, t);
  const QImage img = render(f.finish(), QSize(192, 96));
  saveRender(img, QStringLiteral("emf_text"));
  int red = 0, above = 0;
  for (int y = 0; y < img.height(); ++y)
    for (int x = 0; x < img.width(); ++x)
      if (qRed(img.pixel(x, y)) > 200 && qGreen(img.pixel(x, y)) < 100) (y < 25 ? above : red)++;
  EXPECT_GT(red, 300);
  EXPECT_EQ(above, 0);
}

TEST(MetafileEmf, TrailingBytesAfterEofAreIgnored) {
  EmfFixture f = redShapes();
  f.rec(emr::Ellipse, {0, 0, 96, 96});
  const QByteArray emf = f.finish();
  const QByteArray withBlock = emf + QByteArray("VLhotemf\0\0\0\0garbage", 21);
  EXPECT_EQ(render(withBlock), render(emf));
  EXPECT_EQ(render(emf).pixel(48, 48), Red);
}
