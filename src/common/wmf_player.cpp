#include "common/wmf_player.h"

#include <QPicture>

#include "common/cp1252_qt.h"
#include "common/metafile_bytes.h"
#include "common/metafile_dc.h"
#include "common/metafile_dib.h"
#include "common/metafile_records.h"

namespace vl::mf {
namespace {

using namespace gdi;

// One record: its function and its parameter words.
struct Record {
  quint16 function = 0;
  Bytes params;
  qsizetype words() const { return params.size() / 2; }
  qint16 p(qsizetype i) const { return params.i16(2 * i); }
  quint16 u(qsizetype i) const { return params.u16(2 * i); }
};

template <typename F>
void forEachRecord(QByteArrayView data, qsizetype offset, F &&f) {
  const Bytes b(data);
  while (b.has(offset, 6)) {
    const quint64 sizeBytes = quint64(b.u32(offset)) * 2;
    const quint16 function = b.u16(offset + 4);
    if (function == wmf::Eof) return;
    if (sizeBytes < 6 || sizeBytes > quint64(data.size() - offset)) return;
    Record r{function, Bytes(data.sliced(offset + 6, qsizetype(sizeBytes) - 6))};
    if (!f(r)) return;
    offset += qsizetype(sizeBytes);
  }
}

QPolygonF points(const Record &r, qsizetype first, qsizetype count) {
  QPolygonF poly;
  if (count <= 0 || first + 2 * count > r.words()) return poly;
  poly.reserve(count);
  for (qsizetype i = 0; i < count; ++i) poly.append(QPointF(r.p(first + 2 * i), r.p(first + 2 * i + 1)));
  return poly;
}

// Box parameters stored as bottom, right, top, left.
QRectF box(const Record &r, qsizetype first) {
  return QRectF(QPointF(r.p(first + 3), r.p(first + 2)), QPointF(r.p(first + 1), r.p(first)));
}

QString string(const Record &r, qsizetype byteOffset, qsizetype length) {
  if (length <= 0 || !r.params.has(byteOffset, length)) return {};
  return vl::fromCp1252(r.params.view(byteOffset, length));
}

class Player {
 public:
  Player(MetafileDc &dc) : dc_(dc) {}

