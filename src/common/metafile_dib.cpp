#include "common/metafile_dib.h"

#include <QBuffer>
#include <QImageReader>

#include "common/metafile_bytes.h"

namespace vl::mf {
namespace {

constexpr qint64 MaxSide = 16384;
constexpr qint64 MaxPixels = 16 * 1024 * 1024;

struct DibHeader {
  qint64 headerSize = 0;
  qint64 width = 0;
  qint64 height = 0;  // negative: top-down rows
  int bitCount = 0;
  quint32 compression = 0;
  qint64 colorCount = 0;
  int colorEntrySize = 4;
  qint64 maskBytes = 0;
};

bool parseHeader(const Bytes &b, DibHeader &h) {
  h.headerSize = b.u32(0);
  if (h.headerSize == 12) {
    if (!b.has(0, 12)) return false;
    h.width = b.u16(4);
    h.height = b.u16(6);
    h.bitCount = b.u16(10);
    h.colorEntrySize = 3;
  } else if (h.headerSize >= 40 && h.headerSize <= 1024) {
    if (!b.has(0, h.headerSize)) return false;
    h.width = b.i32(4);
    h.height = b.i32(8);
    h.bitCount = b.u16(14);
    h.compression = b.u32(16);
    h.colorCount = b.u32(32);
    if (h.compression == 3 && h.headerSize == 40) h.maskBytes = 12;
  } else {
    return false;
  }
  switch (h.bitCount) {
    case 1: case 4: case 8: case 16: case 24: case 32: break;
    default: return false;
  }
  if (h.compression > 3 || (h.compression == 3 && h.bitCount != 16 && h.bitCount != 32)) return false;
  if ((h.compression == 1 && h.bitCount != 8) || (h.compression == 2 && h.bitCount != 4)) return false;
  const qint64 rows = h.height < 0 ? -h.height : h.height;
  if (h.width <= 0 || rows <= 0 || h.width > MaxSide || rows > MaxSide || h.width * rows > MaxPixels)
    return false;
  if (h.bitCount <= 8) {
    const qint64 full = qint64(1) << h.bitCount;
    if (h.colorCount <= 0 || h.colorCount > full) h.colorCount = full;
  } else if (h.colorCount > 256) {
    return false;
  }
  if (h.headerSize == 12) h.colorCount = h.bitCount <= 8 ? (qint64(1) << h.bitCount) : 0;
  return true;
}

void putU16(QByteArray &out, quint16 v) {
  out.append(char(v & 0xFF));
  out.append(char(v >> 8));
}
void putU32(QByteArray &out, quint32 v) {
  putU16(out, quint16(v & 0xFFFF));
  putU16(out, quint16(v >> 16));
}

}  // namespace

qsizetype dibInfoSize(QByteArrayView info, quint32 colorUsage) {
  DibHeader h;
  if (!parseHeader(Bytes(info), h)) return 0;
  const int entry = colorUsage == 1 && h.bitCount <= 8 ? 2 : h.colorEntrySize;
  return qsizetype(h.headerSize + h.maskBytes + h.colorCount * entry);
}

QImage decodeDib(QByteArrayView info, QByteArrayView bits, quint32 colorUsage, const QList<QRgb> &palette) {
  const Bytes b(info);
  DibHeader h;
  if (!parseHeader(b, h)) return {};
  const bool palIndexes = colorUsage == 1 && h.bitCount <= 8;
  const qint64 tableIn = h.colorCount * (palIndexes ? 2 : h.colorEntrySize);
  if (!b.has(h.headerSize, h.maskBytes + tableIn)) return {};

  // Rebuild a plain BMP file in memory and let Qt's reader decode it.
  QByteArray header(info.data(), qsizetype(h.headerSize + h.maskBytes));
  QByteArray table;
  if (palIndexes) {
    for (qint64 i = 0; i < h.colorCount; ++i) {
      const quint16 index = b.u16(h.headerSize + h.maskBytes + 2 * i);
      const QRgb c = index < palette.size() ? palette[index] : qRgb(index & 0xFF, index & 0xFF, index & 0xFF);
      table.append(char(qBlue(c))).append(char(qGreen(c))).append(char(qRed(c))).append('\0');
    }
    if (h.colorEntrySize == 3) {  // a core header with palette indexes: promote to an info header
      QByteArray promoted;
      putU32(promoted, 40);
      putU32(promoted, quint32(h.width));
      putU32(promoted, quint32(h.height));
      putU16(promoted, 1);
      putU16(promoted, quint16(h.bitCount));
      promoted.append(QByteArray(24, '\0'));
      header = promoted;
    }
  } else {
    table = QByteArray(reinterpret_cast<const char *>(b.at(h.headerSize + h.maskBytes)), qsizetype(tableIn));
  }

  const qint64 rows = h.height < 0 ? -h.height : h.height;
  const qint64 stride = ((h.width * h.bitCount + 31) / 32) * 4;
  QByteArray pixels(bits.data(), bits.size());
  if (h.compression == 0 || h.compression == 3) {
    if (pixels.size() < stride * rows) pixels.append(QByteArray(qsizetype(stride * rows - pixels.size()), '\0'));
  } else if (pixels.isEmpty()) {
    return {};
  }

  QByteArray bmp;
  const qint64 offBits = 14 + header.size() + table.size();
  bmp.reserve(qsizetype(offBits + pixels.size()));
  bmp.append("BM");
  putU32(bmp, quint32(offBits + pixels.size()));
  putU32(bmp, 0);
  putU32(bmp, quint32(offBits));
  bmp.append(header).append(table).append(pixels);

  QBuffer buffer(&bmp);
  buffer.open(QIODevice::ReadOnly);
  QImageReader reader(&buffer, "BMP");
  QImage image = reader.read();
  if (image.isNull()) return {};
  return image.convertToFormat(QImage::Format_RGB32);
}

QImage decodePackedDib(QByteArrayView packed, quint32 colorUsage, const QList<QRgb> &palette) {
  const qsizetype infoSize = dibInfoSize(packed, colorUsage);
  if (infoSize <= 0 || infoSize > packed.size()) return {};
  return decodeDib(packed.first(infoSize), packed.sliced(infoSize), colorUsage, palette);
}

QRectF dibSourceRect(QByteArrayView info, const QImage &image, qreal x, qreal y, qreal w, qreal h) {
  const Bytes b(info);
  if (w == 0 || h == 0) return QRectF(image.rect());
  const bool bottomUp = b.u32(0) == 12 || b.i32(8) > 0;
  return QRectF(x, bottomUp ? image.height() - y - h : y, w, h);
}

}  // namespace vl::mf
