#include "common/emf_player.h"

#include <cmath>

#include "common/cp1252_qt.h"
#include "common/metafile_bytes.h"
#include "common/metafile_dc.h"
#include "common/metafile_dib.h"
#include "common/metafile_records.h"

namespace vl::mf {
namespace {

using namespace gdi;

// One record; offsets count from the start of the record, as the format's own offsets do.
struct Record {
  quint32 type = 0;
  Bytes b;
  qint32 i(qint64 o) const { return b.i32(o); }
  quint32 u(qint64 o) const { return b.u32(o); }
  QPointF point(qint64 o) const { return QPointF(b.i32(o), b.i32(o + 4)); }
  QRectF box(qint64 o) const { return QRectF(point(o), point(o + 8)); }
};

template <typename F>
void forEachRecord(QByteArrayView data, qsizetype end, F &&f) {
  const Bytes b(data);
  qsizetype offset = 0;
  while (offset + 8 <= end) {
    const quint32 type = b.u32(offset);
    const quint32 size = b.u32(offset + 4);
    if (size < 8 || size > quint64(end - offset)) return;
    if (type == emr::Eof) return;
    if (!f(Record{type, Bytes(data.sliced(offset, size))})) return;
    offset += size;
  }
}

QPolygonF points(const Record &r, qint64 at, qint64 count, bool small) {
  QPolygonF poly;
  const qint64 stride = small ? 4 : 8;
  if (count <= 0 || !r.b.has(at, count * stride)) return poly;
  poly.reserve(count);
  for (qint64 k = 0; k < count; ++k) {
    const qint64 o = at + k * stride;
    poly.append(small ? QPointF(r.b.i16(o), r.b.i16(o + 2)) : QPointF(r.b.i32(o), r.b.i32(o + 4)));
  }
  return poly;
}

QList<QPolygonF> polyList(const Record &r, bool small) {
  const qint64 n = r.u(24), total = r.u(28);
  QList<QPolygonF> result;
  if (!r.b.has(32, n * 4)) return result;
  qint64 at = 32 + n * 4;
  const QPolygonF all = points(r, at, total, small);
  qint64 used = 0;
  for (qint64 k = 0; k < n; ++k) {
    const qint64 count = r.u(32 + 4 * k);
    if (count > all.size() - used) break;
    result.append(all.mid(used, count));
    used += count;
  }
  return result;
}

QImage dib(const Record &r, qint64 offBmi, qint64 cbBmi, qint64 offBits, qint64 cbBits, quint32 usage,
           const QList<QRgb> &palette) {
  const QByteArrayView info = r.b.view(offBmi, cbBmi);
  const QByteArrayView bits = r.b.view(offBits, cbBits);
  if (info.isEmpty()) return {};
  return decodeDib(info, bits, usage, palette);
}

class Player {
 public:
  explicit Player(MetafileDc &dc) : dc_(dc) {}

