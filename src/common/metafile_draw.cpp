// Drawing operations of the playback device context.
#include <QFontMetricsF>
#include <QGuiApplication>
#include <QLineF>
#include <QPaintEngine>
#include <cmath>

#include "common/metafile_dc.h"
#include "common/metafile_records.h"

namespace vl::mf {
namespace {

constexpr qreal MaxDevicePenWidth = 2048;

qreal scaleAlong(const QTransform &t, qreal dx, qreal dy) {
  const QLineF l = t.map(QLineF(0, 0, dx, dy));
  return l.length();
}

qreal angleOf(const QRectF &box, QPointF p) {
  const QPointF c = box.center();
  const qreal rx = box.width() / 2, ry = box.height() / 2;
  return std::atan2(-(p.y() - c.y()) / ry, (p.x() - c.x()) / rx) * 180.0 / M_PI;
}

bool usable(const QPolygonF &p) {
  for (const QPointF &q : p)
    if (!std::isfinite(q.x()) || !std::isfinite(q.y())) return false;
  return true;
}

}  // namespace

QPen MetafileDc::makePen(const QTransform &t) const {
  const PenObject &p = state_.pen;
  const int style = int(p.style & gdi::PsStyleMask);
  if (style == gdi::PsNull || state_.rop2 == gdi::R2Nop) return QPen(Qt::NoPen);
  QColor color = p.color;
  if (state_.rop2 == gdi::R2Black) color = Qt::black;
  if (state_.rop2 == gdi::R2White) color = Qt::white;
  const qreal scale = std::sqrt(std::abs(t.determinant()));
  const qreal deviceWidth = p.width * scale;
  QPen pen(color);
  if (deviceWidth < 1.0 || !std::isfinite(deviceWidth)) {
    pen.setCosmetic(true);
    pen.setWidthF(1.0);
  } else {
    // QPen's own limit, and no wider than any real picture needs: Qt's stroker slows down
    // in proportion to the width.
    pen.setWidthF(std::min<qreal>({p.width, 32000, MaxDevicePenWidth / scale}));
  }
  switch (p.style & gdi::PsEndCapMask) {
    case gdi::PsEndCapSquare: pen.setCapStyle(Qt::SquareCap); break;
    case gdi::PsEndCapFlat: pen.setCapStyle(Qt::FlatCap); break;
    default: pen.setCapStyle(Qt::RoundCap); break;
  }
  switch (p.style & gdi::PsJoinMask) {
    case gdi::PsJoinBevel: pen.setJoinStyle(Qt::BevelJoin); break;
    case gdi::PsJoinMiter: pen.setJoinStyle(Qt::MiterJoin); pen.setMiterLimit(state_.miterLimit); break;
    default: pen.setJoinStyle(Qt::RoundJoin); break;
  }
  const bool wide = !pen.isCosmetic() && deviceWidth > 1.5;
  switch (style) {
    case gdi::PsDash: if (wide) pen.setStyle(Qt::DashLine); else pen.setDashPattern({18, 6}); break;
    case gdi::PsDot: case gdi::PsAlternate:
      if (wide) pen.setStyle(Qt::DotLine); else pen.setDashPattern({3, 3});
      break;
    case gdi::PsDashDot: if (wide) pen.setStyle(Qt::DashDotLine); else pen.setDashPattern({9, 6, 3, 6}); break;
    case gdi::PsDashDotDot:
      if (wide) pen.setStyle(Qt::DashDotDotLine); else pen.setDashPattern({9, 3, 3, 3, 3, 3});
      break;
    case gdi::PsUserStyle: {
      QList<qreal> pattern;
      const qreal w = pen.isCosmetic() ? 1.0 / std::max(scale, 1e-9) : p.width;
      for (qreal d : p.dashes) pattern.append(std::max(d / w, 0.1));
      if (pattern.size() % 2) pattern.append(pattern.last());
      if (!pattern.isEmpty() && pattern.size() <= 64) pen.setDashPattern(pattern);
      break;
    }
    default: break;
  }
  if (pen.isCosmetic() && pen.style() == Qt::CustomDashLine) pen.setCapStyle(Qt::FlatCap);
  return pen;
}

QBrush MetafileDc::makeBrush(const QBrush &base, const QTransform &t) const {
  QBrush brush = base;
  if (brush.style() != Qt::SolidPattern && brush.style() != Qt::NoBrush) {
    // Hatches and patterns stay aligned to device pixels, as on a screen.
    bool invertible = false;
    const QTransform inv = t.inverted(&invertible);
    if (invertible) brush.setTransform(inv);
  }
  return brush;
}

void MetafileDc::paint(QPainterPath path, bool fill, bool stroke) {
  if (state_.rop2 == gdi::R2Nop) return;
  const QTransform t = fullTransform();
  if (t.determinant() == 0) return;
  painter_.setTransform(t);
  painter_.setRenderHint(QPainter::Antialiasing, true);
  const bool xorMode = state_.rop2 == gdi::R2XorPen || state_.rop2 == gdi::R2Not;
  if (xorMode && painter_.paintEngine() && painter_.paintEngine()->hasFeature(QPaintEngine::RasterOpModes))
    painter_.setCompositionMode(QPainter::RasterOp_SourceXorDestination);
  else
    painter_.setCompositionMode(QPainter::CompositionMode_SourceOver);
  if (fill) {
    const BrushObject &b = state_.brush;
    QBrush brush;
    switch (b.style) {
      case gdi::BsSolid: brush = QBrush(b.color); break;
      case gdi::BsHatched: {
        static const Qt::BrushStyle hatches[] = {Qt::HorPattern, Qt::VerPattern, Qt::FDiagPattern,
                                                 Qt::BDiagPattern, Qt::CrossPattern, Qt::DiagCrossPattern};
        if (state_.bkMode == gdi::Opaque) painter_.fillPath(path, state_.bkColor);
        brush = QBrush(b.color, b.hatch >= 0 && b.hatch < 6 ? hatches[b.hatch] : Qt::HorPattern);
        break;
      }
      case gdi::BsPattern: case gdi::BsDibPattern: case gdi::BsDibPatternPt:
        if (!b.pattern.isNull()) brush = QBrush(b.pattern);
        break;
      default: break;
    }
    if (brush.style() != Qt::NoBrush) painter_.fillPath(path, makeBrush(brush, t));
  }
  if (stroke) {
    QPen pen = makePen(t);
    // Dashing a path far larger than any device takes forever: such lines are drawn solid.
    if (pen.style() != Qt::SolidLine && pen.style() != Qt::NoPen) {
      const QRectF extent = t.mapRect(path.controlPointRect());
      if (extent.width() + extent.height() > 100000) pen.setStyle(Qt::SolidLine);
    }
    if (pen.style() != Qt::NoPen) painter_.strokePath(path, pen);
  }
}

void MetafileDc::addToPath(const QPainterPath &shape, bool connect) {
  if (connect && path_.elementCount() > 0) {
    path_.connectPath(shape);
  } else {
    path_.addPath(shape);
  }
}

void MetafileDc::moveTo(QPointF p) {
  state_.position = p;
  if (inPath_) path_.moveTo(p);
}

void MetafileDc::lineTo(QPointF p) {
  if (inPath_) {
    if (path_.elementCount() == 0) path_.moveTo(state_.position);
    path_.lineTo(p);
  } else {
    QPainterPath line(state_.position);
    line.lineTo(p);
    paint(line, false, true);
  }
  state_.position = p;
}

void MetafileDc::polyline(const QPolygonF &points, bool fromCurrent) {
  if (points.isEmpty() || !usable(points)) return;
  if (inPath_) {
    if (!fromCurrent) path_.moveTo(points.first());
    else if (path_.elementCount() == 0) path_.moveTo(state_.position);
    for (qsizetype i = fromCurrent ? 0 : 1; i < points.size(); ++i) path_.lineTo(points[i]);
  } else {
    QPainterPath line(fromCurrent ? state_.position : points.first());
    for (qsizetype i = fromCurrent ? 0 : 1; i < points.size(); ++i) line.lineTo(points[i]);
    paint(line, false, true);
  }
  if (fromCurrent) state_.position = points.last();
}

void MetafileDc::polygon(const QPolygonF &points) { polyPolygon({points}); }

void MetafileDc::polyPolygon(const QList<QPolygonF> &polygons) {
  QPainterPath path;
  path.setFillRule(state_.fillMode == gdi::Winding ? Qt::WindingFill : Qt::OddEvenFill);
  for (const QPolygonF &p : polygons) {
    if (p.size() < 2 || !usable(p)) continue;
    path.addPolygon(p);
    path.closeSubpath();
  }
  if (path.isEmpty()) return;
  if (inPath_) addToPath(path, false);
  else paint(path, true, true);
}

void MetafileDc::polyBezier(const QPolygonF &points, bool fromCurrent) {
  if (points.isEmpty() || !usable(points)) return;
  QPainterPath path(fromCurrent ? state_.position : points.first());
  qsizetype i = fromCurrent ? 0 : 1;
  for (; i + 2 < points.size(); i += 3) path.cubicTo(points[i], points[i + 1], points[i + 2]);
  if (inPath_) addToPath(path, fromCurrent);
  else paint(path, false, true);
  if (fromCurrent) state_.position = path.currentPosition();
}

void MetafileDc::polyDraw(const QPolygonF &points, const QByteArray &types) {
  if (!usable(points)) return;
  QPainterPath path(state_.position);
  for (qsizetype i = 0; i < points.size() && i < types.size(); ++i) {
    const int type = types[i] & 0x06;
    if (type == 0x06) {
      path.moveTo(points[i]);
    } else if (type == 0x04 && i + 2 < points.size() && i + 2 < types.size()) {
      path.cubicTo(points[i], points[i + 1], points[i + 2]);
      i += 2;
    } else {
      path.lineTo(points[i]);
    }
    if (types[i] & 0x01) path.closeSubpath();
  }
  state_.position = path.currentPosition();
  if (inPath_) addToPath(path, true);
  else paint(path, false, true);
}

void MetafileDc::rectangle(const QRectF &box) {
  QPainterPath path;
  path.addRect(box.normalized());
  if (inPath_) addToPath(path, false);
  else paint(path, true, true);
}

void MetafileDc::roundRect(const QRectF &box, QSizeF corner) {
  QPainterPath path;
  const QRectF r = box.normalized();
  const qreal rx = std::min(std::abs(corner.width()) / 2, r.width() / 2);
  const qreal ry = std::min(std::abs(corner.height()) / 2, r.height() / 2);
  path.addRoundedRect(r, rx, ry);
  if (inPath_) addToPath(path, false);
  else paint(path, true, true);
}

void MetafileDc::ellipse(const QRectF &box) {
  QPainterPath path;
  path.addEllipse(box.normalized());
  if (inPath_) addToPath(path, false);
  else paint(path, true, true);
}

QPainterPath MetafileDc::arcPath(const QRectF &rawBox, QPointF start, QPointF end, ArcKind kind,
                                 QPointF *arcEnd) const {
  const QRectF box = rawBox.normalized();
  QPainterPath path;
  if (box.width() <= 0 || box.height() <= 0) return path;
  const qreal a0 = angleOf(box, start);
  const qreal a1 = angleOf(box, end);
  qreal sweep = a1 - a0;
  if (state_.arcDirection == gdi::Clockwise) {
    while (sweep >= 0) sweep -= 360;
  } else {
    while (sweep <= 0) sweep += 360;
  }
  if (kind == ArcKind::Pie) {
    path.moveTo(box.center());
    path.arcTo(box, a0, sweep);
    path.closeSubpath();
  } else {
    path.arcMoveTo(box, a0);
    path.arcTo(box, a0, sweep);
    if (kind == ArcKind::Chord) path.closeSubpath();
  }
  if (arcEnd) *arcEnd = path.currentPosition();
  return path;
}

void MetafileDc::arc(const QRectF &box, QPointF start, QPointF end, ArcKind kind) {
  QPointF last;
  QPainterPath path = arcPath(box, start, end, kind, &last);
  if (path.isEmpty()) return;
  if (kind == ArcKind::ArcTo) {
    QPainterPath withLine(state_.position);
    withLine.connectPath(path);
    path = withLine;
    state_.position = last;
  }
  const bool closed = kind == ArcKind::Pie || kind == ArcKind::Chord;
  if (inPath_) addToPath(path, kind == ArcKind::ArcTo);
  else paint(path, closed, true);
}

void MetafileDc::angleArc(QPointF center, qreal radius, qreal startDeg, qreal sweepDeg) {
  if (!std::isfinite(startDeg) || !std::isfinite(sweepDeg) || radius <= 0) return;
  sweepDeg = std::clamp(sweepDeg, -3600.0, 3600.0);
  const QRectF box(center.x() - radius, center.y() - radius, 2 * radius, 2 * radius);
  QPainterPath arcOnly;
  arcOnly.arcMoveTo(box, startDeg);
  arcOnly.arcTo(box, startDeg, sweepDeg);
  QPainterPath path(state_.position);
  path.connectPath(arcOnly);
  state_.position = path.currentPosition();
  if (inPath_) addToPath(path, true);
  else paint(path, false, true);
}

void MetafileDc::setPixel(QPointF p, const QColor &c) {
  const QTransform t = fullTransform();
  const QPointF d = t.map(p);
  painter_.setTransform(QTransform());
  painter_.fillRect(QRectF(std::floor(d.x()), std::floor(d.y()), 1, 1), c);
}

void MetafileDc::text(QPointF reference, const QString &text, quint32 options, const QRectF &rect,
                      const QList<qreal> &dx) {
  if (!qobject_cast<QGuiApplication *>(QCoreApplication::instance())) return;  // fonts need the GUI
  const QTransform t = fullTransform();
  const bool updateCp = state_.textAlign & gdi::TaUpdateCp;
  if (updateCp) reference = state_.position;
  const qreal yScale = scaleAlong(t, 0, 1);
  const qreal xScale = scaleAlong(t, 1, 0);
  if (yScale <= 0 || xScale <= 0) return;

  if ((options & gdi::EtoOpaque) && rect.isValid()) {
    painter_.setTransform(t);
    painter_.fillRect(rect.normalized(), state_.bkColor);
  }
  if (text.isEmpty()) return;
  const FontObject &fo = state_.font;
  QFont font(fo.face.isEmpty() ? QStringLiteral("Sans Serif") : fo.face);
  constexpr qreal Ref = 100.0;  // glyphs are laid out at 100 px and scaled
  font.setPixelSize(int(Ref));
  if (fo.weight > 0) font.setWeight(QFont::Weight(std::clamp(fo.weight, 100, 900)));
  font.setItalic(fo.italic);
  font.setUnderline(fo.underline);
  font.setStrikeOut(fo.strikeOut);
  font.setStyleHint(QFont::SansSerif);
  QFontMetricsF fm(font);
  qreal emDevice;
  if (fo.height < 0) emDevice = -fo.height * yScale;
  else if (fo.height > 0) emDevice = fo.height * yScale * Ref / std::max(fm.ascent() + fm.descent(), 1.0);
  else emDevice = 16.0;
  if (!std::isfinite(emDevice) || emDevice < 0.2 || emDevice > 20000) return;
  const qreal k = emDevice / Ref;

  // Advances in the 100 px layout.
  QList<qreal> advances;
  qreal width = 0;
  const bool useDx = dx.size() >= text.size();
  for (qsizetype i = 0; i < text.size(); ++i) {
    const qreal a = useDx ? dx[i] * xScale / k : fm.horizontalAdvance(text[i]);
    advances.append(a);
    width += a;
  }
  if (!useDx) width = fm.horizontalAdvance(text);

  qreal x = 0, y = 0;
  switch (state_.textAlign & gdi::TaHorizMask) {
    case gdi::TaRight: x = -width; break;
    case gdi::TaCenter: x = -width / 2; break;
    default: break;
  }
  switch (state_.textAlign & gdi::TaVertMask) {
    case gdi::TaBottom: y = -fm.descent(); break;
    case gdi::TaBaseline: break;
    default: y = fm.ascent(); break;
  }

  QTransform tt;
  const QPointF origin = t.map(reference);
  tt.translate(origin.x(), origin.y());
  tt.rotate(-fo.escapement / 10.0);
  tt.scale(k, k);

  painter_.save();
  if ((options & gdi::EtoClipped) && rect.isValid()) {
    painter_.setTransform(t);
    painter_.setClipRect(rect.normalized(), Qt::IntersectClip);
  }
  painter_.setTransform(tt);
  painter_.setCompositionMode(QPainter::CompositionMode_SourceOver);
  painter_.setRenderHint(QPainter::TextAntialiasing, true);
  if (state_.bkMode == gdi::Opaque && !(options & gdi::EtoOpaque))
    painter_.fillRect(QRectF(x, y - fm.ascent(), width, fm.ascent() + fm.descent()), state_.bkColor);
  painter_.setFont(font);
  painter_.setPen(state_.textColor);
  if (useDx) {
    qreal cx = x;
    for (qsizetype i = 0; i < text.size(); ++i) {
      painter_.drawText(QPointF(cx, y), QString(text[i]));
      cx += advances[i];
    }
  } else {
    painter_.drawText(QPointF(x, y), text);
  }
  painter_.restore();
  if (updateCp) state_.position.rx() += width * k / xScale;
}

void MetafileDc::image(const QRectF &dest, const QImage &source, const QRectF &sourceRect, quint32 rop) {
  if (source.isNull() || dest.width() == 0 || dest.height() == 0) return;
  const QTransform t = fullTransform();
  if (t.determinant() == 0) return;
  QImage img = source;
  QRectF src = sourceRect.isValid() ? sourceRect : QRectF(img.rect());
  src = src.intersected(QRectF(img.rect()));
  if (src.isEmpty()) return;
  const bool flipX = dest.width() < 0, flipY = dest.height() < 0;
  if (flipX || flipY) {
    img = img.copy(src.toAlignedRect()).mirrored(flipX, flipY);
    src = QRectF(img.rect());
  }
  painter_.setTransform(t);
  const bool rasterOps = painter_.paintEngine() && painter_.paintEngine()->hasFeature(QPaintEngine::RasterOpModes);
  QPainter::CompositionMode mode = QPainter::CompositionMode_SourceOver;
  switch (rop) {
    case gdi::SrcAnd: if (rasterOps) mode = QPainter::RasterOp_SourceAndDestination; break;
    case gdi::SrcPaint: if (rasterOps) mode = QPainter::RasterOp_SourceOrDestination; break;
    case gdi::SrcInvert: if (rasterOps) mode = QPainter::RasterOp_SourceXorDestination; break;
    default: break;
  }
  painter_.setCompositionMode(mode);
  // Masks combined by raster operations must keep hard edges.
  painter_.setRenderHint(QPainter::SmoothPixmapTransform, mode == QPainter::CompositionMode_SourceOver);
  painter_.drawImage(dest.normalized(), img, src);
  painter_.setCompositionMode(QPainter::CompositionMode_SourceOver);
}

void MetafileDc::patBlt(const QRectF &dest, quint32 rop) {
  QPainterPath path;
  path.addRect(dest.normalized());
  const QTransform t = fullTransform();
  switch (rop) {
    case gdi::Blackness: painter_.setTransform(t); painter_.fillPath(path, Qt::black); break;
    case gdi::Whiteness: painter_.setTransform(t); painter_.fillPath(path, Qt::white); break;
    case gdi::PatCopy: {
      const PenObject pen = state_.pen;
      state_.pen.style = gdi::PsNull;
      paint(path, true, false);
      state_.pen = pen;
      break;
    }
    default: break;
  }
}

void MetafileDc::beginPath() {
  inPath_ = true;
  path_ = QPainterPath();
}

void MetafileDc::abortPath() {
  inPath_ = false;
  path_ = QPainterPath();
}

void MetafileDc::closeFigure() {
  if (inPath_) path_.closeSubpath();
}

void MetafileDc::fillPath(bool fill, bool stroke) {
  inPath_ = false;
  QPainterPath path = path_;
  path_ = QPainterPath();
  if (path.isEmpty()) return;
  if (fill) {
    // A filled path closes its open figures.
    QPainterPath closed;
    closed.setFillRule(state_.fillMode == gdi::Winding ? Qt::WindingFill : Qt::OddEvenFill);
    for (const QPolygonF &poly : path.toSubpathPolygons()) closed.addPolygon(poly), closed.closeSubpath();
    path = closed;
  }
  paint(path, fill, stroke);
}

void MetafileDc::selectClipPath(int regionMode) {
  inPath_ = false;
  QPainterPath path = path_;
  path_ = QPainterPath();
  path.setFillRule(state_.fillMode == gdi::Winding ? Qt::WindingFill : Qt::OddEvenFill);
  combineClip(fullTransform().map(path), regionMode);
}

}  // namespace vl::mf
