#pragma once
// A paint device that records what is painted on it as a placeable WMF.
#include <QByteArray>
#include <QPaintDevice>
#include <QSize>
#include <memory>

namespace vl {

class WmfPaintEngine;

// Paint on it with a QPainter in pixel coordinates (0,0)-(size); after QPainter::end(), data()
// holds the placeable WMF whose natural size is `size` pixels at 96 dpi. Paths, shapes and text
// become polygons (text as glyph outlines), pens and brushes GDI objects, images 24-bit StretchDIB
// records (transparent pixels through a mask).
class WmfPaintDevice : public QPaintDevice {
 public:
  explicit WmfPaintDevice(QSize size);
  ~WmfPaintDevice() override;

  QPaintEngine *paintEngine() const override;
  QSize size() const { return size_; }
  // The finished metafile; empty until a painter has ended on the device.
  QByteArray data() const;

 protected:
  int metric(PaintDeviceMetric metric) const override;

 private:
  QSize size_;
  std::unique_ptr<WmfPaintEngine> engine_;
};

}  // namespace vl
