#pragma once
// Windows metafile pictures (placeable WMF, plain WMF, EMF) decoded from bytes and drawn with QPainter.
// Bytes appended after the end of the metafile (a spot block, for example) are ignored.
#include <QByteArrayView>
#include <QColor>
#include <QImage>
#include <QPainter>
#include <QRectF>
#include <QSizeF>

namespace vl {

enum class MetafileKind { None, Wmf, PlaceableWmf, Emf };

// What kind of metafile the bytes hold (None for anything else).
MetafileKind metafileKind(QByteArrayView bytes);

// The picture's natural size in pixels at 96 dpi; an empty size when the bytes are no metafile.
QSizeF metafileNaturalSize(QByteArrayView bytes);

// Draws the picture stretched into `target` (in the painter's current coordinates).
// Returns false, drawing nothing, when the bytes are no metafile. The painter's state is kept.
bool renderMetafile(QPainter &painter, const QRectF &target, QByteArrayView bytes);

// The picture drawn into an image of `size` over `background`; with an empty size the natural size
// is used. A null image when the bytes are no metafile.
QImage renderMetafileImage(QByteArrayView bytes, QSize size = {}, const QColor &background = Qt::transparent);

}  // namespace vl
