// The reader's text: escapes, Unicode, destinations, fields, code pages, plain text, damaged input.
#include "common/rtf_reader.h"
#include "test_rtf_helpers.h"

#include <QTextDocument>

namespace {

using vl::test::blockTexts;

struct TextCase {
  const char *name;
  QByteArray input;
  QString expected;
  bool rtf = true;
};

QString u(std::u16string_view s) { return QString::fromUtf16(s.data(), qsizetype(s.size())); }

std::vector<TextCase> textCases() {
  const QByteArray png = vl::test::hexOf(vl::test::encodeImage(vl::test::testImage({2, 2}), "PNG"));
  return {
      {"plain", "{\\rtf1 Hello}", "Hello"},
      {"hex escapes and literals", "{\\rtf1\\ansi a\\'e7\\'e3o \\{x\\} \\\\ b}", u(u"ação {x} \\ b")},
      {"one space delimits a word", "{\\rtf1 \\b bold\\b0  two}", "bold two"},
      {"unicode with fallback", "{\\rtf1\\uc1 x\\u8364?y}", u(u"x€y")},
      {"uc2 skips two escapes", "{\\rtf1\\uc2 \\u8364\\'80\\'80z}", u(u"€z")},
      {"uc0 skips nothing", "{\\rtf1\\uc0 \\u8364 z}", u(u"€z")},
      {"fallback ends at a group", "{\\rtf1\\uc3 \\u8364{a}b}", u(u"€ab")},
      {"uc is scoped to its group", "{\\rtf1{\\uc2 \\u233 xx}\\u233 yz}", u(u"ééz")},
      {"negative unicode", "{\\rtf1 \\u-3913?}", u(u"\uF0B7")},
      {"surrogate pair", "{\\rtf1 \\u-10179?\\u-8704?}", QString::fromUcs4(U"\U0001F600", 1)},
      {"control characters are not text", "{\\rtf1 a\\u1?\\u9?\x01" "b}", "a\tb"},
      {"lone surrogate", "{\\rtf1 a\\u-10179?b}", u(u"a\uFFFDb")},
      {"special characters",
       "{\\rtf1 a\\tab b\\line c\\emdash\\endash\\bullet\\lquote\\rquote\\ldblquote\\rdblquote\\~\\-\\_}",
       u(u"a\tb\u2028c—–•‘’“”\u00A0\u00AD\u2011")},
      {"paragraphs", "{\\rtf1 one\\par two\\par}", "one\ntwo\n"},
      {"backslash newline is a paragraph", "{\\rtf1 one\\\ntwo}", "one\ntwo"},
      {"line ends are ignored", "{\\rtf1 on\r\ne}", "one"},
      {"header destinations skipped",
       "{\\rtf1{\\fonttbl{\\f0 Arial;}}{\\colortbl;\\red1\\green2\\blue3;}{\\stylesheet{\\s1 Heading;}}"
       "{\\info{\\title T}{\\author A}}{\\header H}{\\footer F}{\\*\\generator G;}{\\*\\unknown secret}visible}",
       "visible"},
      {"unknown group without star keeps its text", "{\\rtf1{\\foo kept}}", "kept"},
      {"list text is shown", "{\\rtf1{\\pntext\\'95\\tab}item}", u(u"•\titem")},
      {"hidden text is not visible", "{\\rtf1 a{\\v hidden}b\\v c\\v0 d}", "abd"},
      {"hyperlink result", "{\\rtf1{\\field{\\*\\fldinst HYPERLINK \"http://x.y/\"}{\\fldrslt link}} after}",
       "link after"},
      {"other field shows its result", "{\\rtf1{\\field{\\*\\fldinst PAGE}{\\fldrslt 3}}}", "3"},
      {"hyperlink without result shows the address", "{\\rtf1{\\field{\\*\\fldinst HYPERLINK \"vl:3\"}}}", "vl:3"},
      {"field instruction outside a field", "{\\rtf1{\\*\\fldinst HYPERLINK \"x\"}z}", "z"},
      {"bookmark name is not text", "{\\rtf1{\\*\\bkmkstart here}word{\\*\\bkmkend here}}", "word"},
      {"picture is one object character", "{\\rtf1 a{\\pict\\pngblip " + png + "}b}", u(u"a\uFFFCb")},
      {"table cells and rows", "{\\rtf1\\trowd a\\cell b\\cell\\row c}", "a\tb\t\nc"},
      {"document code page", "{\\rtf1\\ansi\\ansicpg1251 \\'cf\\'f0\\'e8}", u(u"При")},
      {"font charset", "{\\rtf1\\ansi{\\fonttbl{\\f0 Arial;}{\\f1\\fcharset204 Arial Cyr;}}\\f1\\'cf\\f0\\'e7}",
       u(u"Пç")},
      {"double-byte code page", "{\\rtf1\\ansi\\ansicpg932 \\'82\\'a0}", u(u"あ")},
      {"mac character set", "{\\rtf1\\mac \\'8e}", u(u"é")},
      {"leading white space", "  \r\n{\\rtf1 x}", "x"},
      {"text after the document", "{\\rtf1 a}}}b", "a"},
      {"unclosed groups", "{\\rtf1 a{\\b b{\\i c", "abc"},
      {"truncated hex escape", "{\\rtf1 x\\'4", "x4"},
      {"invalid hex escape", "{\\rtf1 x\\'zzy}", "xzzy"},
      {"huge numbers", "{\\rtf1\\fs99999999999999999\\li-99999999999999\\uc99999999999 a\\u99999999999 b}",
       u(u"a\uFFFD")},
      {"backslash at the end", "{\\rtf1 a\\", "a"},
      {"binary data in a skipped group", "{\\rtf1 a{\\*\\foo\\bin3 }}}}b}", "ab"},
      {"binary data in text", "{\\rtf1 a\\bin2 xyb}", "ab"},
      {"binary length beyond the data", "{\\rtf1 a\\bin999999 xyz", "a"},
      {"control word without letters", "{\\rtf1 a\\ \\9b}", "ab"},
      {"plain text in code page 1252", "Ol\xe1\r\nmundo\rfim", u(u"Olá\nmundo\nfim"), false},
      {"plain text without control characters", "a\x01\x1b\tb", "a\tb", false},
      {"plain text with UTF-8 mark", "\xEF\xBB\xBFOl\xc3\xa1", u(u"Olá"), false},
      {"braces that are not RTF", "{hello}", "{hello}", false},
      {"empty input", "", "", false},
  };
}

class ReaderText : public ::testing::TestWithParam<TextCase> {
 protected:
  void SetUp() override { vl::test::ensureApplication(); }
};

TEST_P(ReaderText, VisibleText) {
  const TextCase &c = GetParam();
  QTextDocument document;
  const vl::RtfReadResult result = vl::readRtf(c.input, &document);
  EXPECT_EQ(blockTexts(document), c.expected);
  EXPECT_EQ(result.rtf, c.rtf);
}

INSTANTIATE_TEST_SUITE_P(Cases, ReaderText, ::testing::ValuesIn(textCases()),
                         [](const ::testing::TestParamInfo<TextCase> &info) {
                           std::string name;
                           for (const char *p = info.param.name; *p; ++p)
                             name += std::isalnum(static_cast<unsigned char>(*p)) ? *p : '_';
                           return name;
                         });

TEST(ReaderRobustness, DeepNestingIsSkippedWithoutExhaustingTheStack) {
  vl::test::ensureApplication();
  const int depth = 100000;
  QByteArray input = "{\\rtf1 a";
  input += QByteArray(depth, '{') + "x" + QByteArray(depth, '}') + "b}";
  QTextDocument document;
  const vl::RtfReadResult result = vl::readRtf(input, &document);
  EXPECT_EQ(blockTexts(document), "ab");
  EXPECT_TRUE(result.complete);
}

TEST(ReaderRobustness, CompleteOnlyWhenTheOuterGroupCloses) {
  vl::test::ensureApplication();
  QTextDocument document;
  EXPECT_TRUE(vl::readRtf("{\\rtf1 a}", &document).complete);
  EXPECT_FALSE(vl::readRtf("{\\rtf1 {a}", &document).complete);
}

TEST(ReaderRobustness, ReplacesEarlierContent) {
  vl::test::ensureApplication();
  QTextDocument document;
  document.setPlainText("old text");
  vl::readRtf("{\\rtf1 new}", &document);
  EXPECT_EQ(blockTexts(document), "new");
}

}  // namespace
