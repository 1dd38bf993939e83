// Playback of hand-built WMF files: mapping, objects, state, shapes, bitmaps and text.
#include <gtest/gtest.h>

#include <QPainter>

#include "common/metafile.h"
#include "common/metafile_records.h"
#include "test_metafile_support.h"

using namespace vl;
using namespace vl::test;
namespace wmf = vl::mf::wmf;

namespace {

const QRgb White = qRgb(255, 255, 255);
const QRgb Red = qRgb(255, 0, 0);
const QRgb Blue = qRgb(0, 0, 255);

WmfFixture &brush(WmfFixture &f, quint32 color, int style = 0, int hatch = 0) {
  return f.rec(wmf::CreateBrushIndirect, {style, int(color & 0xFFFF), int(color >> 16), hatch});
}
WmfFixture &nullPen(WmfFixture &f) { return f.rec(wmf::CreatePenIndirect, {5, 0, 0, 0, 0}); }

// A fixture that starts with a null pen (object 0) and a red brush (object 1), both selected.
WmfFixture redShapes() {
  WmfFixture f;
  nullPen(f).rec(wmf::SelectObject, {0});
  brush(f, rgb(255, 0, 0)).rec(wmf::SelectObject, {1});
  return f;
}

QImage render(const QByteArray &wmf, QSize size = {100, 100}) {
  ensureGuiApp();
  return renderMetafileImage(wmf, size, Qt::white);
}

// Colours at the centres of the four quadrants: top-left, top-right, bottom-left, bottom-right.
QList<QRgb> quadrants(const QImage &img) {
  const int w = img.width(), h = img.height();
  return {img.pixel(w / 4, h / 4), img.pixel(3 * w / 4, h / 4), img.pixel(w / 4, 3 * h / 4), img.pixel(3 * w / 4, 3 * h / 4)};
}

}  // namespace

TEST(MetafileWmf, HeaderGivesKindAndNaturalSize) {
  WmfFixture f = redShapes();
  f.rec(wmf::Rectangle, {720, 720, 0, 0});
  const QByteArray placeable = f.placeable(0, 0, 1440, 720, 1440);
  EXPECT_EQ(metafileKind(placeable), MetafileKind::PlaceableWmf);
  EXPECT_EQ(metafileNaturalSize(placeable), QSizeF(96, 48));

  // Without the placeable header the window extent gives the size.
  WmfFixture g;
  g.rec(wmf::SetMapMode, {8}).rec(wmf::SetWindowOrg, {0, 0}).rec(wmf::SetWindowExt, {40, 80});
  EXPECT_EQ(metafileKind(g.plain()), MetafileKind::Wmf);
  EXPECT_EQ(metafileNaturalSize(g.plain()), QSizeF(80, 40));

  EXPECT_EQ(metafileKind(QByteArray("not a picture at all, just text")), MetafileKind::None);
  EXPECT_TRUE(metafileNaturalSize(QByteArray()).isEmpty());
  EXPECT_TRUE(render(QByteArray("GIF89a")).isNull());
}

