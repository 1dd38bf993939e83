#pragma once
// Device-independent bitmaps as stored in metafile records, decoded to QImage.
#include <QByteArrayView>
#include <QImage>
#include <QList>
#include <QRectF>
#include <QRgb>

namespace vl::mf {

// Size in bytes of the bitmap info (header, masks and colour table) at the start of `info`;
// 0 when the header is not a valid DIB header.
qsizetype dibInfoSize(QByteArrayView info, quint32 colorUsage = 0);

// Decodes a DIB from its bitmap info and its pixel bits. With colour usage DIB_PAL_COLORS the colour
// table holds indexes into `palette`. Returns a null image for invalid or oversized bitmaps.
QImage decodeDib(QByteArrayView info, QByteArrayView bits, quint32 colorUsage = 0,
                 const QList<QRgb> &palette = {});

// A packed DIB: bitmap info immediately followed by the bits.
QImage decodePackedDib(QByteArrayView packed, quint32 colorUsage = 0, const QList<QRgb> &palette = {});

// The source rectangle (x, y, w, h) of a StretchDIBits-style call in the coordinates of `image`:
// bottom-up DIBs count y from their lower edge. A zero size means the whole bitmap.
QRectF dibSourceRect(QByteArrayView info, const QImage &image, qreal x, qreal y, qreal w, qreal h);

}  // namespace vl::mf
