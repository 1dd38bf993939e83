#include "build_error.h"

namespace vl::build {

QString SourcePlace::toString() const
{
    if (line > 0)
        return QStringLiteral("%1:%2").arg(file).arg(line);
    return file;
}

static std::string composeText(const SourcePlace &place, const QString &message)
{
    return (place.toString() + QStringLiteral(": ") + message).toStdString();
}

BuildError::BuildError(SourcePlace place, const QString &message)
    : std::runtime_error(composeText(place, message)), place_(std::move(place)), message_(message)
{
}

QString BuildError::text() const
{
    return place_.toString() + QStringLiteral(": ") + message_;
}

}  // namespace vl::build
