#include "common/rtf_metafile.h"

#include <QtEndian>

#include <algorithm>
#include <cstdint>
#include <cstdlib>

namespace vl {

namespace {

RtfMetafileRasterizer &globalRasterizer() {
  static RtfMetafileRasterizer rasterizer;
  return rasterizer;
}

constexpr uint32_t kPlaceableKey = 0x9AC6CDD7u;
constexpr int kPlaceableHeaderSize = 22;
constexpr uint32_t kEmfSignature = 0x464D4520u;

uint16_t u16(const QByteArray &b, qsizetype at) { return qFromLittleEndian<uint16_t>(b.constData() + at); }
int16_t i16(const QByteArray &b, qsizetype at) { return qFromLittleEndian<int16_t>(b.constData() + at); }
uint32_t u32(const QByteArray &b, qsizetype at) { return qFromLittleEndian<uint32_t>(b.constData() + at); }
int32_t i32(const QByteArray &b, qsizetype at) { return qFromLittleEndian<int32_t>(b.constData() + at); }

bool isWmfHeader(const QByteArray &b, qsizetype at) {
  if (b.size() < at + 18) return false;
  const uint16_t type = u16(b, at);
  const uint16_t headerWords = u16(b, at + 2);
  return (type == 1 || type == 2) && headerWords == 9;
}

}  // namespace

QUrl rtfMetafileUrl(const QString &imageName) { return QUrl(imageName + QStringLiteral(".metafile")); }

void setRtfMetafileRasterizer(RtfMetafileRasterizer rasterizer) { globalRasterizer() = std::move(rasterizer); }

const RtfMetafileRasterizer &rtfMetafileRasterizer() { return globalRasterizer(); }

std::optional<RtfMetafile> rtfMetafileFromFile(const QByteArray &bytes) {
  if (bytes.size() >= kPlaceableHeaderSize && u32(bytes, 0) == kPlaceableKey &&
      isWmfHeader(bytes, kPlaceableHeaderSize)) {
    RtfMetafile wmf;
    wmf.bytes = bytes.mid(kPlaceableHeaderSize);
    const int width = std::abs(i16(bytes, 10) - i16(bytes, 6));
    const int height = std::abs(i16(bytes, 12) - i16(bytes, 8));
    const int inch = u16(bytes, 14);
    if (inch > 0) wmf.extent = QSize(static_cast<int>(int64_t{width} * 2540 / inch),
                                     static_cast<int>(int64_t{height} * 2540 / inch));
    return wmf;
  }
  if (isWmfHeader(bytes, 0)) {
    RtfMetafile wmf;
    wmf.bytes = bytes;
    return wmf;
  }
  if (bytes.size() >= 44 && u32(bytes, 0) == 1 && u32(bytes, 40) == kEmfSignature) {
    RtfMetafile emf;
    emf.kind = RtfMetafileKind::Emf;
    emf.bytes = bytes;
    const int64_t width = int64_t{i32(bytes, 32)} - i32(bytes, 24);
    const int64_t height = int64_t{i32(bytes, 36)} - i32(bytes, 28);
    if (width > 0 && height > 0 && width < (1 << 30) && height < (1 << 30))
      emf.extent = QSize(static_cast<int>(width), static_cast<int>(height));
    return emf;
  }
  return std::nullopt;
}

std::optional<RtfMetafile> rtfMetafileFromResource(const QVariant &resource) {
  if (resource.canConvert<RtfMetafile>() && resource.metaType() == QMetaType::fromType<RtfMetafile>())
    return resource.value<RtfMetafile>();
  if (resource.metaType() == QMetaType::fromType<QByteArray>()) return rtfMetafileFromFile(resource.toByteArray());
  return std::nullopt;
}

QByteArray rtfPlaceableWmf(const RtfMetafile &metafile) {
  if (metafile.kind != RtfMetafileKind::Wmf || !isWmfHeader(metafile.bytes, 0)) return {};
  const QByteArray &b = metafile.bytes;
  int orgX = 0, orgY = 0, extX = 0, extY = 0;
  bool haveExtent = false;
  qsizetype at = qsizetype{u16(b, 2)} * 2;
  while (at + 6 <= b.size()) {
    const uint32_t words = u32(b, at);
    const uint16_t function = u16(b, at + 4);
    if (words < 3 || words > static_cast<uint32_t>((b.size() - at) / 2)) break;
    if (function == 0x0000) break;
    if ((function == 0x020B || function == 0x020C) && words >= 5) {
      // Parameters are stored in reverse order: y first, then x.
      const int y = i16(b, at + 6);
      const int x = i16(b, at + 8);
      if (function == 0x020B) {
        orgX = x;
        orgY = y;
      } else if (!haveExtent) {
        extX = x;
        extY = y;
        haveExtent = true;
      }
    }
    at += static_cast<qsizetype>(words) * 2;
  }
  if (!haveExtent || extX == 0 || extY == 0) return {};
  // Units per inch so that the window extent spans the picture's natural width (1440 when unknown).
  int inch = 1440;
  if (metafile.extent.width() > 0) {
    const int64_t perInch = int64_t{std::abs(extX)} * 2540 / metafile.extent.width();
    if (perInch > 0 && perInch <= 0xFFFF) inch = static_cast<int>(perInch);
  }
  QByteArray header(kPlaceableHeaderSize, '\0');
  char *h = header.data();
  qToLittleEndian<uint32_t>(kPlaceableKey, h);
  const int right = orgX + extX, bottom = orgY + extY;
  qToLittleEndian<int16_t>(static_cast<int16_t>(std::min(orgX, right)), h + 6);
  qToLittleEndian<int16_t>(static_cast<int16_t>(std::min(orgY, bottom)), h + 8);
  qToLittleEndian<int16_t>(static_cast<int16_t>(std::max(orgX, right)), h + 10);
  qToLittleEndian<int16_t>(static_cast<int16_t>(std::max(orgY, bottom)), h + 12);
  qToLittleEndian<uint16_t>(static_cast<uint16_t>(inch), h + 14);
  uint16_t checksum = 0;
  for (int i = 0; i < 10; ++i) checksum ^= qFromLittleEndian<uint16_t>(h + 2 * i);
  qToLittleEndian<uint16_t>(checksum, h + 20);
  return header + b;
}

}  // namespace vl
