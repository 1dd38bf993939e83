#pragma once
// Splits RTF bytes into groups, control words, control symbols, \'hh bytes and text runs.
#include <cstddef>
#include <cstdint>
#include <string_view>

namespace vl::rtf {

enum class TokenType { End, GroupOpen, GroupClose, ControlWord, ControlSymbol, HexByte, Text };

struct Token {
  TokenType type = TokenType::End;
  // ControlWord: the letters; Text: the bytes of the run (never containing CR or LF).
  std::string_view text;
  // ControlWord: the parameter, saturated to the int32 range; HexByte: the byte; ControlSymbol: the character.
  int32_t param = 0;
  bool hasParam = false;
};

class Tokenizer {
 public:
  explicit Tokenizer(std::string_view data) : data_(data) {}

  Token next();
  // The raw bytes of \binN: at most `count` bytes, fewer when the data ends first.
  std::string_view readBinary(int64_t count);
  bool atEnd() const { return pos_ >= data_.size(); }
  size_t position() const { return pos_; }

 private:
  Token controlAfterBackslash();

  std::string_view data_;
  size_t pos_ = 0;
};

}  // namespace vl::rtf
