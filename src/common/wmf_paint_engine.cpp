#include "common/wmf_paint_engine.h"

#include <QPainterPathStroker>
#include <QPixmap>
#include <QTextItem>
#include <cmath>

#include "common/metafile_records.h"

namespace vl {
namespace {

using mf::WmfWriter;
namespace gdi = mf::gdi;

QColor gradientColor(const QGradient &g) {
  const QGradientStops stops = g.stops();
  if (stops.isEmpty()) return {};
  for (qsizetype i = 1; i < stops.size(); ++i) {
    if (stops[i].first >= 0.5) {
      const auto &a = stops[i - 1], &b = stops[i];
      const qreal span = b.first - a.first;
      const qreal t = span > 0 ? (0.5 - a.first) / span : 0;
      auto mix = [t](qreal x, qreal y) { return x + (y - x) * t; };
      return QColor::fromRgbF(float(mix(a.second.redF(), b.second.redF())), float(mix(a.second.greenF(), b.second.greenF())),
                              float(mix(a.second.blueF(), b.second.blueF())), float(mix(a.second.alphaF(), b.second.alphaF())));
    }
  }
  return stops.last().second;
}

bool isSimilarity(const QTransform &t) {
  return t.type() <= QTransform::TxScale ? std::abs(std::abs(t.m11()) - std::abs(t.m22())) < 1e-6
                                         : (t.type() == QTransform::TxRotate &&
                                            std::abs(t.m11() - t.m22()) < 1e-6 && std::abs(t.m12() + t.m21()) < 1e-6);
}

}  // namespace

WmfPaintEngine::WmfPaintEngine(QSize size, int unitsPerPixel)
    : QPaintEngine(QPaintEngine::AllFeatures), size_(size), unitsPerPixel_(unitsPerPixel) {}

bool WmfPaintEngine::begin(QPaintDevice *) {
  writer_ = WmfWriter();
  data_.clear();
  hasClip_ = clipEnabled_ = false;
  opacity_ = 1;
  transform_ = QTransform();
  writer_.setMapMode(gdi::MmAnisotropic);
  writer_.setWindow(QRect(0, 0, size_.width() * unitsPerPixel_, size_.height() * unitsPerPixel_));
  writer_.setBkMode(gdi::Transparent);
  return true;
}

bool WmfPaintEngine::end() {
  data_ = writer_.finish(QRect(0, 0, size_.width() * unitsPerPixel_, size_.height() * unitsPerPixel_),
                         quint16(96 * unitsPerPixel_));
  return true;
}

void WmfPaintEngine::updateState(const QPaintEngineState &state) {
  const DirtyFlags flags = state.state();
  if (flags & DirtyTransform) transform_ = state.transform();
  if (flags & DirtyPen) pen_ = state.pen();
  if (flags & DirtyBrush) brush_ = state.brush();
  if (flags & DirtyOpacity) opacity_ = state.opacity();
  if (flags & DirtyClipEnabled) clipEnabled_ = state.isClipEnabled();
  auto applyClip = [this](Qt::ClipOperation op, const QPainterPath &path) {
    if (op == Qt::NoClip) {
      hasClip_ = false;
      return;
    }
    clip_ = op == Qt::IntersectClip && hasClip_ ? clip_.intersected(path) : path;
    hasClip_ = true;
    clipEnabled_ = true;
  };
  if (flags & DirtyClipPath) applyClip(state.clipOperation(), transform_.map(state.clipPath()));
  if (flags & DirtyClipRegion) {
    QPainterPath p;
    p.addRegion(state.clipRegion());
    applyClip(state.clipOperation(), transform_.map(p));
  }
}

QColor WmfPaintEngine::visibleColor(const QBrush &brush) const {
  QColor c;
  switch (brush.style()) {
    case Qt::NoBrush: return {};
    case Qt::LinearGradientPattern: case Qt::RadialGradientPattern: case Qt::ConicalGradientPattern:
      c = brush.gradient() ? gradientColor(*brush.gradient()) : QColor();
      break;
    case Qt::TexturePattern: {
      const QImage tex = brush.textureImage().isNull() ? brush.texture().toImage() : brush.textureImage();
      if (tex.isNull()) return {};
      c = QColor::fromRgba(tex.scaled(1, 1, Qt::IgnoreAspectRatio, Qt::SmoothTransformation).pixel(0, 0));
      break;
    }
    default: c = brush.color(); break;
  }
  if (!c.isValid() || c.alphaF() * opacity_ < 0.02) return {};
  c.setAlpha(255);
  return c;
}

QList<QPolygon> WmfPaintEngine::toUnits(const QPainterPath &devicePath) const {
  QList<QPolygon> result;
  const QTransform scale = QTransform::fromScale(unitsPerPixel_, unitsPerPixel_);
  for (const QPolygonF &poly : devicePath.toSubpathPolygons(scale)) {
    QPolygon p;
    p.reserve(poly.size());
    for (const QPointF &q : poly) {
      const QPoint r(int(std::lround(std::clamp(q.x(), -32768.0, 32767.0))),
                     int(std::lround(std::clamp(q.y(), -32768.0, 32767.0))));
      if (p.isEmpty() || p.last() != r) p.append(r);
    }
    if (p.size() >= 2) result.append(p);
  }
  return result;
}

void WmfPaintEngine::fill(const QPainterPath &devicePath, const QColor &color) {
  QPainterPath path = devicePath;
  if (clipEnabled_ && hasClip_) path = path.intersected(clip_);
  const QList<QPolygon> polys = toUnits(path);
  if (polys.isEmpty()) return;
  writer_.usePen({gdi::PsNull, 0, 0});
  writer_.useBrush({gdi::BsSolid, color.rgb()});
  writer_.setPolyFillMode(path.fillRule() == Qt::WindingFill ? gdi::Winding : gdi::Alternate);
  writer_.polyPolygon(polys);
}

void WmfPaintEngine::stroke(const QPainterPath &logicalPath) {
  if (pen_.style() == Qt::NoPen) return;
  const QColor color = visibleColor(pen_.brush());
  if (!color.isValid()) return;
  const bool cosmetic = pen_.isCosmetic() || pen_.widthF() == 0;
  const qreal scale = std::sqrt(std::abs(transform_.determinant()));
  const qreal deviceWidth = cosmetic ? std::max<qreal>(pen_.widthF(), 1) : pen_.widthF() * scale;
  const bool gdiJoin = pen_.joinStyle() != Qt::MiterJoin ? pen_.joinStyle() != Qt::SvgMiterJoin
                                                         : std::abs(pen_.miterLimit() - 10) < 0.01;
  const bool simple = pen_.style() == Qt::SolidLine && gdiJoin && !(clipEnabled_ && hasClip_) &&
                      (cosmetic || isSimilarity(transform_));
  if (!simple) {
    // Outline the stroke exactly and fill it.
    QPainterPathStroker stroker(pen_);
    QPainterPath outline;
    if (cosmetic) {
      stroker.setWidth(deviceWidth);
      outline = stroker.createStroke(transform_.map(logicalPath));
    } else {
      outline = transform_.map(stroker.createStroke(logicalPath));
    }
    outline.setFillRule(Qt::WindingFill);
    fill(outline, color);
    return;
  }
  quint16 style = gdi::PsSolid;
  if (pen_.capStyle() == Qt::FlatCap) style |= gdi::PsEndCapFlat;
  else if (pen_.capStyle() == Qt::SquareCap) style |= gdi::PsEndCapSquare;
  if (pen_.joinStyle() == Qt::BevelJoin) style |= gdi::PsJoinBevel;
  else if (pen_.joinStyle() == Qt::MiterJoin || pen_.joinStyle() == Qt::SvgMiterJoin) style |= gdi::PsJoinMiter;
  const int width = std::max(1, int(std::lround(deviceWidth * unitsPerPixel_)));
  writer_.usePen({style, qint16(std::min(width, 32767)), color.rgb()});
  writer_.useBrush({gdi::BsNull, 0});
  for (const QPolygon &p : toUnits(transform_.map(logicalPath))) {
    if (p.size() > 2 && p.first() == p.last()) writer_.polygon(QPolygon(p.mid(0, p.size() - 1)));
    else writer_.polyline(p);
  }
}

void WmfPaintEngine::drawPath(const QPainterPath &path) {
  if (const QColor c = visibleColor(brush_); c.isValid()) fill(transform_.map(path), c);
  stroke(path);
}

void WmfPaintEngine::drawPolygon(const QPointF *points, int count, PolygonDrawMode mode) {
  if (count < 2) return;
  QPainterPath path;
  path.addPolygon(QPolygonF(QList<QPointF>(points, points + count)));
  if (mode == PolylineMode) {
    stroke(path);
    return;
  }
  path.closeSubpath();
  path.setFillRule(mode == OddEvenMode ? Qt::OddEvenFill : Qt::WindingFill);
  drawPath(path);
}

void WmfPaintEngine::drawLines(const QLineF *lines, int count) {
  QPainterPath path;
  for (int i = 0; i < count; ++i) {
    path.moveTo(lines[i].p1());
    path.lineTo(lines[i].p2());
  }
  stroke(path);
}

void WmfPaintEngine::drawRects(const QRectF *rects, int count) {
  for (int i = 0; i < count; ++i) {
    QPainterPath path;
    path.addRect(rects[i]);
    drawPath(path);
  }
}

void WmfPaintEngine::drawEllipse(const QRectF &r) {
  QPainterPath path;
  path.addEllipse(r);
  drawPath(path);
}

void WmfPaintEngine::drawPoints(const QPointF *points, int count) {
  const QColor color = visibleColor(pen_.brush());
  if (!color.isValid()) return;
  const qreal w = std::max<qreal>(pen_.widthF(), 1);
  QPainterPath path;
  for (int i = 0; i < count; ++i) {
    if (pen_.capStyle() == Qt::RoundCap) path.addEllipse(points[i], w / 2, w / 2);
    else path.addRect(QRectF(points[i].x() - w / 2, points[i].y() - w / 2, w, w));
  }
  path.setFillRule(Qt::WindingFill);
  fill(transform_.map(path), color);
}

void WmfPaintEngine::drawTextItem(const QPointF &p, const QTextItem &textItem) {
  const QColor color = visibleColor(pen_.brush());
  if (!color.isValid()) return;
  QPainterPath path;
  path.setFillRule(Qt::WindingFill);
  path.addText(p, textItem.font(), textItem.text());
  fill(transform_.map(path), color);
}

void WmfPaintEngine::drawPixmap(const QRectF &r, const QPixmap &pm, const QRectF &sr) {
  drawImage(r, pm.toImage(), sr, Qt::AutoColor);
}

void WmfPaintEngine::drawImage(const QRectF &r, const QImage &image, const QRectF &sr, Qt::ImageConversionFlags) {
  QImage img = image.copy(sr.toAlignedRect());
  if (img.isNull()) return;
  const QRectF device = transform_.mapRect(r);
  const QRect dest(QPoint(int(std::lround(device.left() * unitsPerPixel_)), int(std::lround(device.top() * unitsPerPixel_))),
                   QPoint(int(std::lround(device.right() * unitsPerPixel_)) - 1,
                          int(std::lround(device.bottom() * unitsPerPixel_)) - 1));
  if (dest.isEmpty()) return;
  const bool clipped = clipEnabled_ && hasClip_;
  if (clipped) {
    const QRectF c = clip_.boundingRect();
    writer_.saveDc();
    writer_.intersectClipRect(QRect(QPoint(int(std::floor(c.left() * unitsPerPixel_)), int(std::floor(c.top() * unitsPerPixel_))),
                                    QPoint(int(std::ceil(c.right() * unitsPerPixel_)) - 1,
                                           int(std::ceil(c.bottom() * unitsPerPixel_)) - 1)));
  }
  // Enlarged images are stored at their painted size, smoothed as Qt would paint them.
  const QSize painted = device.size().toSize().boundedTo(QSize(2048, 2048));
  if (painted.width() > img.width() || painted.height() > img.height())
    img = img.scaled(painted.expandedTo(img.size()), Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
  img = img.convertToFormat(QImage::Format_ARGB32);
  bool transparent = false;
  for (int y = 0; y < img.height() && !transparent; ++y) {
    const QRgb *line = reinterpret_cast<const QRgb *>(img.constScanLine(y));
    for (int x = 0; x < img.width(); ++x)
      if (qAlpha(line[x]) < 128) {
        transparent = true;
        break;
      }
  }
  if (!transparent) {
    writer_.stretchDib(dest, img, gdi::SrcCopy);
  } else {
    // Mask: white where transparent (AND keeps the background), then the colours over black (OR).
    QImage mask(img.size(), QImage::Format_RGB32);
    QImage colors(img.size(), QImage::Format_RGB32);
    for (int y = 0; y < img.height(); ++y) {
      const QRgb *in = reinterpret_cast<const QRgb *>(img.constScanLine(y));
      QRgb *m = reinterpret_cast<QRgb *>(mask.scanLine(y));
      QRgb *c = reinterpret_cast<QRgb *>(colors.scanLine(y));
      for (int x = 0; x < img.width(); ++x) {
        const bool clear = qAlpha(in[x]) < 128;
        m[x] = clear ? qRgb(255, 255, 255) : qRgb(0, 0, 0);
        c[x] = clear ? qRgb(0, 0, 0) : (in[x] | 0xFF000000u);
      }
    }
    writer_.stretchDib(dest, mask, gdi::SrcAnd);
    writer_.stretchDib(dest, colors, gdi::SrcPaint);
  }
  if (clipped) writer_.restoreDc();
}

}  // namespace vl