TEST(MetafileWmf, MappingModesPlaceShapes) {
  struct Case {
    const char *name;
    QList<std::pair<quint16, QList<int>>> setup;
    QList<int> rect;  // bottom, right, top, left
    QList<bool> red;                  // TL, TR, BL, BR
  };
  const QList<Case> cases = {
      {"window extent scales", {{wmf::SetMapMode, {8}}, {wmf::SetWindowOrg, {0, 0}}, {wmf::SetWindowExt, {1000, 1000}}},
       {500, 500, 0, 0}, {true, false, false, false}},
      {"window origin shifts", {{wmf::SetWindowOrg, {-500, -500}}, {wmf::SetWindowExt, {1000, 1000}}},
       {0, 0, -500, -500}, {true, false, false, false}},
      {"negative extent flips y", {{wmf::SetWindowOrg, {1000, 0}}, {wmf::SetWindowExt, {-1000, 1000}}},
       {500, 500, 0, 0}, {false, false, true, false}},
      {"text mode ignores extents", {{wmf::SetWindowExt, {1000, 1000}}, {wmf::SetMapMode, {1}}, {wmf::SetWindowOrg, {0, 0}}},
       {50, 50, 0, 0}, {true, false, false, false}},
      {"isotropic keeps square units",
       {{wmf::SetMapMode, {7}}, {wmf::SetWindowExt, {500, 1000}}, {wmf::SetViewportExt, {100, 100}}, {wmf::SetWindowOrg, {0, 0}}},
       {500, 1000, 0, 0}, {true, true, false, false}},
      {"viewport origin shifts", {{wmf::SetMapMode, {1}}, {wmf::SetViewportOrg, {0, 50}}}, {50, 50, 0, 0},
       {false, true, false, false}},
      {"offset and scale of the window",
       {{wmf::SetWindowOrg, {0, 0}}, {wmf::SetWindowExt, {100, 100}}, {wmf::ScaleWindowExt, {1, 10, 1, 10}},
        {wmf::OffsetWindowOrg, {0, -500}}},
       {500, 0, 0, -500}, {true, false, false, false}},
      {"metric mode has y upwards", {{wmf::SetMapMode, {2}}, {wmf::SetViewportOrg, {100, 0}}}, {50, 100, 0, 50},
       {false, false, false, true}},
  };
  for (const Case &c : cases) {
    WmfFixture f = redShapes();
    for (const auto &[function, words] : c.setup) f.rec(function, words);
    f.rec(wmf::Rectangle, c.rect);
    // The metric case needs 254 units per inch so that 0.1 mm is one unit of the frame.
    const int inch = std::string(c.name).find("metric") != std::string::npos ? 254 : 96;
    const QImage img = render(f.placeable(0, 0, 100, 100, inch));
    saveRender(img, QStringLiteral("wmf_mapping_%1").arg(QString::fromLatin1(c.name).replace(' ', '_')));
    const QList<QRgb> q = quadrants(img);
    for (int i = 0; i < 4; ++i) EXPECT_EQ(q[i] == Red, c.red[i]) << c.name << " quadrant " << i;
  }
}

TEST(MetafileWmf, RestoreDcBringsBackObjectsMappingAndClip) {
  WmfFixture f = redShapes();
  f.rec(wmf::SaveDc, {});
  brush(f, rgb(0, 0, 255)).rec(wmf::SelectObject, {2});
  f.rec(wmf::SetWindowExt, {1, 1});
  f.rec(wmf::IntersectClipRect, {10, 10, 0, 0});
  f.rec(wmf::RestoreDc, {-1});
  f.rec(wmf::Rectangle, {100, 100, 0, 0});
  const QImage img = render(f.placeable(0, 0, 100, 100, 96));
  for (QRgb c : quadrants(img)) EXPECT_EQ(c, Red);

  // A clip set after the save limits drawing until the restore.
  WmfFixture g = redShapes();
  g.rec(wmf::SaveDc, {}).rec(wmf::IntersectClipRect, {50, 50, 0, 0}).rec(wmf::Rectangle, {100, 100, 0, 0});
  g.rec(wmf::RestoreDc, {-1});
  brush(g, rgb(0, 0, 255)).rec(wmf::SelectObject, {2}).rec(wmf::Rectangle, {100, 100, 50, 50});
  const QList<QRgb> q = quadrants(render(g.placeable(0, 0, 100, 100, 96)));
  EXPECT_EQ(q, (QList<QRgb>{Red, White, White, Blue}));
}

