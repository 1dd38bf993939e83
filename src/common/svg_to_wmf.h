#pragma once
// Conversion of SVG pictures into placeable WMF files.
#include <QByteArray>
#include <QSize>
#include <QString>

namespace vl {

// Renders `svg` into a placeable WMF of `logicalSize` pixels (the SVG's own default size when empty).
// Returns an empty array and sets `error` (Portuguese) when the SVG cannot be read.
QByteArray svgToWmf(const QByteArray &svg, QSize logicalSize = {}, QString *error = nullptr);

}  // namespace vl
