#include "standard_converters.h"

#include "common/rtf_writer.h"
#include "common/svg_to_wmf.h"

#include <QFile>
#include <stdexcept>

namespace vl::build {

Converters standardConverters()
{
    Converters c;
    c.rtf = [](const QTextDocument &document) { return vl::writeRtf(document); };
    c.wmf = [](const QString &path) {
        QFile f(path);
        if (!f.open(QIODevice::ReadOnly))
            throw std::runtime_error(f.errorString().toStdString());
        QString error;
        const QByteArray wmf = vl::svgToWmf(f.readAll(), {}, &error);
        if (wmf.isEmpty())
            throw std::runtime_error(error.toStdString());
        return wmf;
    };
    return c;
}

}  // namespace vl::build
