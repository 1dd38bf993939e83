#include "common/rtf_picture.h"

#include "common/rtf_units.h"

#include <QBuffer>
#include <QImageReader>
#include <QtEndian>

#include <algorithm>
#include <array>
#include <cmath>

namespace vl::rtf {

namespace {

constexpr std::array<signed char, 256> makeHexTable() {
  std::array<signed char, 256> table{};
  for (auto &v : table) v = -1;
  for (int c = '0'; c <= '9'; ++c) table[c] = static_cast<signed char>(c - '0');
  for (int c = 'a'; c <= 'f'; ++c) table[c] = static_cast<signed char>(c - 'a' + 10);
  for (int c = 'A'; c <= 'F'; ++c) table[c] = static_cast<signed char>(c - 'A' + 10);
  return table;
}
constexpr std::array<signed char, 256> kHex = makeHexTable();

int clampSide(double value) {
  if (!(value >= 1.0)) return 1;  // also NaN
  return value > kMaxPictureSide ? kMaxPictureSide : static_cast<int>(std::lround(value));
}

double scale(int percent) { return percent > 0 ? std::min(percent, 10000) / 100.0 : 1.0; }

// A BMP file around the packed DIB of \dibitmap.
QByteArray bmpFileOfDib(const QByteArray &dib) {
  if (dib.size() < 16) return {};
  const uint32_t headerSize = qFromLittleEndian<uint32_t>(dib.constData());
  if (headerSize < 12 || headerSize > static_cast<uint32_t>(dib.size())) return {};
  uint32_t paletteBytes = 0;
  if (headerSize >= 40 && dib.size() >= 36) {
    const uint16_t bitCount = qFromLittleEndian<uint16_t>(dib.constData() + 14);
    const uint32_t compression = qFromLittleEndian<uint32_t>(dib.constData() + 16);
    uint32_t colours = qFromLittleEndian<uint32_t>(dib.constData() + 32);
    if (colours == 0 && bitCount <= 8) colours = 1u << bitCount;
    if (colours > 256) colours = 256;
    paletteBytes = colours * 4;
    if (headerSize == 40 && (compression == 3 || compression == 6)) paletteBytes += compression == 3 ? 12 : 16;
  } else if (headerSize == 12 && dib.size() >= 12) {
    const uint16_t bitCount = qFromLittleEndian<uint16_t>(dib.constData() + 10);
    if (bitCount <= 8) paletteBytes = (1u << bitCount) * 3;
  }
  QByteArray file(14, '\0');
  file[0] = 'B';
  file[1] = 'M';
  qToLittleEndian<uint32_t>(static_cast<uint32_t>(14 + dib.size()), file.data() + 2);
  qToLittleEndian<uint32_t>(14 + headerSize + paletteBytes, file.data() + 10);
  return file + dib;
}

QSize naturalSize(const PictureData &picture, QSize raster) {
  const double sx = scale(picture.scaleX), sy = scale(picture.scaleY);
  if (picture.goalWidth > 0 && picture.goalHeight > 0)
    return {clampSide(twipsToPixels(picture.goalWidth) * sx), clampSide(twipsToPixels(picture.goalHeight) * sy)};
  if (!raster.isEmpty()) return {clampSide(raster.width() * sx), clampSide(raster.height() * sy)};
  const bool metafile = picture.format == PictureFormat::Wmf || picture.format == PictureFormat::Emf;
  if (picture.width > 0 && picture.height > 0) {
    const double unit = metafile ? kHimetricPerPixel : 1.0;
    return {clampSide(picture.width / unit * sx), clampSide(picture.height / unit * sy)};
  }
  return {clampSide(96 * sx), clampSide(96 * sy)};
}

// The size an encoded image declares in its header, without decoding it.
QSize declaredSize(const QByteArray &bytes, const char *format) {
  QBuffer buffer;
  buffer.setData(bytes);
  buffer.open(QIODevice::ReadOnly);
  QImageReader reader(&buffer, format);
  const QSize size = reader.size();
  return size.isValid() && !size.isEmpty() ? size : QSize();
}

qint64 pixels(QSize size) { return qint64{size.width()} * size.height(); }

QSize imageSizeFor(QSize display) {
  const int side = std::max(display.width(), display.height());
  if (side <= kMaxImageSide) return display;
  const double f = double(kMaxImageSide) / side;
  return {std::max(1, int(display.width() * f)), std::max(1, int(display.height() * f))};
}

}  // namespace

void PictureData::appendHex(std::string_view text) {
  if (bytes.capacity() < bytes.size() + qsizetype(text.size() / 2))
    bytes.reserve(std::max<qsizetype>(bytes.size() * 2, bytes.size() + qsizetype(text.size() / 2)));
  for (char c : text) {
    const int v = kHex[static_cast<unsigned char>(c)];
    if (v < 0) continue;
    if (pendingNibble_ < 0) {
      pendingNibble_ = v;
    } else {
      bytes.append(static_cast<char>(pendingNibble_ * 16 + v));
      pendingNibble_ = -1;
    }
  }
}

void PictureData::appendBinary(std::string_view data) { bytes.append(data.data(), qsizetype(data.size())); }

QImage blankImage(QSize size) {
  QImage image(imageSizeFor(size.expandedTo(QSize(1, 1))), QImage::Format_Mono);
  image.setColorTable({qRgba(0, 0, 0, 0), qRgba(0, 0, 0, 0)});
  image.fill(0);
  return image;
}

DecodedPicture decodePicture(const PictureData &picture, const RtfMetafileRasterizer &rasterizer,
                             qint64 &pixelBudget) {
  DecodedPicture out;
  QSize rasterSize;
  switch (picture.format) {
    case PictureFormat::Png:
    case PictureFormat::Jpeg: {
      const char *format = picture.format == PictureFormat::Png ? "PNG" : "JPEG";
      // Kept encoded whatever its size: the document decodes it when it is drawn.
      rasterSize = declaredSize(picture.bytes, format);
      if (!rasterSize.isEmpty()) out.image = picture.bytes;
      break;
    }
    case PictureFormat::Dib: {
      const QByteArray bmp = bmpFileOfDib(picture.bytes);
      const QSize size = bmp.isEmpty() ? QSize() : declaredSize(bmp, "BMP");
      QImage image;
      if (!size.isEmpty() && pixels(size) <= pixelBudget && image.loadFromData(bmp, "BMP")) {
        pixelBudget -= pixels(size);
        rasterSize = image.size();
        out.image = image;
      }
      break;
    }
    case PictureFormat::Wmf:
    case PictureFormat::Emf: {
      RtfMetafile metafile;
      metafile.kind = picture.format == PictureFormat::Wmf ? RtfMetafileKind::Wmf : RtfMetafileKind::Emf;
      metafile.bytes = picture.bytes;
      metafile.mappingMode = picture.mappingMode;
      if (picture.width > 0 && picture.height > 0) metafile.extent = QSize(picture.width, picture.height);
      out.metafile = metafile;
      break;
    }
    case PictureFormat::Unknown:
      break;
  }
  out.displaySize = naturalSize(picture, rasterSize);
  const QSize imageSize = imageSizeFor(out.displaySize);
  const bool affordable = pixels(imageSize) <= pixelBudget;
  if (!out.image.isValid() && out.metafile && rasterizer && affordable) {
    QImage drawn;
    try {
      drawn = rasterizer(*out.metafile, imageSize);
    } catch (...) {
      drawn = QImage();  // a failing renderer leaves the picture blank
    }
    if (!drawn.isNull()) {
      pixelBudget -= pixels(imageSize);
      out.image = drawn;
    }
  }
  if (!out.image.isValid()) {
    // Beyond the budget the stand-in is a single pixel; the document still shows it at its size.
    out.image = blankImage(affordable ? out.displaySize : QSize(1, 1));
    if (affordable) pixelBudget -= pixels(imageSize) / 8;
    out.placeholder = true;
  }
  return out;
}

}  // namespace vl::rtf