  void play(const Record &r) {
    DcState &s = dc_.state();
    switch (r.type) {
      case emr::Polygon: case emr::Polygon16: dc_.polygon(pts(r)); break;
      case emr::Polyline: case emr::Polyline16: dc_.polyline(pts(r), false); break;
      case emr::PolylineTo: case emr::PolylineTo16: dc_.polyline(pts(r), true); break;
      case emr::PolyBezier: case emr::PolyBezier16: dc_.polyBezier(pts(r), false); break;
      case emr::PolyBezierTo: case emr::PolyBezierTo16: dc_.polyBezier(pts(r), true); break;
      case emr::PolyPolygon: case emr::PolyPolygon16: dc_.polyPolygon(polyList(r, r.type == emr::PolyPolygon16)); break;
      case emr::PolyPolyline: case emr::PolyPolyline16:
        for (const QPolygonF &p : polyList(r, r.type == emr::PolyPolyline16)) dc_.polyline(p, false);
        break;
      case emr::PolyDraw: case emr::PolyDraw16: {
        const bool small = r.type == emr::PolyDraw16;
        const qint64 n = r.u(24);
        const QPolygonF p = points(r, 28, n, small);
        dc_.polyDraw(p, r.b.view(28 + n * (small ? 4 : 8), n).toByteArray());
        break;
      }
      case emr::SetWindowExtEx: dc_.setWindowExt(r.point(8)); break;
      case emr::SetWindowOrgEx: dc_.setWindowOrg(r.point(8)); break;
      case emr::SetViewportExtEx: dc_.setViewportExt(r.point(8)); break;
      case emr::SetViewportOrgEx: dc_.setViewportOrg(r.point(8)); break;
      case emr::ScaleViewportExtEx: dc_.scaleViewportExt(r.i(8), r.i(12), r.i(16), r.i(20)); break;
      case emr::ScaleWindowExtEx: dc_.scaleWindowExt(r.i(8), r.i(12), r.i(16), r.i(20)); break;
      case emr::SetMapMode: dc_.setMapMode(int(r.u(8))); break;
      case emr::SetBkMode: s.bkMode = int(r.u(8)); break;
      case emr::SetPolyFillMode: s.fillMode = r.u(8) == Winding ? Winding : Alternate; break;
      case emr::SetRop2: s.rop2 = int(r.u(8)); break;
      case emr::SetTextAlign: s.textAlign = int(r.u(8)); break;
      case emr::SetTextColor: s.textColor = dc_.colorRef(r.u(8)); break;
      case emr::SetBkColor: s.bkColor = dc_.colorRef(r.u(8)); break;
      case emr::SetArcDirection: s.arcDirection = r.u(8) == Clockwise ? Clockwise : CounterClockwise; break;
      case emr::SetMiterLimit: {
        const quint32 v = r.u(8);
        const qreal limit = v > 1000 ? qreal(r.b.f32(8)) : qreal(v);
        if (std::isfinite(limit) && limit >= 1 && limit < 1000) s.miterLimit = limit;
        break;
      }
      case emr::MoveToEx: dc_.moveTo(r.point(8)); break;
      case emr::LineTo: dc_.lineTo(r.point(8)); break;
      case emr::SetPixelV: dc_.setPixel(r.point(8), dc_.colorRef(r.u(16))); break;
      case emr::ExcludeClipRect: dc_.excludeClipRect(r.box(8)); break;
      case emr::IntersectClipRect: dc_.intersectClipRect(r.box(8)); break;
      case emr::ExtSelectClipRgn: selectClipRegion(r); break;
      case emr::SaveDc: dc_.save(); break;
      case emr::RestoreDc: dc_.restore(r.i(8)); break;
      case emr::SetWorldTransform: s.world = xform(r, 8); break;
      case emr::ModifyWorldTransform: {
        const QTransform x = xform(r, 8);
        switch (r.u(32)) {
          case 1: s.world = QTransform(); break;
          case 2: s.world = x * s.world; break;
          case 3: s.world = s.world * x; break;
          case 4: s.world = x; break;
          default: break;
        }
        break;
      }
      case emr::SelectObject: case emr::SelectPalette: {
        const quint32 ih = r.u(8);
        if (ih & emr::StockObject) dc_.selectStockObject(ih & ~emr::StockObject);
        else dc_.selectObject(ih);
        break;
      }
      case emr::DeleteObject: dc_.deleteObject(r.u(8)); break;
      case emr::CreatePen: {
        PenObject pen;
        pen.style = r.u(12);
        pen.width = qreal(std::abs(qint64(r.i(16))));
        pen.color = dc_.colorRef(r.u(24));
        dc_.setObject(r.u(8), pen);
        break;
      }
      case emr::ExtCreatePen: extCreatePen(r); break;
      case emr::CreateBrushIndirect: {
        BrushObject brush;
        brush.style = int(r.u(12));
        brush.color = dc_.colorRef(r.u(16));
        brush.hatch = int(r.u(20));
        dc_.setObject(r.u(8), brush);
        break;
      }
      case emr::CreateDibPatternBrushPt: case emr::CreateMonoBrush: {
        BrushObject brush;
        brush.style = BsDibPattern;
        brush.pattern = dib(r, r.u(16), r.u(20), r.u(24), r.u(28), r.u(12), s.palette);
        if (brush.pattern.isNull()) brush = BrushObject{BsSolid, QColor(0x80, 0x80, 0x80), 0, {}};
        dc_.setObject(r.u(8), brush);
        break;
      }
      case emr::CreatePalette: {
        PaletteObject pal;
        const qint64 n = std::min<qint64>(r.b.u16(14), (r.b.size() - 16) / 4);
        for (qint64 k = 0; k < n; ++k)
          pal.colors.append(qRgb(r.b.u8(16 + 4 * k), r.b.u8(17 + 4 * k), r.b.u8(18 + 4 * k)));
        dc_.setObject(r.u(8), pal);
        break;
      }
      case emr::ExtCreateFontIndirectW: {
        FontObject font;
        font.height = r.i(12);
        font.width = r.i(16);
        font.escapement = r.i(20);
        font.weight = r.i(28);
        font.italic = r.b.u8(32);
        font.underline = r.b.u8(33);
        font.strikeOut = r.b.u8(34);
        font.charset = r.b.u8(35);
        for (qint64 k = 0; k < 32; ++k) {
          const quint16 c = r.b.u16(40 + 2 * k);
          if (c == 0) break;
          font.face.append(QChar(c));
        }
        dc_.setObject(r.u(8), font);
        break;
      }
      case emr::Ellipse: dc_.ellipse(r.box(8)); break;
      case emr::Rectangle: dc_.rectangle(r.box(8)); break;
      case emr::RoundRect: dc_.roundRect(r.box(8), QSizeF(r.i(24), r.i(28))); break;
      case emr::Arc: dc_.arc(r.box(8), r.point(24), r.point(32), ArcKind::Arc); break;
      case emr::Chord: dc_.arc(r.box(8), r.point(24), r.point(32), ArcKind::Chord); break;
      case emr::Pie: dc_.arc(r.box(8), r.point(24), r.point(32), ArcKind::Pie); break;
      case emr::ArcTo: dc_.arc(r.box(8), r.point(24), r.point(32), ArcKind::ArcTo); break;
      case emr::AngleArc: dc_.angleArc(r.point(8), r.u(16), r.b.f32(20), r.b.f32(24)); break;
      case emr::BeginPath: dc_.beginPath(); break;
      case emr::EndPath: dc_.endPath(); break;
      case emr::AbortPath: dc_.abortPath(); break;
      case emr::CloseFigure: dc_.closeFigure(); break;
      case emr::FillPath: dc_.fillPath(true, false); break;
      case emr::StrokePath: dc_.fillPath(false, true); break;
      case emr::StrokeAndFillPath: dc_.fillPath(true, true); break;
      case emr::SelectClipPath: dc_.selectClipPath(int(r.u(8))); break;
      case emr::ExtTextOutA: case emr::ExtTextOutW: extTextOut(r); break;
      case emr::SmallTextOut: smallTextOut(r); break;
      case emr::BitBlt: case emr::StretchBlt: {
        const QRectF dest(r.i(24), r.i(28), r.i(32), r.i(36));
        const quint32 rop = r.u(40);
        if (r.u(88) == 0) {
          dc_.patBlt(dest, rop);
          break;
        }
        const QImage img = dib(r, r.u(84), r.u(88), r.u(92), r.u(96), r.u(80), s.palette);
        const QSizeF srcSize = r.type == emr::StretchBlt ? QSizeF(r.i(100), r.i(104)) : dest.size();
        dc_.image(dest, img, QRectF(QPointF(r.i(44), r.i(48)), srcSize), rop);
        break;
      }
      case emr::StretchDiBits: case emr::SetDiBitsToDevice: {
        const bool stretch = r.type == emr::StretchDiBits;
        const QImage img = dib(r, r.u(48), r.u(52), r.u(56), r.u(60), r.u(64), s.palette);
        const qreal cx = r.i(40), cy = r.i(44);
        const QRectF dest(r.i(24), r.i(28), stretch ? r.i(72) : cx, stretch ? r.i(76) : cy);
        const QRectF src = dibSourceRect(r.b.view(r.u(48), r.u(52)), img, r.i(32), r.i(36), cx, cy);
        dc_.image(dest, img, src, stretch ? r.u(68) : SrcCopy);
        break;
      }
      default: break;  // unknown or not drawn
    }
  }

