#include "common/rtf_output.h"

#include "engine/cp1252.h"

namespace vl::rtf {

void Output::put(const char *raw) {
  out_.append(raw);
  delimiterPending_ = false;
}

void Output::word(const char *name) {
  out_.append('\\');
  out_.append(name);
  delimiterPending_ = true;
}

void Output::word(const char *name, int param) {
  out_.append('\\');
  out_.append(name);
  out_.append(QByteArray::number(param));
  delimiterPending_ = true;
}

void Output::words(QByteArrayView formatted) {
  if (formatted.isEmpty()) return;
  out_.append(formatted);
  delimiterPending_ = true;
}

void Output::starredWord(const char *name) {
  out_.append("\\*");
  word(name);
}

void Output::literal(char c) {
  // Only what could continue a control word needs the delimiting space.
  const bool continues = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == ' ' ||
                         c == '-';
  if (delimiterPending_ && continues) out_.append(' ');
  delimiterPending_ = false;
  out_.append(c);
}

void Output::text(QStringView text) {
  static const char hex[] = "0123456789abcdef";
  for (qsizetype i = 0; i < text.size(); ++i) {
    char32_t cp = text[i].unicode();
    if (text[i].isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate()) {
      cp = QChar::surrogateToUcs4(text[i], text[i + 1]);
      ++i;
    }
    switch (cp) {
      case '\\': put("\\\\"); continue;
      case '{': put("\\{"); continue;
      case '}': put("\\}"); continue;
      case '\t': word("tab"); continue;
      case '\n':
      case 0x2028:
      case 0x2029:
        word("line");
        continue;
      case 0x00A0: put("\\~"); continue;
      case 0x00AD: put("\\-"); continue;
      case 0x2011: put("\\_"); continue;
      case 0xFFFC: continue;
      default: break;
    }
    if (cp < 0x20) continue;
    if (cp < 0x7F) {
      literal(static_cast<char>(cp));
      continue;
    }
    const int byte = unicodeToCp1252(cp);
    if (byte >= 0x80) {
      const char escape[] = {'\\', '\'', hex[byte >> 4], hex[byte & 15], '\0'};
      put(escape);
      continue;
    }
    // Outside the code page: UTF-16 units as signed 16-bit numbers, each with a one-byte fallback.
    char16_t units[2];
    int count = 1;
    if (cp > 0xFFFF) {
      units[0] = QChar::highSurrogate(cp);
      units[1] = QChar::lowSurrogate(cp);
      count = 2;
    } else {
      units[0] = static_cast<char16_t>(cp);
    }
    for (int u = 0; u < count; ++u) {
      word("u", static_cast<int16_t>(units[u]));
      literal('?');
    }
  }
}

void Output::hexData(QByteArrayView bytes) {
  static const char hex[] = "0123456789abcdef";
  if (delimiterPending_) {
    out_.append(' ');
    delimiterPending_ = false;
  }
  out_.reserve(out_.size() + bytes.size() * 2 + bytes.size() / 64 * 2 + 4);
  for (qsizetype i = 0; i < bytes.size(); ++i) {
    if (i % 64 == 0) out_.append("\r\n");
    const auto b = static_cast<unsigned char>(bytes[i]);
    out_.append(hex[b >> 4]);
    out_.append(hex[b & 15]);
  }
}

void Output::lineBreak() {
  out_.append("\r\n");
  delimiterPending_ = false;
}

}  // namespace vl::rtf
