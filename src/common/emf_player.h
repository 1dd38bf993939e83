#pragma once
// Playback of enhanced metafiles (EMF).
#include <QByteArrayView>
#include <QPainter>
#include <QRectF>

namespace vl::mf {

struct EmfHeader {
  QRectF bounds;        // device units
  QRectF frameMm100;    // 0.01 mm
  QSizeF devicePixels;  // reference device size in pixels
  QSizeF deviceMm;      // and in millimetres
  qsizetype size = 0;   // bytes of the metafile (without anything appended)
};

bool readEmfHeader(QByteArrayView data, EmfHeader &header);

// Natural size in pixels at 96 dpi; empty when not an EMF.
QSizeF emfNaturalSize(QByteArrayView data);

// Plays the records into `target`; false when the bytes are not an EMF.
bool playEmf(QPainter &painter, const QRectF &target, QByteArrayView data);

}  // namespace vl::mf