 private:
  static QPolygonF pts(const Record &r) {
    const bool small = r.type >= emr::PolyBezier16 && r.type <= emr::PolylineTo16;
    return points(r, 28, r.u(24), small);
  }

  static QTransform xform(const Record &r, qint64 o) {
    const QTransform t(r.b.f32(o), r.b.f32(o + 4), r.b.f32(o + 8), r.b.f32(o + 12), r.b.f32(o + 16),
                       r.b.f32(o + 20));
    for (qreal v : {t.m11(), t.m12(), t.m21(), t.m22(), t.dx(), t.dy()})
      if (!std::isfinite(v)) return QTransform();
    return t;
  }

  void extCreatePen(const Record &r) {
    PenObject pen;
    pen.style = r.u(28);
    const bool geometric = pen.style & PsGeometric;
    pen.width = geometric ? qreal(r.u(32)) : 0;
    if (r.u(36) == BsNull) pen.style = (pen.style & ~quint32(PsStyleMask)) | PsNull;
    pen.color = dc_.colorRef(r.u(40));
    const qint64 n = r.u(48);
    if (n > 0 && n <= 64 && r.b.has(52, n * 4))
      for (qint64 k = 0; k < n; ++k) pen.dashes.append(r.u(52 + 4 * k));
    dc_.setObject(r.u(8), pen);
  }

