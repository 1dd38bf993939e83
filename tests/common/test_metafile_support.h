#pragma once
// Helpers of the metafile tests: a GUI application for fonts, hand-built WMF/EMF fixtures,
// pixel comparison and PNG output for looking at the renders.
#include <QApplication>
#include <QByteArray>
#include <QDir>
#include <QImage>
#include <QList>
#include <QString>
#include <initializer_list>

#include "common/metafile_records.h"
#include "common/svg_to_wmf.h"

namespace vl::test {

inline void ensureGuiApp() {
  if (QCoreApplication::instance()) return;
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  static int argc = 1;
  static char name[] = "test_common";
  static char *argv[] = {name, nullptr};
  new QApplication(argc, argv);
}

inline void putU16(QByteArray &b, quint16 v) {
  b.append(char(v & 0xFF));
  b.append(char(v >> 8));
}
inline void putU32(QByteArray &b, quint32 v) {
  putU16(b, quint16(v & 0xFFFF));
  putU16(b, quint16(v >> 16));
}
inline void putF32(QByteArray &b, float f) {
  quint32 bits;
  static_assert(sizeof bits == sizeof f);
  memcpy(&bits, &f, 4);
  putU32(b, bits);
}

// WMF records written word by word.
class WmfFixture {
 public:
  // A record of 16-bit parameters (in file order).
  WmfFixture &rec(quint16 function, std::initializer_list<int> words) { return rec(function, QList<int>(words)); }
  WmfFixture &rec(quint16 function, const QList<int> &words) {
    QByteArray r;
    for (int w : words) putU16(r, quint16(qint16(w)));
    return raw(function, r);
  }
  // A record with parameter bytes (padded to a word).
  WmfFixture &raw(quint16 function, QByteArray params) {
    if (params.size() & 1) params.append('\0');
    putU32(body_, quint32(3 + params.size() / 2));
    putU16(body_, function);
    body_.append(params);
    ++objectsHint_;
    return *this;
  }
  QByteArray plain() const {
    QByteArray out;
    putU16(out, 1);
    putU16(out, 9);
    putU16(out, 0x0300);
    putU32(out, quint32(9 + body_.size() / 2 + 3));
    putU16(out, 16);
    putU32(out, 1000);
    putU16(out, 0);
    out.append(body_);
    putU32(out, 3);
    putU16(out, 0);
    return out;
  }
  QByteArray placeable(int left, int top, int right, int bottom, int inch) const {
    QByteArray h;
    putU32(h, 0x9AC6CDD7u);
    putU16(h, 0);
    for (int v : {left, top, right, bottom}) putU16(h, quint16(qint16(v)));
    putU16(h, quint16(inch));
    putU32(h, 0);
    quint16 sum = 0;
    for (int i = 0; i < 10; ++i) sum ^= quint16(uchar(h[2 * i]) | (uchar(h[2 * i + 1]) << 8));
    putU16(h, sum);
    return h + plain();
  }

 private:
  QByteArray body_;
  int objectsHint_ = 0;
};

// EMF records of 32-bit fields; the header is built by finish().
class EmfFixture {
 public:
  EmfFixture &rec(quint32 type, std::initializer_list<qint64> dwords) {
    QByteArray r;
    for (qint64 d : dwords) putU32(r, quint32(d));
    return raw(type, r);
  }
  EmfFixture &raw(quint32 type, QByteArray params) {
    while (params.size() % 4) params.append('\0');
    putU32(body_, type);
    putU32(body_, quint32(8 + params.size()));
    body_.append(params);
    ++records_;
    return *this;
  }
  // A reference device of 960 x 960 pixels on 254 x 254 mm (96 dpi); frame in 0.01 mm.
  QByteArray finish(int frameRight = 2540, int frameBottom = 2540) const {
    QByteArray eof;
    putU32(eof, 14);
    putU32(eof, 20);
    putU32(eof, 0);
    putU32(eof, 16);
    putU32(eof, 20);
    QByteArray h;
    putU32(h, 1);
    putU32(h, 88);
    for (int v : {0, 0, frameRight * 96 / 2540, frameBottom * 96 / 2540}) putU32(h, quint32(v));
    for (int v : {0, 0, frameRight, frameBottom}) putU32(h, quint32(v));
    putU32(h, 0x464D4520u);
    putU32(h, 0x10000);
    putU32(h, quint32(88 + body_.size() + eof.size()));
    putU32(h, quint32(records_ + 2));
    putU16(h, 16);
    putU16(h, 0);
    putU32(h, 0);
    putU32(h, 0);
    putU32(h, 0);
    for (int v : {960, 960, 254, 254}) putU32(h, quint32(v));
    return h + body_ + eof;
  }

