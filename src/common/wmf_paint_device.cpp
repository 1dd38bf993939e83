#include "common/wmf_paint_device.h"

#include "common/wmf_paint_engine.h"

namespace vl {
namespace {

// Metafile units per pixel: as fine as the 16-bit coordinates allow, at most 1/32 pixel.
int unitsPerPixelFor(QSize size) {
  const int side = std::max({size.width(), size.height(), 1});
  return std::clamp(16000 / side, 1, 32);
}

}  // namespace

WmfPaintDevice::WmfPaintDevice(QSize size)
    : size_(size.expandedTo(QSize(1, 1)).boundedTo(QSize(16000, 16000))),
      engine_(std::make_unique<WmfPaintEngine>(size_, unitsPerPixelFor(size_))) {}

WmfPaintDevice::~WmfPaintDevice() = default;

QPaintEngine *WmfPaintDevice::paintEngine() const { return engine_.get(); }

QByteArray WmfPaintDevice::data() const { return engine_->data(); }

int WmfPaintDevice::metric(PaintDeviceMetric metric) const {
  switch (metric) {
    case PdmWidth: return size_.width();
    case PdmHeight: return size_.height();
    case PdmWidthMM: return qRound(size_.width() * 25.4 / 96);
    case PdmHeightMM: return qRound(size_.height() * 25.4 / 96);
    case PdmNumColors: return 0xFFFFFF;
    case PdmDepth: return 24;
    case PdmDpiX: case PdmDpiY: case PdmPhysicalDpiX: case PdmPhysicalDpiY: return 96;
    case PdmDevicePixelRatio: return 1;
    case PdmDevicePixelRatioScaled: return int(QPaintDevice::devicePixelRatioFScale());
    default: return QPaintDevice::metric(metric);
  }
}

}  // namespace vl