  void extTextOut(const Record &r) {
    const quint32 options = r.u(52);
    const QPointF ref = r.point(36);
    const qint64 chars = r.u(44);
    const qint64 offString = r.u(48);
    QRectF rect;
    qint64 offDxAt = 56;
    if (!(options & EtoNoRect)) {
      rect = r.box(56);
      offDxAt = 72;
    }
    if (options & EtoGlyphIndex) return;  // glyph indexes of an unknown font
    if (chars <= 0 || chars > 65536) return;
    QString text;
    if (r.type == emr::ExtTextOutW) {
      if (!r.b.has(offString, chars * 2)) return;
      for (qint64 k = 0; k < chars; ++k) text.append(QChar(r.b.u16(offString + 2 * k)));
    } else {
      if (!r.b.has(offString, chars)) return;
      text = vl::fromCp1252(r.b.view(offString, chars));
    }
    QList<qreal> dx;
    const qint64 offDx = r.u(offDxAt);
    const qint64 step = (options & EtoPdy) ? 8 : 4;
    if (offDx > 0 && r.b.has(offDx, chars * step))
      for (qint64 k = 0; k < chars; ++k) dx.append(r.b.i32(offDx + k * step));
    dc_.text(ref, text, options, rect, dx);
  }

  void smallTextOut(const Record &r) {
    const qint64 chars = r.u(16);
    const quint32 options = r.u(20);
    qint64 at = 36;
    QRectF rect;
    if (!(options & EtoNoRect)) {
      rect = r.box(36);
      at += 16;
    }
    if (chars <= 0 || chars > 65536 || (options & EtoGlyphIndex)) return;
    QString text;
    if (options & EtoSmallChars) {
      if (!r.b.has(at, chars)) return;
      text = vl::fromCp1252(r.b.view(at, chars));
    } else {
      if (!r.b.has(at, chars * 2)) return;
      for (qint64 k = 0; k < chars; ++k) text.append(QChar(r.b.u16(at + 2 * k)));
    }
    dc_.text(QPointF(r.i(8), r.i(12)), text, options, rect, {});
  }

