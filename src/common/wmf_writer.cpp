#include "common/wmf_writer.h"

#include "common/metafile_records.h"

namespace vl::mf {
namespace {

void putU16(QByteArray &out, quint16 v) {
  out.append(char(v & 0xFF));
  out.append(char(v >> 8));
}

void putU32(QByteArray &out, quint32 v) {
  putU16(out, quint16(v & 0xFFFF));
  putU16(out, quint16(v >> 16));
}

void putColor(QByteArray &out, QRgb c) {
  out.append(char(qRed(c))).append(char(qGreen(c))).append(char(qBlue(c))).append('\0');
}

}  // namespace

void WmfWriter::begin(quint16 function) {
  recordStart_ = body_.size();
  putU32(body_, 0);  // size, patched by end()
  putU16(body_, function);
}

void WmfWriter::word(qint32 v) { putU16(body_, quint16(qint16(std::clamp(v, -32768, 65535)))); }

void WmfWriter::dword(quint32 v) { putU32(body_, v); }

void WmfWriter::end() {
  if (body_.size() & 1) body_.append('\0');
  const quint32 words = quint32((body_.size() - recordStart_) / 2);
  for (int i = 0; i < 4; ++i) body_[recordStart_ + i] = char((words >> (8 * i)) & 0xFF);
  maxRecordWords_ = std::max(maxRecordWords_, words);
}

void WmfWriter::points(const QPolygon &p) {
  for (const QPoint &q : p) {
    word(std::clamp(q.x(), -32768, 32767));
    word(std::clamp(q.y(), -32768, 32767));
  }
}

void WmfWriter::setWindow(const QRect &w) {
  begin(wmf::SetWindowOrg);
  word(w.top());
  word(w.left());
  end();
  begin(wmf::SetWindowExt);
  word(w.height());
  word(w.width());
  end();
}

void WmfWriter::setMapMode(quint16 mode) {
  begin(wmf::SetMapMode);
  word(mode);
  end();
}

void WmfWriter::setBkMode(quint16 mode) {
  begin(wmf::SetBkMode);
  word(mode);
  end();
}

void WmfWriter::setPolyFillMode(quint16 mode) {
  if (fillMode_ == mode) return;
  fillMode_ = mode;
  begin(wmf::SetPolyFillMode);
  word(mode);
  end();
}

int WmfWriter::createObject() {
  for (size_t i = 0; i < slots_.size(); ++i) {
    if (!slots_[i]) {
      slots_[i] = true;
      return int(i);
    }
  }
  slots_.push_back(true);
  return int(slots_.size() - 1);
}

void WmfWriter::replaceObject(std::optional<int> &current, int created) {
  begin(wmf::SelectObject);
  word(created);
  end();
  if (current) {
    begin(wmf::DeleteObject);
    word(*current);
    end();
    slots_[size_t(*current)] = false;
  }
  current = created;
}

void WmfWriter::usePen(const Pen &pen) {
  if (pen_ == pen) return;
  pen_ = pen;
  begin(wmf::CreatePenIndirect);
  word(pen.style);
  word(pen.width);
  word(0);
  putColor(body_, pen.color);
  end();
  replaceObject(penSlot_, createObject());
}

void WmfWriter::useBrush(const Brush &brush) {
  if (brush_ == brush) return;
  brush_ = brush;
  begin(wmf::CreateBrushIndirect);
  word(brush.style);
  putColor(body_, brush.color);
  word(0);
  end();
  replaceObject(brushSlot_, createObject());
}

void WmfWriter::polygon(const QPolygon &p) {
  if (p.size() < 2) return;
  begin(wmf::Polygon);
  word(int(p.size()));
  points(p);
  end();
}

void WmfWriter::polyline(const QPolygon &p) {
  if (p.size() < 2) return;
  begin(wmf::Polyline);
  word(int(p.size()));
  points(p);
  end();
}

void WmfWriter::polyPolygon(const QList<QPolygon> &polys) {
  QList<QPolygon> kept;
  for (const QPolygon &p : polys)
    if (p.size() >= 2) kept.append(p.size() > 65535 ? QPolygon(p.mid(0, 65535)) : p);
  if (kept.isEmpty()) return;
  if (kept.size() == 1) {
    polygon(kept.first());
    return;
  }
  begin(wmf::PolyPolygon);
  word(int(kept.size()));
  for (const QPolygon &p : kept) word(int(p.size()));
  for (const QPolygon &p : kept) points(p);
  end();
}

void WmfWriter::saveDc() {
  begin(wmf::SaveDc);
  end();
}

void WmfWriter::restoreDc() {
  begin(wmf::RestoreDc);
  word(-1);
  end();
}

void WmfWriter::intersectClipRect(const QRect &r) {
  begin(wmf::IntersectClipRect);
  word(r.bottom() + 1);
  word(r.right() + 1);
  word(r.top());
  word(r.left());
  end();
}

void WmfWriter::stretchDib(const QRect &dest, const QImage &source, quint32 rop) {
  const QImage img = source.convertToFormat(QImage::Format_RGB888);
  if (img.isNull()) return;
  const int w = img.width(), h = img.height();
  const int stride = ((w * 3 + 3) / 4) * 4;
  begin(wmf::StretchDib);
  dword(rop);
  word(gdi::DibRgbColors);
  word(h);
  word(w);
  word(0);
  word(0);
  word(dest.height());
  word(dest.width());
  word(dest.top());
  word(dest.left());
  // BITMAPINFOHEADER, bottom-up rows of blue, green, red.
  dword(40);
  dword(quint32(w));
  dword(quint32(h));
  word(1);
  word(24);
  dword(0);
  dword(quint32(stride * h));
  dword(3780);
  dword(3780);
  dword(0);
  dword(0);
  QByteArray row(stride, '\0');
  for (int y = h - 1; y >= 0; --y) {
    const uchar *line = img.constScanLine(y);
    for (int x = 0; x < w; ++x) {
      row[3 * x] = char(line[3 * x + 2]);
      row[3 * x + 1] = char(line[3 * x + 1]);
      row[3 * x + 2] = char(line[3 * x]);
    }
    body_.append(row);
  }
  end();
}

QByteArray WmfWriter::finish(const QRect &bounds, quint16 unitsPerInch) const {
  QByteArray out;
  // Placeable header; its checksum is the XOR of its first ten words.
  QByteArray placeable;
  putU32(placeable, wmf::PlaceableKey);
  putU16(placeable, 0);
  putU16(placeable, quint16(bounds.left()));
  putU16(placeable, quint16(bounds.top()));
  putU16(placeable, quint16(bounds.left() + bounds.width()));
  putU16(placeable, quint16(bounds.top() + bounds.height()));
  putU16(placeable, unitsPerInch);
  putU32(placeable, 0);
  quint16 sum = 0;
  for (int i = 0; i < 10; ++i) sum ^= quint16(uchar(placeable[2 * i]) | (uchar(placeable[2 * i + 1]) << 8));
  putU16(placeable, sum);
  out.append(placeable);

  const quint32 totalWords = quint32(9 + body_.size() / 2 + 3);
  putU16(out, 1);  // memory metafile
  putU16(out, 9);
  putU16(out, 0x0300);
  putU32(out, totalWords);
  putU16(out, quint16(std::max<size_t>(slots_.size(), 1)));
  putU32(out, maxRecordWords_);
  putU16(out, 0);
  out.append(body_);
  putU32(out, 3);
  putU16(out, wmf::Eof);
  return out;
}

}  // namespace vl::mf