TEST(MetafileWmf, PolyPolygonHonoursFillMode) {
  // Two nested squares drawn in the same direction: alternate leaves a hole, winding fills it.
  for (const int mode : {1, 2}) {
    WmfFixture f = redShapes();
    f.rec(wmf::SetPolyFillMode, {mode});
    f.rec(wmf::PolyPolygon, {2, 4, 4, 10, 10, 90, 10, 90, 90, 10, 90, 30, 30, 70, 30, 70, 70, 30, 70});
    const QImage img = render(f.placeable(0, 0, 100, 100, 96));
    saveRender(img, QStringLiteral("wmf_polypolygon_mode%1").arg(mode));
    EXPECT_EQ(img.pixel(20, 20), Red);
    EXPECT_EQ(img.pixel(50, 50), mode == 1 ? White : Red) << "fill mode " << mode;
    EXPECT_EQ(img.pixel(5, 5), White);
  }
}

TEST(MetafileWmf, ShapesArcsAndPens) {
  struct Case {
    const char *name;
    quint16 function;
    QList<int> params;
    QList<QPoint> inside, outside;
  };
  const QList<Case> cases = {
      {"ellipse", wmf::Ellipse, {100, 100, 0, 0}, {{50, 50}, {50, 5}}, {{3, 3}, {97, 97}}},
      {"round rectangle", wmf::RoundRect, {40, 40, 100, 100, 0, 0}, {{50, 50}, {50, 2}, {2, 50}}, {{2, 2}, {98, 98}}},
      // Counterclockwise from 3 o'clock to 12 o'clock: the top right quarter.
      {"pie", wmf::Pie, {0, 50, 50, 100, 100, 100, 0, 0}, {{70, 30}}, {{30, 70}, {30, 30}, {70, 70}}},
      {"chord", wmf::Chord, {0, 50, 50, 100, 100, 100, 0, 0}, {{80, 20}}, {{55, 45}, {30, 70}}},
      {"polygon", wmf::Polygon, {3, 50, 0, 100, 100, 0, 100}, {{50, 60}}, {{5, 5}, {95, 5}}},
  };
  for (const Case &c : cases) {
    WmfFixture f = redShapes();
    f.rec(c.function, c.params);
    const QImage img = render(f.placeable(0, 0, 100, 100, 96));
    saveRender(img, QStringLiteral("wmf_shape_%1").arg(QString::fromLatin1(c.name).replace(' ', '_')));
    for (QPoint p : c.inside) EXPECT_EQ(img.pixel(p), Red) << c.name << " at " << p.x() << "," << p.y();
    for (QPoint p : c.outside) EXPECT_EQ(img.pixel(p), White) << c.name << " at " << p.x() << "," << p.y();
  }

  // A wide pen outlines a rectangle with a hollow brush; an arc strokes only its curve.
  WmfFixture f;
  f.rec(wmf::CreatePenIndirect, {0, 10, 0, 0, 0}).rec(wmf::SelectObject, {0});
  brush(f, 0, 1).rec(wmf::SelectObject, {1});
  f.rec(wmf::Rectangle, {90, 90, 10, 10});
  f.rec(wmf::Arc, {50, 0, 50, 0, 100, 100, 0, 0});
  f.rec(wmf::MoveTo, {50, 20}).rec(wmf::LineTo, {50, 80});
  const QImage img = render(f.placeable(0, 0, 100, 100, 96));
  saveRender(img, QStringLiteral("wmf_pens"));
  EXPECT_EQ(img.pixel(10, 50), qRgb(0, 0, 0));
  EXPECT_EQ(img.pixel(35, 35), White);
  EXPECT_EQ(img.pixel(50, 50), qRgb(0, 0, 0));
  EXPECT_EQ(img.pixel(50, 1), qRgb(0, 0, 0));  // the arc's top
  EXPECT_EQ(img.pixel(30, 60), White);
}