  void selectClipRegion(const Record &r) {
    const quint32 cb = r.u(8);
    const int mode = int(r.u(12));
    if (cb == 0) {
      if (mode == RgnCopy) dc_.resetClip();
      return;
    }
    const qint64 count = r.u(24);
    if (count > 100000 || !r.b.has(48, count * 16)) return;
    QPainterPath region;
    for (qint64 k = 0; k < count; ++k) region.addRect(r.box(48 + 16 * k).normalized());
    dc_.combineClip(dc_.deviceToPainter().map(region.simplified()), mode);
  }

  MetafileDc &dc_;
};

}  // namespace

bool readEmfHeader(QByteArrayView data, EmfHeader &h) {
  const Bytes b(data);
  h = EmfHeader();
  if (b.u32(0) != emr::Header || b.u32(40) != emr::Signature) return false;
  const quint32 headerSize = b.u32(4);
  if (headerSize < 88 || headerSize > quint64(data.size())) return false;
  h.bounds = QRectF(QPointF(b.i32(8), b.i32(12)), QPointF(b.i32(16), b.i32(20))).normalized();
  h.frameMm100 = QRectF(QPointF(b.i32(24), b.i32(28)), QPointF(b.i32(32), b.i32(36))).normalized();
  h.devicePixels = QSizeF(b.i32(72), b.i32(76));
  h.deviceMm = QSizeF(b.i32(80), b.i32(84));
  if (h.devicePixels.width() <= 0 || h.devicePixels.height() <= 0 || h.deviceMm.width() <= 0 ||
      h.deviceMm.height() <= 0) {
    h.devicePixels = QSizeF(96, 96);
    h.deviceMm = QSizeF(25.4, 25.4);
  }
  const quint32 total = b.u32(48);
  h.size = total >= headerSize && total <= quint64(data.size()) ? qsizetype(total) : data.size();
  return !h.frameMm100.isEmpty() || !h.bounds.isEmpty();
}

namespace {

// The picture's frame in reference device units.
QRectF deviceFrame(const EmfHeader &h) {
  if (h.frameMm100.isEmpty()) return h.bounds;
  const qreal sx = h.devicePixels.width() / (h.deviceMm.width() * 100);
  const qreal sy = h.devicePixels.height() / (h.deviceMm.height() * 100);
  return QRectF(h.frameMm100.left() * sx, h.frameMm100.top() * sy, h.frameMm100.width() * sx,
                h.frameMm100.height() * sy);
}

}  // namespace

QSizeF emfNaturalSize(QByteArrayView data) {
  EmfHeader h;
  if (!readEmfHeader(data, h)) return {};
  if (!h.frameMm100.isEmpty()) return h.frameMm100.size() * (96.0 / 2540.0);
  const qreal dpiX = h.devicePixels.width() / h.deviceMm.width() * 25.4;
  const qreal dpiY = h.devicePixels.height() / h.deviceMm.height() * 25.4;
  return QSizeF(h.bounds.width() * 96 / dpiX, h.bounds.height() * 96 / dpiY);
}

bool playEmf(QPainter &painter, const QRectF &target, QByteArrayView data) {
  EmfHeader h;
  if (!readEmfHeader(data, h)) return false;
  const QRectF f = deviceFrame(h);
  if (target.isEmpty() || f.isEmpty()) return true;
  const QTransform base = QTransform::fromTranslate(-f.left(), -f.top()) *
                          QTransform::fromScale(target.width() / f.width(), target.height() / f.height()) *
                          QTransform::fromTranslate(target.left(), target.top());
  MetafileDc dc(painter, base, h.devicePixels.width() / h.deviceMm.width());
  Player player(dc);
  forEachRecord(data, h.size, [&](const Record &r) {
    player.play(r);
    return true;
  });
  return true;
}

}  // namespace vl::mf
