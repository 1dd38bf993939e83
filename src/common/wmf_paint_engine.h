#pragma once
// The paint engine behind WmfPaintDevice: turns QPainter calls into WMF records.
#include <QPaintEngine>
#include <QPainterPath>
#include <QPen>
#include <QTransform>

#include "common/wmf_writer.h"

namespace vl {

class WmfPaintEngine : public QPaintEngine {
 public:
  // `size` in pixels; every pixel is `unitsPerPixel` metafile units.
  WmfPaintEngine(QSize size, int unitsPerPixel);

  bool begin(QPaintDevice *device) override;
  bool end() override;
  void updateState(const QPaintEngineState &state) override;
  void drawPath(const QPainterPath &path) override;
  void drawPolygon(const QPointF *points, int count, PolygonDrawMode mode) override;
  void drawLines(const QLineF *lines, int count) override;
  void drawRects(const QRectF *rects, int count) override;
  void drawEllipse(const QRectF &r) override;
  void drawPoints(const QPointF *points, int count) override;
  void drawTextItem(const QPointF &p, const QTextItem &textItem) override;
  void drawPixmap(const QRectF &r, const QPixmap &pm, const QRectF &sr) override;
  void drawImage(const QRectF &r, const QImage &image, const QRectF &sr, Qt::ImageConversionFlags flags) override;
  Type type() const override { return QPaintEngine::User; }

  QByteArray data() const { return data_; }

 private:
  void fill(const QPainterPath &devicePath, const QColor &color);
  void stroke(const QPainterPath &logicalPath);
  QColor visibleColor(const QBrush &brush) const;
  QList<QPolygon> toUnits(const QPainterPath &devicePath) const;

  QSize size_;
  int unitsPerPixel_;
  mf::WmfWriter writer_;
  QByteArray data_;
  QPen pen_;
  QBrush brush_;
  QTransform transform_;
  qreal opacity_ = 1;
  bool clipEnabled_ = false;
  bool hasClip_ = false;
  QPainterPath clip_;  // device pixels
};

}  // namespace vl
