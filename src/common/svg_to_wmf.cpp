#include "common/svg_to_wmf.h"

#include <QPainter>
#include <QSvgRenderer>

#include "common/wmf_paint_device.h"

namespace vl {

QByteArray svgToWmf(const QByteArray &svg, QSize logicalSize, QString *error) {
  QSvgRenderer renderer(svg);
  if (!renderer.isValid()) {
    if (error) *error = QStringLiteral("A imagem SVG não pôde ser lida (arquivo inválido ou danificado).");
    return {};
  }
  if (logicalSize.isEmpty()) logicalSize = renderer.defaultSize();
  if (logicalSize.isEmpty()) {
    if (error) *error = QStringLiteral("A imagem SVG não tem tamanho definido.");
    return {};
  }
  WmfPaintDevice device(logicalSize);
  QPainter painter(&device);
  renderer.render(&painter, QRectF(QPointF(0, 0), QSizeF(device.size())));
  painter.end();
  if (error) error->clear();
  return device.data();
}

}  // namespace vl
