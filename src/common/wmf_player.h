#pragma once
// Playback of Windows metafiles (WMF), with or without the placeable header.
#include <QByteArrayView>
#include <QPainter>
#include <QRectF>

namespace vl::mf {

struct WmfHeader {
  bool placeable = false;
  QRectF frame;             // logical units covered by the picture
  qreal unitsPerInch = 96;  // logical units per inch
  qsizetype firstRecord = 0;
  bool frameIsDevice = false;  // frame measured from the drawing itself, in MM_TEXT units
};

// Reads the header; false when the bytes are not a WMF.
bool readWmfHeader(QByteArrayView data, WmfHeader &header);

// Natural size in pixels at 96 dpi; empty when not a WMF.
QSizeF wmfNaturalSize(QByteArrayView data);

// Plays the records into `target`; false when the bytes are not a WMF.
bool playWmf(QPainter &painter, const QRectF &target, QByteArrayView data);

}  // namespace vl::mf
