#include "test_metafile_support.h"

#include <QCoreApplication>

namespace vl::test {

QByteArray packedDib(int bitCount, const QList<QList<int>> &pixels, const QList<quint32> &palette) {
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

double differingShare(const QImage &a, const QImage &b, int threshold) {
  if (a.size() != b.size() || a.isNull()) return 1.0;
  const QImage x = a.convertToFormat(QImage::Format_RGB32), y = b.convertToFormat(QImage::Format_RGB32);
  qint64 differing = 0;
  for (int row = 0; row < x.height(); ++row) {
    const QRgb *p = reinterpret_cast<const QRgb *>(x.constScanLine(row));
    const QRgb *q = reinterpret_cast<const QRgb *>(y.constScanLine(row));
    for (int col = 0; col < x.width(); ++col)
      if (!near(p[col], q[col], threshold)) ++differing;
  }
  return double(differing) / (qint64(x.width()) * x.height());
}

QString saveRender(const QImage &image, const QString &name) {
  QDir dir(QCoreApplication::applicationDirPath());
  dir.mkpath(QStringLiteral("metafile_renders"));
  const QString path = dir.filePath(QStringLiteral("metafile_renders/%1.png").arg(name));
  image.save(path);
  return path;
}

}  // namespace vl::test
