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
QByteArray packedDib(int bitCount, const QList<QList<int>> &pixels, const QList<quint32> &palette = {});

// Share of pixels whose colour differs by more than `threshold` in a channel.
double differingShare(const QImage &a, const QImage &b, int threshold = 64);

// Writes `image` as PNG to metafile_renders/<name>.png beside the test program; returns the path.
QString saveRender(const QImage &image, const QString &name);

inline bool near(QRgb a, QRgb b, int tolerance = 40) {
  return std::abs(qRed(a) - qRed(b)) <= tolerance && std::abs(qGreen(a) - qGreen(b)) <= tolerance &&
         std::abs(qBlue(a) - qBlue(b)) <= tolerance;
}

}  // namespace vl::test
