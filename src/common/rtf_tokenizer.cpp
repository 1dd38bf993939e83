#include "common/rtf_tokenizer.h"

#include <limits>

namespace vl::rtf {

namespace {

bool isLetter(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }
bool isDigit(char c) { return c >= '0' && c <= '9'; }

int hexValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

}  // namespace

Token Tokenizer::next() {
  while (pos_ < data_.size()) {
    const char c = data_[pos_];
    switch (c) {
      case '{':
        ++pos_;
        return {TokenType::GroupOpen, {}, 0, false};
      case '}':
        ++pos_;
        return {TokenType::GroupClose, {}, 0, false};
      case '\\':
        ++pos_;
        return controlAfterBackslash();
      case '\r':
      case '\n':
        ++pos_;
        continue;
      default: {
        const size_t start = pos_;
        while (pos_ < data_.size()) {
          const char d = data_[pos_];
          if (d == '{' || d == '}' || d == '\\' || d == '\r' || d == '\n') break;
          ++pos_;
        }
        return {TokenType::Text, data_.substr(start, pos_ - start), 0, false};
      }
    }
  }
  return {};
}

Token Tokenizer::controlAfterBackslash() {
  if (pos_ >= data_.size()) return {};
  const char c = data_[pos_];
  if (isLetter(c)) {
    const size_t start = pos_;
    while (pos_ < data_.size() && isLetter(data_[pos_])) ++pos_;
    Token token{TokenType::ControlWord, data_.substr(start, pos_ - start), 0, false};
    bool negative = false;
    if (pos_ < data_.size() && data_[pos_] == '-' && pos_ + 1 < data_.size() && isDigit(data_[pos_ + 1])) {
      negative = true;
      ++pos_;
    }
    if (pos_ < data_.size() && isDigit(data_[pos_])) {
      int64_t value = 0;
      constexpr int64_t limit = int64_t{std::numeric_limits<int32_t>::max()} + 1;
      while (pos_ < data_.size() && isDigit(data_[pos_])) {
        if (value < limit) value = value * 10 + (data_[pos_] - '0');
        ++pos_;
      }
      if (value > limit) value = limit;
      if (negative) value = -value;
      if (value > std::numeric_limits<int32_t>::max()) value = std::numeric_limits<int32_t>::max();
      token.param = static_cast<int32_t>(value);
      token.hasParam = true;
    }
    if (pos_ < data_.size() && data_[pos_] == ' ') ++pos_;
    return token;
  }
  ++pos_;
  if (c == '\r' || c == '\n') return {TokenType::ControlWord, "par", 0, false};
  if (c == '\'') {
    if (pos_ + 1 < data_.size()) {
      const int high = hexValue(data_[pos_]);
      const int low = hexValue(data_[pos_ + 1]);
      if (high >= 0 && low >= 0) {
        pos_ += 2;
        return {TokenType::HexByte, {}, high * 16 + low, false};
      }
    }
    // A truncated or malformed escape is dropped; what follows is read normally.
    return {TokenType::ControlSymbol, {}, '\'', false};
  }
  return {TokenType::ControlSymbol, {}, static_cast<unsigned char>(c), false};
}

std::string_view Tokenizer::readBinary(int64_t count) {
  if (count <= 0) return {};
  const size_t available = data_.size() - pos_;
  const size_t n = static_cast<uint64_t>(count) < available ? static_cast<size_t>(count) : available;
  const std::string_view bytes = data_.substr(pos_, n);
  pos_ += n;
  return bytes;
}

}  // namespace vl::rtf
