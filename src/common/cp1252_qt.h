#pragma once
// Code page 1252 at the boundary between stored bytes and QString.
#include <QByteArray>
#include <QByteArrayView>
#include <QString>

namespace vl {

QString fromCp1252(QByteArrayView bytes);
QByteArray toCp1252(const QString &text, char replacement = '?');

}  // namespace vl
