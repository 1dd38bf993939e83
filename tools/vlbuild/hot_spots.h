#pragma once
// Hot spots of a picture, written beside its SVG as NAME.spots:
//
//   # shape  code  coordinates            | hint text
//   rect     SEM   120 40 150 110         | Semáforo
//   ellipse  PLA   300 20 340 60          | Placa
//   poly     FAI   10,200 90,200 90,260   | Faixa de pedestres
//
// Coordinates are picture pixels; rect and ellipse give left top right bottom.
// The builder appends them to the picture as the "VLhot" spot block.
#include "build_error.h"

#include <QByteArray>
#include <QList>
#include <QPoint>
#include <QString>

namespace vl::build {

struct HotSpot {
    enum Shape : quint16 { Polygon = 0, Rectangle = 1, Ellipse = 2 };
    Shape shape = Rectangle;
    QString code;  // at most 5 characters
    QString text;
    QList<QPoint> points;
    SourcePlace place;
};

QList<HotSpot> parseSpots(const QString &path, const QString &source);

// The picture bytes followed by the spot block and the 4-byte offset of the block.
// Texts are stored in code page 1252.
QByteArray appendSpotBlock(const QByteArray &picture, const QString &extension, const QList<HotSpot> &spots);

}  // namespace vl::build
