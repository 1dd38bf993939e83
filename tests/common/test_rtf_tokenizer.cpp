// The RTF tokenizer: words, parameters, delimiters, symbols, escapes and binary data.
#include "common/rtf_tokenizer.h"
#include "test_rtf_helpers.h"

#include <string>

namespace {

using vl::rtf::Token;
using vl::rtf::Tokenizer;
using vl::rtf::TokenType;

// One line per token: G{ G} W:name[:param] S:c H:xx T:text
std::string describe(std::string_view input) {
  Tokenizer tokenizer(input);
  std::string out;
  for (Token t = tokenizer.next(); t.type != TokenType::End; t = tokenizer.next()) {
    switch (t.type) {
      case TokenType::GroupOpen: out += "G{ "; break;
      case TokenType::GroupClose: out += "G} "; break;
      case TokenType::ControlWord:
        out += "W:" + std::string(t.text) + (t.hasParam ? ":" + std::to_string(t.param) : "") + " ";
        break;
      case TokenType::ControlSymbol: out += std::string("S:") + char(t.param) + " "; break;
      case TokenType::HexByte: out += "H:" + std::to_string(t.param) + " "; break;
      case TokenType::Text: out += "T:" + std::string(t.text) + " "; break;
      case TokenType::End: break;
    }
  }
  return out;
}

struct TokenCase {
  const char *input;
  const char *tokens;
};

class Tokens : public ::testing::TestWithParam<TokenCase> {};

TEST_P(Tokens, Split) { EXPECT_EQ(describe(GetParam().input), GetParam().tokens); }

INSTANTIATE_TEST_SUITE_P(
    Cases, Tokens,
    ::testing::Values(TokenCase{"{\\rtf1 a}", "G{ W:rtf:1 T:a G} "},
                      TokenCase{"\\b  x", "W:b T: x "},
                      TokenCase{"\\li-720\\fi-x", "W:li:-720 W:fi T:-x "},
                      TokenCase{"\\fs99999999999999", "W:fs:2147483647 "},
                      TokenCase{"\\fs-99999999999999", "W:fs:-2147483648 "},
                      TokenCase{"\\'e7\\'E7\\'4", "H:231 H:231 S:' T:4 "},
                      TokenCase{"\\{\\}\\\\\\~\\*", "S:{ S:} S:\\ S:~ S:* "},
                      TokenCase{"a\r\nb\\\nc", "T:a T:b W:par T:c "},
                      TokenCase{"\\u8364?", "W:u:8364 T:? "},
                      TokenCase{"\\", ""}));

TEST(Tokenizer, BinaryDataIsBounded) {
  Tokenizer tokenizer("\\bin5 {}\\x}");
  const Token bin = tokenizer.next();
  ASSERT_EQ(bin.type, TokenType::ControlWord);
  EXPECT_EQ(tokenizer.readBinary(bin.param), "{}\\x}");
  EXPECT_TRUE(tokenizer.atEnd());
  Tokenizer short_("\\bin100 ab");
  short_.next();
  EXPECT_EQ(short_.readBinary(100), "ab");
  EXPECT_EQ(short_.readBinary(-4), "");
}

}  // namespace
