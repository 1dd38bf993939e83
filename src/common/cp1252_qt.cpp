#include "common/cp1252_qt.h"

#include "engine/cp1252.h"

namespace vl {

QString fromCp1252(QByteArrayView bytes) {
  QString out;
  out.reserve(bytes.size());
  for (char c : bytes) out.append(QChar(static_cast<char16_t>(cp1252ToUnicode(static_cast<unsigned char>(c)))));
  return out;
}

QByteArray toCp1252(const QString &text, char replacement) {
  QByteArray out;
  out.reserve(text.size());
  for (auto it = text.cbegin(); it != text.cend(); ++it) {
    char32_t cp = it->unicode();
    if (it->isHighSurrogate() && it + 1 != text.cend() && (it + 1)->isLowSurrogate()) {
      cp = QChar::surrogateToUcs4(*it, *(it + 1));
      ++it;
    }
    const int byte = unicodeToCp1252(cp);
    out.append(byte < 0 ? replacement : static_cast<char>(byte));
  }
  return out;
}

}  // namespace vl
