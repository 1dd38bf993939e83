#include "common/metafile.h"

#include <cmath>

#include "common/emf_player.h"
#include "common/metafile_bytes.h"
#include "common/metafile_records.h"
#include "common/wmf_player.h"

namespace vl {

MetafileKind metafileKind(QByteArrayView bytes) {
  const mf::Bytes b(bytes);
  if (b.u32(0) == mf::emr::Header && b.u32(40) == mf::emr::Signature) return MetafileKind::Emf;
  mf::WmfHeader h;
  if (!mf::readWmfHeader(bytes, h)) return MetafileKind::None;
  return h.placeable ? MetafileKind::PlaceableWmf : MetafileKind::Wmf;
}

QSizeF metafileNaturalSize(QByteArrayView bytes) {
  switch (metafileKind(bytes)) {
    case MetafileKind::Emf: return mf::emfNaturalSize(bytes);
    case MetafileKind::Wmf: case MetafileKind::PlaceableWmf: return mf::wmfNaturalSize(bytes);
    default: return {};
  }
}

bool renderMetafile(QPainter &painter, const QRectF &target, QByteArrayView bytes) {
  if (!painter.isActive()) return false;
  switch (metafileKind(bytes)) {
    case MetafileKind::Emf: return mf::playEmf(painter, target, bytes);
    case MetafileKind::Wmf: case MetafileKind::PlaceableWmf: return mf::playWmf(painter, target, bytes);
    default: return false;
  }
}

QImage renderMetafileImage(QByteArrayView bytes, QSize size, const QColor &background) {
  if (metafileKind(bytes) == MetafileKind::None) return {};
  if (size.isEmpty()) {
    const QSizeF natural = metafileNaturalSize(bytes);
    size = QSize(int(std::lround(std::min(natural.width(), 8192.0))),
                 int(std::lround(std::min(natural.height(), 8192.0))));
  }
  if (size.isEmpty() || qint64(size.width()) * size.height() > 64 * 1024 * 1024) return {};
  QImage image(size, QImage::Format_ARGB32_Premultiplied);
  if (image.isNull()) return {};
  image.fill(background);
  QPainter painter(&image);
  renderMetafile(painter, QRectF(QPointF(0, 0), QSizeF(size)), bytes);
  painter.end();
  return image;
}

}  // namespace vl
