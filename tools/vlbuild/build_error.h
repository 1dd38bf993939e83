#pragma once
// An error in the content sources, reported with the file and line where it was found.
#include <QString>
#include <stdexcept>

namespace vl::build {

struct SourcePlace {
    QString file;  // path as given to the builder (relative to the content folder when possible)
    int line = 0;  // 1-based; 0 when the error concerns the whole file

    QString toString() const;
};

class BuildError : public std::runtime_error {
public:
    BuildError(SourcePlace place, const QString &message);

    const SourcePlace &place() const { return place_; }
    const QString &message() const { return message_; }
    // "file:line: message", the form printed by the builder.
    QString text() const;

private:
    SourcePlace place_;
    QString message_;
};

}  // namespace vl::build
