#pragma once
// Low-level writer of placeable WMF files: records, the object table and the headers.
#include <QByteArray>
#include <QImage>
#include <QList>
#include <QPolygonF>
#include <QRect>
#include <QRgb>
#include <optional>
#include <vector>

namespace vl::mf {

class WmfWriter {
 public:
  // Pen and brush as GDI objects; the writer creates, selects and deletes them as needed.
  struct Pen {
    quint16 style = 0;  // GDI pen style with cap and join bits, or PS_NULL
    qint16 width = 0;
    QRgb color = 0;
    bool operator==(const Pen &) const = default;
  };
  struct Brush {
    quint16 style = 0;  // BS_SOLID or BS_NULL
    QRgb color = 0;
    bool operator==(const Brush &) const = default;
  };

  void setWindow(const QRect &window);  // SetWindowOrg / SetWindowExt
  void setMapMode(quint16 mode);
  void setBkMode(quint16 mode);
  void setPolyFillMode(quint16 mode);

  void usePen(const Pen &pen);
  void useBrush(const Brush &brush);

  void polygon(const QPolygon &points);
  void polyline(const QPolygon &points);
  void polyPolygon(const QList<QPolygon> &polygons);
  void saveDc();
  void restoreDc();
  void intersectClipRect(const QRect &r);
  // A 24-bit StretchDIB of `image` into `dest` with the raster operation `rop`.
  void stretchDib(const QRect &dest, const QImage &image, quint32 rop);

  // The finished file: placeable header with `bounds` and `unitsPerInch`, WMF header, records, EOF.
  QByteArray finish(const QRect &bounds, quint16 unitsPerInch) const;

 private:
  void begin(quint16 function);
  void word(qint32 v);
  void dword(quint32 v);
  void end();
  void points(const QPolygon &p);
  int createObject();
  void replaceObject(std::optional<int> &current, int created);

  QByteArray body_;
  qsizetype recordStart_ = 0;
  quint32 maxRecordWords_ = 3;
  std::vector<bool> slots_;
  std::optional<int> penSlot_, brushSlot_;
  std::optional<Pen> pen_;
  std::optional<Brush> brush_;
  std::optional<quint16> fillMode_;
};

}  // namespace vl::mf
