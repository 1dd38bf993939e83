#pragma once
// The format conversions the builder delegates: rich text to RTF and SVG to a placeable WMF.
#include <QByteArray>
#include <QString>
#include <functional>

class QTextDocument;

namespace vl::build {

struct Converters {
    std::function<QByteArray(const QTextDocument &)> rtf;
    // Absolute path of an SVG file -> placeable WMF bytes; throws std::exception on failure.
    std::function<QByteArray(const QString &svgPath)> wmf;
};

}  // namespace vl::build