  bool play(const Record &r) {
    switch (r.function) {
      case wmf::SetBkMode: dc_.state().bkMode = r.u(0); break;
      case wmf::SetMapMode: dc_.setMapMode(r.u(0)); break;
      case wmf::SetRop2: dc_.state().rop2 = r.u(0); break;
      case wmf::SetPolyFillMode: dc_.state().fillMode = r.u(0) == Winding ? Winding : Alternate; break;
      case wmf::SetTextAlign: dc_.state().textAlign = r.u(0); break;
      case wmf::SetBkColor: dc_.state().bkColor = dc_.colorRef(r.params.u32(0)); break;
      case wmf::SetTextColor: dc_.state().textColor = dc_.colorRef(r.params.u32(0)); break;
      case wmf::SetWindowOrg: dc_.setWindowOrg(QPointF(r.p(1), r.p(0))); break;
      case wmf::SetWindowExt: dc_.setWindowExt(QPointF(r.p(1), r.p(0))); break;
      case wmf::SetViewportOrg: dc_.setViewportOrg(QPointF(r.p(1), r.p(0))); break;
      case wmf::SetViewportExt: dc_.setViewportExt(QPointF(r.p(1), r.p(0))); break;
      case wmf::OffsetWindowOrg: dc_.setWindowOrg(dc_.state().windowOrg + QPointF(r.p(1), r.p(0))); break;
      case wmf::OffsetViewportOrg: dc_.setViewportOrg(dc_.state().viewportOrg + QPointF(r.p(1), r.p(0))); break;
      case wmf::ScaleWindowExt: dc_.scaleWindowExt(r.p(3), r.p(2), r.p(1), r.p(0)); break;
      case wmf::ScaleViewportExt: dc_.scaleViewportExt(r.p(3), r.p(2), r.p(1), r.p(0)); break;
      case wmf::SaveDc: dc_.save(); break;
      case wmf::RestoreDc: dc_.restore(r.p(0)); break;
      case wmf::MoveTo: dc_.moveTo(QPointF(r.p(1), r.p(0))); break;
      case wmf::LineTo: dc_.lineTo(QPointF(r.p(1), r.p(0))); break;
      case wmf::Polygon: dc_.polygon(points(r, 1, r.u(0))); break;
      case wmf::Polyline: dc_.polyline(points(r, 1, r.u(0)), false); break;
      case wmf::PolyPolygon: polyPolygon(r); break;
      case wmf::Rectangle: dc_.rectangle(box(r, 0)); break;
      case wmf::Ellipse: dc_.ellipse(box(r, 0)); break;
      case wmf::RoundRect: dc_.roundRect(box(r, 2), QSizeF(r.p(1), r.p(0))); break;
      case wmf::Arc: case wmf::Pie: case wmf::Chord: {
        const ArcKind kind = r.function == wmf::Arc ? ArcKind::Arc : r.function == wmf::Pie ? ArcKind::Pie : ArcKind::Chord;
        dc_.arc(box(r, 4), QPointF(r.p(3), r.p(2)), QPointF(r.p(1), r.p(0)), kind);
        break;
      }
      case wmf::SetPixel: dc_.setPixel(QPointF(r.p(3), r.p(2)), dc_.colorRef(r.params.u32(0))); break;
      case wmf::TextOut: {
        const qsizetype len = r.u(0);
        const qsizetype after = 1 + (len + 1) / 2;
        dc_.text(QPointF(r.p(after + 1), r.p(after)), string(r, 2, len), 0, QRectF(), {});
        break;
      }
      case wmf::ExtTextOut: extTextOut(r); break;
      case wmf::CreatePenIndirect: {
        PenObject pen;
        pen.style = r.u(0);
        pen.width = std::abs(r.p(1));
        pen.color = dc_.colorRef(r.params.u32(6));
        dc_.addObject(pen);
        break;
      }
      case wmf::CreateBrushIndirect: {
        BrushObject brush;
        brush.style = r.u(0);
        brush.color = dc_.colorRef(r.params.u32(2));
        brush.hatch = r.u(3);
        dc_.addObject(brush);
        break;
      }
      case wmf::DibCreatePatternBrush: {
        BrushObject brush;
        brush.style = BsDibPattern;
        brush.pattern = decodePackedDib(r.params.view(4, r.params.size() - 4), r.u(1), dc_.state().palette);
        if (brush.pattern.isNull()) brush = BrushObject{BsSolid, QColor(0x80, 0x80, 0x80), 0, {}};
        dc_.addObject(brush);
        break;
      }
      case wmf::CreatePatternBrush: dc_.addObject(BrushObject{BsSolid, QColor(0x80, 0x80, 0x80), 0, {}}); break;
      case wmf::CreateFontIndirect: {
        FontObject font;
        font.height = r.p(0);
        font.width = r.p(1);
        font.escapement = r.p(2);
        font.weight = r.p(4);
        font.italic = r.params.u8(10);
        font.underline = r.params.u8(11);
        font.strikeOut = r.params.u8(12);
        font.charset = r.params.u8(13);
        QByteArray face = r.params.view(18, std::min<qsizetype>(32, r.params.size() - 18)).toByteArray();
        face.truncate(face.indexOf('\0') < 0 ? face.size() : face.indexOf('\0'));
        font.face = vl::fromCp1252(face);
        dc_.addObject(font);
        break;
      }
      case wmf::CreatePalette: {
        PaletteObject pal;
        const qsizetype n = std::min<qsizetype>(r.u(1), (r.params.size() - 4) / 4);
        for (qsizetype i = 0; i < n; ++i)
          pal.colors.append(qRgb(r.params.u8(4 + 4 * i), r.params.u8(5 + 4 * i), r.params.u8(6 + 4 * i)));
        dc_.addObject(pal);
        break;
      }
      case wmf::CreateRegion: dc_.addObject(RegionObject{}); break;
      case wmf::SelectObject: case wmf::SelectPalette: dc_.selectObject(r.u(0)); break;
      case wmf::DeleteObject: dc_.deleteObject(r.u(0)); break;
      case wmf::IntersectClipRect: dc_.intersectClipRect(box(r, 0)); break;
      case wmf::ExcludeClipRect: dc_.excludeClipRect(box(r, 0)); break;
      case wmf::PatBlt: dc_.patBlt(QRectF(r.p(5), r.p(4), r.p(3), r.p(2)), r.params.u32(0)); break;
      case wmf::StretchDib: {
        const QByteArrayView dib = r.params.view(22, r.params.size() - 22);
        const QImage img = decodePackedDib(dib, r.u(2), dc_.state().palette);
        dc_.image(QRectF(r.p(10), r.p(9), r.p(8), r.p(7)), img, dibSourceRect(dib, img, r.p(6), r.p(5), r.p(4), r.p(3)),
                  r.params.u32(0));
        break;
      }
      case wmf::DibStretchBlt: case wmf::StretchBlt: stretchBlt(r); break;
      case wmf::DibBitBlt: case wmf::BitBlt: bitBlt(r); break;
      case wmf::SetDibToDev: {
        const QByteArrayView dib = r.params.view(18, r.params.size() - 18);
        const QImage img = decodePackedDib(dib, r.u(0), dc_.state().palette);
        const qreal w = r.p(6), h = r.p(5);
        dc_.image(QRectF(r.p(8), r.p(7), w, h), img, dibSourceRect(dib, img, r.p(4), r.p(3), w, h), SrcCopy);
        break;
      }
      default: break;  // unknown or not drawn
    }
    return true;
  }