 private:
  QByteArray body_;
  int records_ = 0;
};

inline quint32 rgb(int r, int g, int b) { return quint32(r) | (quint32(g) << 8) | (quint32(b) << 16); }

// A packed DIB (info header, colour table, bottom-up rows) of `pixels` given top row first.
inline QByteArray packedDib(int bitCount, const QList<QList<int>> &pixels, const QList<quint32> &palette = {}) {
  const int h = int(pixels.size());
  const int w = h ? int(pixels[0].size()) : 0;
  QByteArray out;
  putU32(out, 40);
  putU32(out, quint32(w));
  putU32(out, quint32(h));
  putU16(out, 1);
  putU16(out, quint16(bitCount));
  putU32(out, 0);
  putU32(out, 0);
  putU32(out, 0);
  putU32(out, 0);
  putU32(out, quint32(palette.size()));
  putU32(out, 0);
  for (quint32 c : palette) {  // COLORREF order r,g,b -> RGBQUAD b,g,r,0
    out.append(char((c >> 16) & 0xFF)).append(char((c >> 8) & 0xFF)).append(char(c & 0xFF)).append('\0');
  }
  const int stride = ((w * bitCount + 31) / 32) * 4;
  for (int y = h - 1; y >= 0; --y) {
    QByteArray row(stride, '\0');
    for (int x = 0; x < w; ++x) {
      const quint32 v = quint32(pixels[y][x]);
      switch (bitCount) {
        case 1: if (v) row[x / 8] = char(row[x / 8] | (0x80 >> (x % 8))); break;
        case 4: row[x / 2] = char(row[x / 2] | (x % 2 ? v : v << 4)); break;
        case 8: row[x] = char(v); break;
        case 24: row[3 * x] = char((v >> 16) & 0xFF); row[3 * x + 1] = char((v >> 8) & 0xFF); row[3 * x + 2] = char(v & 0xFF); break;
        case 32: row[4 * x] = char((v >> 16) & 0xFF); row[4 * x + 1] = char((v >> 8) & 0xFF); row[4 * x + 2] = char(v & 0xFF); break;
        default: break;
      }
    }
    out.append(row);
  }
  return out;
}


namespace wmfr = vl::mf::wmf;
namespace emfr = vl::mf::emr;

// A placeable and a plain WMF, an EMF and a converted SVG using many kinds of records.
inline QList<QByteArray> sampleMetafiles() {
  WmfFixture w;
  w.rec(wmfr::CreatePenIndirect, {0, 3, 0, 0, 0}).rec(wmfr::SelectObject, {0});
  w.rec(wmfr::CreateBrushIndirect, {0, 0xFF, 0, 0}).rec(wmfr::SelectObject, {1});
  w.rec(wmfr::SetMapMode, {8}).rec(wmfr::SetWindowExt, {100, 100});
  w.rec(wmfr::PolyPolygon, {2, 3, 3, 0, 0, 50, 0, 50, 50, 10, 10, 40, 10, 40, 40});
  w.rec(wmfr::Pie, {0, 50, 50, 100, 100, 100, 0, 0});
  QByteArray text;
  putU16(text, 3);
  text.append("abc");
  text.append('\0');
  putU16(text, 10);
  putU16(text, 10);
  w.raw(wmfr::TextOut, text);
  QByteArray dib;
  putU32(dib, 0x00CC0020);
  putU16(dib, 0);
  for (int v : {2, 2, 0, 0, 100, 100, 0, 0}) putU16(dib, quint16(v));
  dib.append(packedDib(8, {{0, 1}, {1, 0}}, {rgb(0, 0, 0), rgb(255, 255, 255)}));
  w.raw(wmfr::StretchDib, dib);

  EmfFixture e;
  e.rec(emfr::CreatePen, {1, 0, 2, 0, rgb(0, 0, 255)}).rec(emfr::SelectObject, {1});
  e.rec(emfr::BeginPath, {}).rec(emfr::MoveToEx, {0, 0}).rec(emfr::LineTo, {90, 10}).rec(emfr::EndPath, {});
  e.rec(emfr::StrokeAndFillPath, {0, 0, 96, 96});
  e.rec(emfr::Arc, {0, 0, 96, 96, 96, 48, 48, 0});
  e.rec(emfr::SaveDc, {}).rec(emfr::IntersectClipRect, {0, 0, 40, 40}).rec(emfr::RestoreDc, {-1});

  const QByteArray svg = R"(<svg xmlns="http://www.w3.org/2000/svg" width="60" height="60">
      <circle cx="30" cy="30" r="25" fill="red" stroke="black" stroke-width="4"/></svg>)";
  return {w.placeable(0, 0, 100, 100, 96), w.plain(), e.finish(), svgToWmf(svg, QSize(60, 60))};
}

// Share of pixels whose colour differs by more than `threshold` in a channel.
double differingShare(const QImage &a, const QImage &b, int threshold = 64);

// Writes `image` as PNG to metafile_renders/<name>.png beside the test program; returns the path.
QString saveRender(const QImage &image, const QString &name);

inline bool near(QRgb a, QRgb b, int tolerance = 40) {
  return std::abs(qRed(a) - qRed(b)) <= tolerance && std::abs(qGreen(a) - qGreen(b)) <= tolerance &&
         std::abs(qBlue(a) - qBlue(b)) <= tolerance;
}

}  // namespace vl::test
