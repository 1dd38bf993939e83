// SVG sign pictures drawn directly and through the WMF writer and renderer look the same.
#include <gtest/gtest.h>

#include <QBuffer>
#include <QPainter>
#include <QSvgRenderer>

#include "common/metafile.h"
#include "common/svg_to_wmf.h"
#include "common/wmf_paint_device.h"
#include "test_metafile_support.h"

using namespace vl;
using namespace vl::test;

namespace {

QImage renderSvg(const QByteArray &svg, QSize size) {
  QImage img(size, QImage::Format_ARGB32_Premultiplied);
  img.fill(Qt::white);
  QSvgRenderer renderer(svg);
  QPainter p(&img);
  renderer.render(&p, QRectF(QPointF(0, 0), QSizeF(size)));
  return img;
}

QByteArray transparentPngDataUri() {
  // Drawn at its own size, so that only the transparency is tested, not the smoothing of enlargement.
  QImage img(160, 160, QImage::Format_ARGB32);
  img.fill(Qt::transparent);
  QPainter p(&img);
  p.fillRect(QRect(40, 40, 80, 80), QColor(0, 90, 200));
  p.fillRect(QRect(0, 0, 30, 160), QColor(200, 30, 30));
  p.end();
  QByteArray png;
  QBuffer buffer(&png);
  buffer.open(QIODevice::WriteOnly);
  img.save(&buffer, "PNG");
  return "data:image/png;base64," + png.toBase64();
}

struct Sample {
  const char *name;
  QByteArray svg;
};

QList<Sample> samples() {
  const QByteArray head = R"svg(<svg xmlns="http://www.w3.org/2000/svg" xmlns:xlink="http://www.w3.org/1999/xlink" width="200" height="200" viewBox="0 0 200 200">)svg";
  return {
      {"no_entry", head + R"svg(<circle cx="100" cy="100" r="92" fill="#c8102e" stroke="#ffffff" stroke-width="6"/>
          <rect x="32" y="84" width="136" height="32" fill="#ffffff"/></svg>)svg"},
      {"warning_triangle", head + R"svg(<polygon points="100,14 190,178 10,178" fill="#ffcc00" stroke="#000000"
          stroke-width="12" stroke-linejoin="round"/><rect x="92" y="70" width="16" height="60" fill="#000"/>
          <circle cx="100" cy="150" r="9" fill="#000"/></svg>)svg"},
      {"stop_text", head + R"svg(<polygon points="59,4 141,4 196,59 196,141 141,196 59,196 4,141 4,59" fill="#c8102e"/>
          <text x="100" y="122" font-family="DejaVu Sans" font-size="58" font-weight="bold" fill="#ffffff"
          text-anchor="middle">PARE</text></svg>)svg"},
      {"stroked_paths", head + R"svg(<rect width="200" height="200" fill="#f4f4f4"/>
          <path d="M20,170 C60,20 140,20 180,170" fill="none" stroke="#004a99" stroke-width="14" stroke-linecap="round"/>
          <path d="M20,190 L180,190" stroke="#222" stroke-width="6" stroke-dasharray="20 10"/>
          <polyline points="30,40 60,80 90,40 120,80" fill="none" stroke="#0a0" stroke-width="5" stroke-linejoin="miter"/></svg>)svg"},
      {"fill_rules", head + R"svg(<path d="M100,10 L160,190 L10,75 L190,75 L40,190 Z" fill="#e60" fill-rule="evenodd"/>
          <path d="M100,60 L130,150 L55,92 L145,92 L70,150 Z" fill="#06c" fill-rule="nonzero"/></svg>)svg"},
      {"transform_and_clip", head + R"svg(<defs><clipPath id="c"><circle cx="100" cy="100" r="70"/></clipPath></defs>
          <g clip-path="url(#c)"><g transform="rotate(30 100 100)"><rect x="20" y="80" width="160" height="40" fill="#333"/>
          <rect x="80" y="20" width="40" height="160" fill="#c00"/></g></g>
          <ellipse cx="100" cy="100" rx="90" ry="60" fill="none" stroke="#000" stroke-width="3"/></svg>)svg"},
      {"embedded_image", head + R"svg(<rect width="200" height="200" fill="#ffdd00"/><image x="20" y="20" width="160" height="160"
          xlink:href=")svg" + transparentPngDataUri() + R"svg("/></svg>)svg"},
  };
}

}  // namespace

TEST(MetafileRoundTrip, SvgThroughWmfMatchesDirectRendering) {
  ensureGuiApp();
  for (const Sample &s : samples()) {
    SCOPED_TRACE(s.name);
    QString error;
    const QByteArray wmf = svgToWmf(s.svg, QSize(200, 200), &error);
    ASSERT_FALSE(wmf.isEmpty()) << error.toStdString();
    EXPECT_EQ(metafileKind(wmf), MetafileKind::PlaceableWmf);
    EXPECT_EQ(metafileNaturalSize(wmf), QSizeF(200, 200));
    for (const int side : {200, 333}) {
      const QImage direct = renderSvg(s.svg, QSize(side, side));
      const QImage viaWmf = renderMetafileImage(wmf, QSize(side, side), Qt::white);
      ASSERT_FALSE(viaWmf.isNull());
      QImage both(2 * side + 10, side, QImage::Format_RGB32);
      both.fill(Qt::gray);
      QPainter p(&both);
      p.drawImage(0, 0, direct);
      p.drawImage(side + 10, 0, viaWmf);
      p.end();
      saveRender(both, QStringLiteral("roundtrip_%1_%2").arg(QString::fromLatin1(s.name)).arg(side));
      EXPECT_LT(differingShare(direct, viaWmf), 0.015) << "at " << side << " px";
    }
  }
}

TEST(MetafileRoundTrip, PaintDeviceRecordsPrimitivesOfAPainter) {
  ensureGuiApp();
  const QSize size(120, 80);
  auto paint = [](QPainter &p) {
    p.setRenderHint(QPainter::Antialiasing);
    p.fillRect(QRect(0, 0, 120, 80), QColor(230, 240, 255));
    p.setPen(QPen(QColor(0, 0, 0), 4, Qt::SolidLine, Qt::SquareCap, Qt::BevelJoin));
    p.setBrush(QColor(0, 160, 60));
    p.drawRect(10, 10, 40, 30);
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(QColor(200, 0, 0), 3));
    p.drawEllipse(QRectF(60, 10, 50, 50));
    p.drawLine(10, 70, 110, 70);
    p.setPen(QPen(Qt::blue, 2, Qt::DashLine));
    p.drawPolyline(QPolygonF({QPointF(10, 50), QPointF(40, 60), QPointF(70, 50)}));
  };
  QImage direct(size, QImage::Format_ARGB32_Premultiplied);
  direct.fill(Qt::white);
  {
    QPainter p(&direct);
    paint(p);
  }
  WmfPaintDevice device(size);
  {
    QPainter p(&device);
    paint(p);
  }
  const QByteArray wmf = device.data();
  ASSERT_FALSE(wmf.isEmpty());
  const QImage viaWmf = renderMetafileImage(wmf, size, Qt::white);
  saveRender(viaWmf, QStringLiteral("paint_device_primitives"));
  EXPECT_LT(differingShare(direct, viaWmf), 0.02);
  EXPECT_EQ(metafileNaturalSize(wmf), QSizeF(size));
}