TEST(MetafileWmf, HatchedBrushDrawsLinesOnTheBackground) {
  WmfFixture f;
  nullPen(f).rec(wmf::SelectObject, {0});
  brush(f, rgb(0, 0, 255), 2, 4).rec(wmf::SelectObject, {1});  // blue cross hatch
  f.rec(wmf::SetBkMode, {2}).rec(wmf::SetBkColor, {0x00FF, 0});  // opaque, red background
  f.rec(wmf::Rectangle, {100, 100, 0, 0});
  const QImage img = render(f.placeable(0, 0, 100, 100, 96));
  int blue = 0, red = 0;
  for (int y = 10; y < 90; ++y)
    for (int x = 10; x < 90; ++x) {
      blue += img.pixel(x, y) == Blue;
      red += img.pixel(x, y) == Red;
    }
  EXPECT_GT(blue, 500);
  EXPECT_GT(red, 2000);
}

TEST(MetafileWmf, DeviceIndependentBitmapsOfEveryDepth) {
  // A 2 x 2 picture: red, green / blue, white (top row first), stretched over the frame.
  const QList<quint32> palette = {rgb(255, 0, 0), rgb(0, 255, 0), rgb(0, 0, 255), rgb(255, 255, 255)};
  struct Case {
    int bits;
    QList<QList<int>> pixels;
    QList<quint32> palette;
  };
  const QList<Case> cases = {
      {4, {{0, 1}, {2, 3}}, palette},
      {8, {{0, 1}, {2, 3}}, palette},
      {24, {{int(rgb(255, 0, 0)), int(rgb(0, 255, 0))}, {int(rgb(0, 0, 255)), int(rgb(255, 255, 255))}}, {}},
      {32, {{int(rgb(255, 0, 0)), int(rgb(0, 255, 0))}, {int(rgb(0, 0, 255)), int(rgb(255, 255, 255))}}, {}},
  };
  for (const Case &c : cases) {
    for (const quint16 function : {quint16(wmf::StretchDib), quint16(wmf::DibStretchBlt)}) {
      WmfFixture f;
      QByteArray params;
      putU32(params, 0x00CC0020);  // SRCCOPY
      if (function == wmf::StretchDib) putU16(params, 0);
      for (int v : {2, 2, 0, 0, 100, 100, 0, 0}) putU16(params, quint16(v));
      params.append(packedDib(c.bits, c.pixels, c.palette));
      f.raw(function, params);
      const QImage img = render(f.placeable(0, 0, 100, 100, 96));
      saveRender(img, QStringLiteral("wmf_dib_%1_%2").arg(c.bits).arg(function, 0, 16));
      const QList<QRgb> q = quadrants(img);
      EXPECT_TRUE(near(q[0], Red) && near(q[1], qRgb(0, 255, 0)) && near(q[2], Blue) && near(q[3], White))
          << c.bits << " bits, record " << std::hex << function;
    }
  }

  // One bit per pixel: a monochrome checker.
  WmfFixture f;
  QByteArray params;
  putU32(params, 0x00CC0020);
  putU16(params, 0);
  for (int v : {2, 2, 0, 0, 100, 100, 0, 0}) putU16(params, quint16(v));
  params.append(packedDib(1, {{1, 0}, {0, 1}}, {rgb(0, 0, 0), rgb(255, 255, 255)}));
  f.raw(wmf::StretchDib, params);
  const QList<QRgb> q = quadrants(render(f.placeable(0, 0, 100, 100, 96)));
  EXPECT_TRUE(near(q[0], White) && near(q[1], qRgb(0, 0, 0)) && near(q[2], qRgb(0, 0, 0)) && near(q[3], White));
}