 private:
  void polyPolygon(const Record &r) {
    const qsizetype n = r.u(0);
    if (1 + n > r.words()) return;
    QList<QPolygonF> polys;
    qsizetype at = 1 + n;
    for (qsizetype i = 0; i < n; ++i) {
      const qsizetype count = r.u(1 + i);
      if (at + 2 * count > r.words()) break;
      polys.append(points(r, at, count));
      at += 2 * count;
    }
    dc_.polyPolygon(polys);
  }

  void extTextOut(const Record &r) {
    const QPointF ref(r.p(1), r.p(0));
    const qsizetype len = r.u(2);
    const quint32 opts = r.u(3);
    qsizetype at = 8;
    QRectF rect;
    if (opts & (EtoOpaque | EtoClipped)) {
      rect = QRectF(QPointF(r.p(4), r.p(5)), QPointF(r.p(6), r.p(7)));
      at += 8;
    }
    const QString s = string(r, at, len);
    at += len + (len & 1);
    QList<qreal> dx;
    if (r.params.has(at, 2 * len))
      for (qsizetype i = 0; i < len; ++i) dx.append(r.params.i16(at + 2 * i));
    dc_.text(ref, s, opts, rect, dx);
  }

  bool hasBitmap(const Record &r) const { return r.words() != (r.function >> 8); }

  void stretchBlt(const Record &r) {
    const quint32 rop = r.params.u32(0);
    if (!hasBitmap(r)) {
      dc_.patBlt(QRectF(r.p(10), r.p(9), r.p(8), r.p(7)), rop);
      return;
    }
    if (r.function != wmf::DibStretchBlt) return;  // device-dependent bitmaps are not drawn
    const QImage img = decodePackedDib(r.params.view(20, r.params.size() - 20));
    dc_.image(QRectF(r.p(9), r.p(8), r.p(7), r.p(6)), img, QRectF(r.p(5), r.p(4), r.p(3), r.p(2)), rop);
  }

