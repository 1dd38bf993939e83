#pragma once
// JPEG pictures decoded with libjpeg.
#include <QByteArray>
#include <QImage>
#include <QString>

namespace vl {

// The decoded picture, or a null image (with `error` set) when the data is not a readable JPEG.
QImage decodeJpeg(const QByteArray &data, QString *error = nullptr);

}  // namespace vl
