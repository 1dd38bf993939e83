#pragma once
// Formatting of message templates with "%" placeholders, and the formatter that never fails.
//
// A placeholder is "%" [index ":"] ["-"] [width] ["." precision] type, with the types
// d (integer; precision = minimum digits), u (unsigned integer), x (hexadecimal, upper case;
// precision = minimum digits), s (text; precision = maximum characters), f, e, g, n (floating
// point; n with thousands separators of the current locale); "%%" is a percent sign. Every
// placeholder takes the next argument (or the one its index names) and the argument must be of
// the placeholder's kind: an integer for d, u and x, a text for s, a floating-point number for f, e, g, n.
#include <QList>
#include <QString>

#include <stdexcept>
#include <variant>

namespace vl {

class FormatArg {
 public:
  FormatArg(int v) : value_(qint64(v)) {}
  FormatArg(unsigned v) : value_(qint64(v)) {}
  FormatArg(long v) : value_(qint64(v)) {}
  FormatArg(unsigned long v) : value_(qint64(v)) {}
  FormatArg(long long v) : value_(qint64(v)) {}
  FormatArg(unsigned long long v) : value_(qint64(v)) {}
  FormatArg(double v) : value_(v) {}
  FormatArg(const QString &v) : value_(v) {}
  FormatArg(const char *utf8) : value_(QString::fromUtf8(utf8)) {}
  FormatArg(QStringView v) : value_(v.toString()) {}

  const std::variant<qint64, double, QString> &value() const { return value_; }

 private:
  std::variant<qint64, double, QString> value_;
};

// A template whose placeholders do not fit its arguments.
class FormatError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// Formats the template; throws FormatError when a placeholder is malformed, has no argument or
// an argument of the wrong kind. Arguments left over are ignored.
QString Format(const QString &format, const QList<FormatArg> &args);

// ExpandBreaks(format) formatted with the arguments; on any formatting failure the expanded
// template itself. Never throws.
QString SafeFormat(const QString &format, const QList<FormatArg> &args = {}) noexcept;

}  // namespace vl