TEST(MetafileWmf, TextUsesFontColourAndAlignment) {
  const auto textFixture = [](int align, int x, int y) {
    WmfFixture f;
    QByteArray font;
    for (int v : {-30, 0, 0, 0, 700}) putU16(font, quint16(qint16(v)));
    font.append(QByteArray(8, '\0'));
    font.append(QByteArray("DejaVu Sans").leftJustified(32, '\0'));
    f.raw(wmf::CreateFontIndirect, font).rec(wmf::SelectObject, {0});
    f.rec(wmf::SetTextColor, {0x00FF, 0}).rec(wmf::SetBkMode, {1}).rec(wmf::SetTextAlign, {align});
    QByteArray text;
    putU16(text, 4);
    text.append("PARE");
    putU16(text, quint16(y));
    putU16(text, quint16(x));
    f.raw(wmf::TextOut, text);
    return f.placeable(0, 0, 200, 100, 96);
  };
  struct Case {
    int align, x, y;
    double centreX;  // expected horizontal centre of the ink
    int inkTop, inkBottom;
  };
  // TA_CENTER | TA_BASELINE at (100, 60); TA_LEFT | TA_TOP at (10, 10); TA_RIGHT | TA_BOTTOM at (190, 90).
  const QList<Case> cases = {{6 | 24, 100, 60, 100, 35, 61}, {0, 10, 10, -1, 10, 40}, {2 | 8, 190, 90, -2, 60, 91}};
  for (const Case &c : cases) {
    const QImage img = render(textFixture(c.align, c.x, c.y), QSize(200, 100));
    saveRender(img, QStringLiteral("wmf_text_align%1").arg(c.align));
    QRect ink;
    for (int y = 0; y < img.height(); ++y)
      for (int x = 0; x < img.width(); ++x)
        if (qRed(img.pixel(x, y)) > 200 && qGreen(img.pixel(x, y)) < 100) ink |= QRect(x, y, 1, 1);
    ASSERT_FALSE(ink.isEmpty()) << "align " << c.align;
    EXPECT_GT(ink.width(), 50);
    if (c.centreX > 0) EXPECT_NEAR(ink.center().x(), c.centreX, 4);
    if (c.centreX == -1) EXPECT_NEAR(ink.left(), c.x, 4);
    if (c.centreX == -2) EXPECT_NEAR(ink.right(), c.x, 4);
    EXPECT_GE(ink.top(), c.inkTop - 2) << "align " << c.align;
    EXPECT_LE(ink.bottom(), c.inkBottom) << "align " << c.align;
  }
}

TEST(MetafileWmf, DrawsIntoTheTargetRectangleOfAnyPainter) {
  WmfFixture f = redShapes();
  f.rec(wmf::Rectangle, {100, 100, 0, 0});
  const QByteArray wmfBytes = f.placeable(0, 0, 100, 100, 96);
  ensureGuiApp();
  QImage img(100, 100, QImage::Format_RGB32);
  img.fill(Qt::white);
  QPainter p(&img);
  p.translate(10, 0);
  p.setPen(Qt::green);
  EXPECT_TRUE(renderMetafile(p, QRectF(10, 20, 30, 40), wmfBytes));
  EXPECT_EQ(p.pen().color(), QColor(Qt::green));  // the painter's state is kept
  p.end();
  EXPECT_EQ(img.pixel(35, 40), Red);
  EXPECT_EQ(img.pixel(15, 40), White);  // left of the translated target
  EXPECT_EQ(img.pixel(35, 65), White);  // below it
}

TEST(MetafileWmf, TrailingSpotBlockIsIgnored) {
  WmfFixture f = redShapes();
  f.rec(wmf::Ellipse, {100, 100, 0, 0});
  const QByteArray picture = f.placeable(0, 0, 100, 100, 96);
  QByteArray withBlock = picture;
  withBlock.append("VLhotwmf\0\0", 10);
  putU16(withBlock, 1);
  withBlock.append(QByteArray(40, '\x7F'));
  putU32(withBlock, quint32(picture.size()));
  EXPECT_EQ(metafileNaturalSize(withBlock), metafileNaturalSize(picture));
  EXPECT_EQ(render(withBlock), render(picture));

  // Plain WMF measured from its own drawing, with trailing bytes.
  WmfFixture g = redShapes();
  g.rec(wmf::Rectangle, {60, 80, 20, 40});
  const QByteArray plain = g.plain() + QByteArray("VLhot and more bytes");
  EXPECT_EQ(metafileNaturalSize(plain), QSizeF(40, 40));
  const QImage img = render(plain, QSize(40, 40));
  EXPECT_EQ(img.pixel(20, 20), Red);
}
