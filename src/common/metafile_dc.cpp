#include "common/metafile_dc.h"

#include <cmath>

#include "common/metafile_records.h"

namespace vl::mf {
namespace {

constexpr size_t MaxObjects = 65535;
constexpr size_t MaxSavedStates = 4096;

qreal mmPerUnit(int mode) {
  switch (mode) {
    case gdi::MmLoMetric: return 0.1;
    case gdi::MmHiMetric: return 0.01;
    case gdi::MmLoEnglish: return 0.254;
    case gdi::MmHiEnglish: return 0.0254;
    case gdi::MmTwips: return 25.4 / 1440.0;
    default: return 0;
  }
}

bool finiteTransform(const QTransform &t) {
  for (qreal v : {t.m11(), t.m12(), t.m21(), t.m22(), t.dx(), t.dy()})
    if (!std::isfinite(v) || std::abs(v) > 1e12) return false;
  return true;
}

}  // namespace

MetafileDc::MetafileDc(QPainter &painter, const QTransform &deviceToPainter, qreal deviceUnitsPerMm)
    : painter_(painter), base_(deviceToPainter * painter.transform()), unitsPerMm_(deviceUnitsPerMm) {
  painter_.save();  // the caller's state; restored for every clip change and at the end
  painter_.save();
}

MetafileDc::~MetafileDc() {
  painter_.restore();
  painter_.restore();
}

QColor MetafileDc::colorRef(quint32 value) const {
  const quint32 flags = value >> 24;
  if (flags == 0x01) {
    const quint32 index = value & 0xFFFF;
    return index < quint32(state_.palette.size()) ? QColor(state_.palette[index]) : QColor(Qt::black);
  }
  return QColor(int(value & 0xFF), int((value >> 8) & 0xFF), int((value >> 16) & 0xFF));
}

int MetafileDc::addObject(GdiObject object) {
  for (size_t i = 0; i < objects_.size(); ++i) {
    if (std::holds_alternative<std::monostate>(objects_[i])) {
      objects_[i] = std::move(object);
      return int(i);
    }
  }
  if (objects_.size() >= MaxObjects) return -1;
  objects_.push_back(std::move(object));
  return int(objects_.size() - 1);
}

void MetafileDc::setObject(quint32 index, GdiObject object) {
  if (index >= MaxObjects) return;
  if (index >= objects_.size()) objects_.resize(index + 1);
  objects_[index] = std::move(object);
}

void MetafileDc::selectObject(quint32 index) {
  if (index >= objects_.size()) return;
  const GdiObject &o = objects_[index];
  if (auto *pen = std::get_if<PenObject>(&o)) state_.pen = *pen;
  else if (auto *brush = std::get_if<BrushObject>(&o)) state_.brush = *brush;
  else if (auto *font = std::get_if<FontObject>(&o)) state_.font = *font;
  else if (auto *pal = std::get_if<PaletteObject>(&o)) state_.palette = pal->colors;
}

void MetafileDc::selectStockObject(quint32 id) {
  switch (id) {
    case 0: case 18: state_.brush = BrushObject{gdi::BsSolid, Qt::white, 0, {}}; break;
    case 1: state_.brush = BrushObject{gdi::BsSolid, QColor(0xC0, 0xC0, 0xC0), 0, {}}; break;
    case 2: state_.brush = BrushObject{gdi::BsSolid, QColor(0x80, 0x80, 0x80), 0, {}}; break;
    case 3: state_.brush = BrushObject{gdi::BsSolid, QColor(0x40, 0x40, 0x40), 0, {}}; break;
    case 4: state_.brush = BrushObject{gdi::BsSolid, Qt::black, 0, {}}; break;
    case 5: state_.brush = BrushObject{gdi::BsNull, Qt::black, 0, {}}; break;
    case 6: state_.pen = PenObject{gdi::PsSolid, 0, Qt::white, {}}; break;
    case 7: case 19: state_.pen = PenObject{gdi::PsSolid, 0, Qt::black, {}}; break;
    case 8: state_.pen = PenObject{gdi::PsNull, 0, Qt::black, {}}; break;
    case 10: case 11: case 12: case 13: case 14: case 16: case 17: state_.font = FontObject{}; break;
    case 15: state_.palette.clear(); break;
    default: break;
  }
}

void MetafileDc::deleteObject(quint32 index) {
  if (index < objects_.size()) objects_[index] = std::monostate{};
}

void MetafileDc::setMapMode(int mode) {
  if (mode < gdi::MmText || mode > gdi::MmAnisotropic) return;
  if (mode != gdi::MmIsotropic && mode != gdi::MmAnisotropic) {
    state_.windowExt = {1, 1};
    state_.viewportExt = {1, 1};
  }
  state_.mapMode = mode;
}

void MetafileDc::setWindowExt(QPointF e) {
  if (e.x() != 0 && e.y() != 0) state_.windowExt = e;
}

void MetafileDc::setViewportExt(QPointF e) {
  if (e.x() != 0 && e.y() != 0) state_.viewportExt = e;
}

void MetafileDc::scaleWindowExt(qreal xNum, qreal xDen, qreal yNum, qreal yDen) {
  if (xDen == 0 || yDen == 0) return;
  setWindowExt(QPointF(state_.windowExt.x() * xNum / xDen, state_.windowExt.y() * yNum / yDen));
}

void MetafileDc::scaleViewportExt(qreal xNum, qreal xDen, qreal yNum, qreal yDen) {
  if (xDen == 0 || yDen == 0) return;
  setViewportExt(QPointF(state_.viewportExt.x() * xNum / xDen, state_.viewportExt.y() * yNum / yDen));
}

QTransform MetafileDc::logicalToPainter() const { return fullTransform(); }

QTransform MetafileDc::fullTransform() const {
  qreal sx = 1, sy = 1;
  const DcState &s = state_;
  if (s.mapMode == gdi::MmIsotropic || s.mapMode == gdi::MmAnisotropic) {
    sx = s.viewportExt.x() / s.windowExt.x();
    sy = s.viewportExt.y() / s.windowExt.y();
    if (s.mapMode == gdi::MmIsotropic) {
      const qreal m = std::min(std::abs(sx), std::abs(sy));
      sx = std::copysign(m, sx);
      sy = std::copysign(m, sy);
    }
  } else if (const qreal mm = mmPerUnit(s.mapMode); mm > 0) {
    sx = unitsPerMm_ * mm;
    sy = -sx;
  }
  const QTransform page = QTransform::fromTranslate(-s.windowOrg.x(), -s.windowOrg.y()) *
                          QTransform::fromScale(sx, sy) *
                          QTransform::fromTranslate(s.viewportOrg.x(), s.viewportOrg.y());
  const QTransform full = s.world * page * base_;
  return finiteTransform(full) ? full : QTransform::fromScale(0, 0);
}

void MetafileDc::save() {
  if (saved_.size() < MaxSavedStates) saved_.push_back(state_);
}

void MetafileDc::restore(int which) {
  // Negative: relative to the current level; positive: an absolute level (1 = first save).
  qint64 target = which < 0 ? qint64(saved_.size()) + which : qint64(which) - 1;
  if (target < 0 || target >= qint64(saved_.size())) return;
  state_ = saved_[size_t(target)];
  saved_.resize(size_t(target));
  applyClip();
}

void MetafileDc::applyClip() {
  painter_.restore();
  painter_.save();
  if (state_.hasClip) {
    painter_.setTransform(QTransform());
    painter_.setClipPath(state_.clip, Qt::IntersectClip);
  }
}

void MetafileDc::intersectClipRect(const QRectF &r) {
  QPainterPath p;
  p.addRect(r.normalized());
  combineClip(fullTransform().map(p), gdi::RgnAnd);
}

void MetafileDc::excludeClipRect(const QRectF &r) {
  QPainterPath p;
  p.addRect(r.normalized());
  combineClip(fullTransform().map(p), gdi::RgnDiff);
}

void MetafileDc::combineClip(const QPainterPath &path, int mode) {
  QPainterPath current = state_.clip;
  if (!state_.hasClip) {
    current = QPainterPath();
    current.addRect(QRectF(-1e7, -1e7, 2e7, 2e7));
  }
  switch (mode) {
    case gdi::RgnAnd: current = current.intersected(path); break;
    case gdi::RgnOr: current = current.united(path); break;
    case gdi::RgnXor: current = current.united(path).subtracted(current.intersected(path)); break;
    case gdi::RgnDiff: current = current.subtracted(path); break;
    case gdi::RgnCopy: current = path; break;
    default: return;
  }
  state_.clip = current;
  state_.hasClip = true;
  applyClip();
}

void MetafileDc::resetClip() {
  state_.hasClip = false;
  state_.clip = QPainterPath();
  applyClip();
}

}  // namespace vl::mf