  void bitBlt(const Record &r) {
    const quint32 rop = r.params.u32(0);
    if (!hasBitmap(r)) {
      dc_.patBlt(QRectF(r.p(8), r.p(7), r.p(6), r.p(5)), rop);
      return;
    }
    if (r.function != wmf::DibBitBlt) return;
    const QImage img = decodePackedDib(r.params.view(16, r.params.size() - 16));
    const qreal w = r.p(5), h = r.p(4);
    dc_.image(QRectF(r.p(7), r.p(6), w, h), img, QRectF(r.p(3), r.p(2), w, h), rop);
  }

  MetafileDc &dc_;
};

// The logical area of a WMF without a placeable header: its window, else the extent of its drawing.
void measureFrame(QByteArrayView data, WmfHeader &h) {
  QPointF org;
  QPointF ext;
  bool hasExt = false;
  forEachRecord(data, h.firstRecord, [&](const Record &r) {
    if (r.function == wmf::SetWindowOrg && !hasExt) org = QPointF(r.p(1), r.p(0));
    if (r.function == wmf::SetWindowExt && r.p(0) != 0 && r.p(1) != 0) {
      ext = QPointF(r.p(1), r.p(0));
      hasExt = true;
      return false;
    }
    return true;
  });
  if (hasExt) {
    h.frame = QRectF(org, QSizeF(ext.x(), ext.y())).normalized();
    return;
  }
  QPicture picture;
  {
    QPainter p(&picture);
    MetafileDc dc(p, QTransform(), 96 / 25.4);
    Player player(dc);
    forEachRecord(data, h.firstRecord, [&](const Record &r) { return player.play(r); });
  }
  h.frame = QRectF(picture.boundingRect());
  h.frameIsDevice = true;
}

}  // namespace

bool readWmfHeader(QByteArrayView data, WmfHeader &h) {
  const Bytes b(data);
  h = WmfHeader();
  qsizetype at = 0;
  if (b.u32(0) == wmf::PlaceableKey) {
    if (!b.has(0, 22)) return false;
    h.placeable = true;
    h.frame = QRectF(QPointF(b.i16(6), b.i16(8)), QPointF(b.i16(10), b.i16(12))).normalized();
    h.unitsPerInch = b.u16(14) ? b.u16(14) : 1440;
    at = 22;
  }
  const quint16 type = b.u16(at);
  if (!b.has(at, 18) || (type != 1 && type != 2) || b.u16(at + 2) != 9) return false;
  const quint16 version = b.u16(at + 4);
  if (version != 0x0100 && version != 0x0300) return false;
  h.firstRecord = at + 18;
  if (!h.placeable || h.frame.isEmpty()) {
    h.unitsPerInch = 96;
    measureFrame(data, h);
  }
  return h.frame.isValid() && !h.frame.isEmpty();
}

QSizeF wmfNaturalSize(QByteArrayView data) {
  WmfHeader h;
  if (!readWmfHeader(data, h)) return {};
  return h.frame.size() * (96.0 / h.unitsPerInch);
}

bool playWmf(QPainter &painter, const QRectF &target, QByteArrayView data) {
  WmfHeader h;
  if (!readWmfHeader(data, h)) return false;
  if (target.isEmpty()) return true;
  const QRectF &f = h.frame;
  const QTransform base = QTransform::fromTranslate(-f.left(), -f.top()) *
                          QTransform::fromScale(target.width() / f.width(), target.height() / f.height()) *
                          QTransform::fromTranslate(target.left(), target.top());
  MetafileDc dc(painter, base, h.unitsPerInch / 25.4);
  if (!h.frameIsDevice) {
    dc.setMapMode(MmAnisotropic);
    dc.setWindowOrg(f.topLeft());
    dc.setWindowExt(QPointF(f.width(), f.height()));
    dc.setViewportOrg(f.topLeft());
    dc.setViewportExt(QPointF(f.width(), f.height()));
  }
  Player player(dc);
  forEachRecord(data, h.firstRecord, [&](const Record &r) { return player.play(r); });
  return true;
}

}  // namespace vl::mf
