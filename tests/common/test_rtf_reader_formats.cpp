// The reader's formats: characters, paragraphs, hidden text, hyperlinks and bookmarks.
#include "common/rtf_hidden_text.h"
#include "common/rtf_reader.h"
#include "test_rtf_helpers.h"

#include <QTextBlock>
#include <QTextDocument>

namespace {

using vl::test::blockTexts;
using vl::test::formatAt;

class ReaderFormats : public ::testing::Test {
 protected:
  void SetUp() override { vl::test::ensureApplication(); }
  QTextDocument document;
};

TEST_F(ReaderFormats, CharacterProperties) {
  vl::readRtf(
      "{\\rtf1\\ansi\\deff0{\\fonttbl{\\f0\\fswiss Arial;}{\\f1\\froman Times New Roman;}}"
      "{\\colortbl;\\red255\\green0\\blue0;\\red0\\green0\\blue255;}"
      "\\f1\\fs32\\b\\i\\ul\\cf1\\highlight2 X\\plain\\strike Y\\plain\\super Z\\nosupersub\\sub W\\sub0 "
      "\\uldash D\\ulnone\\ulwave V\\ul0\\cb1 B\\cf0 N}",
      &document);
  ASSERT_EQ(blockTexts(document), "XYZWDVBN");
  const QTextCharFormat x = formatAt(document, 0);
  EXPECT_EQ(x.fontFamilies().toStringList(), QStringList{"Times New Roman"});
  EXPECT_DOUBLE_EQ(x.fontPointSize(), 16.0);
  EXPECT_EQ(x.fontWeight(), QFont::Bold);
  EXPECT_TRUE(x.fontItalic());
  EXPECT_EQ(x.underlineStyle(), QTextCharFormat::SingleUnderline);
  EXPECT_EQ(x.foreground().color(), QColor(255, 0, 0));
  EXPECT_EQ(x.background().color(), QColor(0, 0, 255));

  const QTextCharFormat y = formatAt(document, 1);  // \plain: default font, 12 pt, nothing else
  EXPECT_EQ(y.fontFamilies().toStringList(), QStringList{"Arial"});
  EXPECT_DOUBLE_EQ(y.fontPointSize(), 12.0);
  EXPECT_NE(y.fontWeight(), QFont::Bold);
  EXPECT_FALSE(y.fontItalic());
  EXPECT_EQ(y.underlineStyle(), QTextCharFormat::NoUnderline);
  EXPECT_TRUE(y.fontStrikeOut());
  EXPECT_FALSE(y.hasProperty(QTextFormat::ForegroundBrush));

  EXPECT_EQ(formatAt(document, 2).verticalAlignment(), QTextCharFormat::AlignSuperScript);
  EXPECT_EQ(formatAt(document, 3).verticalAlignment(), QTextCharFormat::AlignSubScript);
  EXPECT_EQ(formatAt(document, 4).underlineStyle(), QTextCharFormat::DashUnderline);
  EXPECT_EQ(formatAt(document, 4).verticalAlignment(), QTextCharFormat::AlignNormal);
  EXPECT_EQ(formatAt(document, 5).underlineStyle(), QTextCharFormat::WaveUnderline);
  EXPECT_EQ(formatAt(document, 6).underlineStyle(), QTextCharFormat::NoUnderline);
  EXPECT_EQ(formatAt(document, 6).background().color(), QColor(255, 0, 0));
  EXPECT_FALSE(formatAt(document, 7).hasProperty(QTextFormat::ForegroundBrush));
}

TEST_F(ReaderFormats, GroupsRestoreProperties) {
  vl::readRtf("{\\rtf1 a{\\b b{\\i c}d}e}", &document);
  EXPECT_NE(formatAt(document, 0).fontWeight(), QFont::Bold);
  EXPECT_EQ(formatAt(document, 1).fontWeight(), QFont::Bold);
  EXPECT_TRUE(formatAt(document, 2).fontItalic());
  EXPECT_EQ(formatAt(document, 3).fontWeight(), QFont::Bold);
  EXPECT_FALSE(formatAt(document, 3).fontItalic());
  EXPECT_NE(formatAt(document, 4).fontWeight(), QFont::Bold);
}

TEST_F(ReaderFormats, ParagraphProperties) {
  vl::readRtf(
      "{\\rtf1\\pard\\qc\\li720\\ri360\\fi-360\\sb120\\sa240 A\\par"
      "\\pard\\qr\\sl-360\\slmult0 B\\par\\pard\\qj\\sl360\\slmult1\\li1440\\tx2160\\tqr\\tx4320 C\\par"
      "\\sl300\\slmult0 D\\par\\pard E}",
      &document);
  ASSERT_EQ(document.blockCount(), 5);
  const QTextBlockFormat a = document.findBlockByNumber(0).blockFormat();
  EXPECT_EQ(a.alignment() & Qt::AlignHorizontal_Mask, Qt::AlignHCenter);
  EXPECT_DOUBLE_EQ(a.leftMargin(), 48.0);
  EXPECT_DOUBLE_EQ(a.rightMargin(), 24.0);
  EXPECT_DOUBLE_EQ(a.textIndent(), -24.0);
  EXPECT_DOUBLE_EQ(a.topMargin(), 8.0);
  EXPECT_DOUBLE_EQ(a.bottomMargin(), 16.0);
  const QTextBlockFormat b = document.findBlockByNumber(1).blockFormat();
  EXPECT_EQ(b.alignment() & Qt::AlignHorizontal_Mask, Qt::AlignRight);
  EXPECT_DOUBLE_EQ(b.leftMargin(), 0.0);  // \pard
  EXPECT_EQ(b.lineHeightType(), QTextBlockFormat::FixedHeight);
  EXPECT_DOUBLE_EQ(b.lineHeight(), 24.0);
  const QTextBlockFormat c = document.findBlockByNumber(2).blockFormat();
  EXPECT_EQ(c.alignment() & Qt::AlignHorizontal_Mask, Qt::AlignJustify);
  EXPECT_EQ(c.lineHeightType(), QTextBlockFormat::ProportionalHeight);
  EXPECT_DOUBLE_EQ(c.lineHeight(), 150.0);
  const QList<QTextOption::Tab> tabs = c.tabPositions();
  ASSERT_EQ(tabs.size(), 2);
  EXPECT_DOUBLE_EQ(tabs[0].position, 48.0);  // from the paragraph's left edge
  EXPECT_EQ(tabs[0].type, QTextOption::LeftTab);
  EXPECT_DOUBLE_EQ(tabs[1].position, 192.0);
  EXPECT_EQ(tabs[1].type, QTextOption::RightTab);
  const QTextBlockFormat d = document.findBlockByNumber(3).blockFormat();
  EXPECT_EQ(d.lineHeightType(), QTextBlockFormat::MinimumHeight);
  EXPECT_DOUBLE_EQ(d.lineHeight(), 20.0);
  EXPECT_DOUBLE_EQ(d.leftMargin(), 96.0);  // kept until \pard
  const QTextBlockFormat e = document.findBlockByNumber(4).blockFormat();
  EXPECT_EQ(e.alignment() & Qt::AlignHorizontal_Mask, Qt::AlignLeft);
  EXPECT_DOUBLE_EQ(e.leftMargin(), 0.0);
}

TEST_F(ReaderFormats, HugeLengthsAreClamped) {
  vl::readRtf("{\\rtf1\\li99999999999\\fi-99999999\\fs99999999 x}", &document);
  const QTextBlockFormat f = document.firstBlock().blockFormat();
  EXPECT_LE(f.leftMargin(), 31680 / 15.0);
  EXPECT_GE(f.textIndent(), -31680 / 15.0);
  EXPECT_LE(formatAt(document, 0).fontPointSize(), 1638.0);
}

TEST_F(ReaderFormats, HiddenTextIsKeptBesideTheVisibleText) {
  vl::readRtf("{\\rtf1 a{\\v H1}b{\\v \\'ab2\\'bb}\\par c{\\v A}{\\b\\v B}\\par{\\v E}}", &document);
  ASSERT_EQ(blockTexts(document), "ab\nc\n");
  const QList<vl::RtfHiddenRun> expected = {
      {1, "H1", false},
      {2, QStringLiteral("«2»"), true},
      {4, "AB", true},
      {5, "E", true},
  };
  EXPECT_EQ(vl::rtfHiddenRuns(document), expected);
  EXPECT_EQ(formatAt(document, 1).stringProperty(vl::RtfHiddenTextProperty), "H1");
  EXPECT_FALSE(formatAt(document, 0).hasProperty(vl::RtfHiddenTextProperty));
}

TEST_F(ReaderFormats, HiddenTextBeforeTheNextCharacterOnly) {
  vl::readRtf("{\\rtf1 {\\v \\'ab0\\'bb}link text}", &document);
  EXPECT_EQ(blockTexts(document), "link text");
  const QList<vl::RtfHiddenRun> expected = {{0, QStringLiteral("«0»"), false}};
  EXPECT_EQ(vl::rtfHiddenRuns(document), expected);
  EXPECT_FALSE(formatAt(document, 1).hasProperty(vl::RtfHiddenTextProperty));
}

TEST_F(ReaderFormats, HyperlinkFields) {
  vl::readRtf(
      "{\\rtf1{\\colortbl;\\red0\\green0\\blue255;}"
      "{\\field{\\*\\fldinst{HYPERLINK \"http://example.org/a b\" \\\\o \"dica\"}}{\\fldrslt{\\ul\\cf1 site}}} "
      "{\\field{\\*\\fldinst HYPERLINK \\\\l \"marca\"}{\\fldrslt \\plain marca}} "
      "{\\field{\\*\\fldinst{ HYPERLINK vl:3 }}{\\fldrslt ver}}}",
      &document);
  ASSERT_EQ(blockTexts(document), "site marca ver");
  const QTextCharFormat site = formatAt(document, 0);
  EXPECT_TRUE(site.isAnchor());
  EXPECT_EQ(site.anchorHref(), "http://example.org/a b");
  EXPECT_EQ(site.toolTip(), "dica");
  EXPECT_EQ(site.underlineStyle(), QTextCharFormat::SingleUnderline);
  EXPECT_EQ(site.foreground().color(), QColor(0, 0, 255));
  EXPECT_FALSE(formatAt(document, 4).isAnchor());
  EXPECT_EQ(formatAt(document, 5).anchorHref(), "#marca");  // kept through \plain
  EXPECT_EQ(formatAt(document, 11).anchorHref(), "vl:3");
}

TEST_F(ReaderFormats, BookmarksBecomeAnchorNames) {
  vl::readRtf("{\\rtf1 a{\\*\\bkmkstart limites}{\\*\\bkmkend limites}b\\par{\\*\\bkmkstart fim}}", &document);
  EXPECT_TRUE(formatAt(document, 0).anchorNames().isEmpty());
  // A bookmark after the last character marks that character.
  EXPECT_EQ(formatAt(document, 1).anchorNames(), (QStringList{"limites", "fim"}));
}

}  // namespace

namespace {

TEST_F(ReaderFormats, TabStopsFromTheFirstLineStart) {
  // Explicit stops are measured from where the first line starts; a hanging indent without stops
  // gets one at the left indent.
  vl::readRtf("{\\rtf1\\pard\\fi-360\\li720\\tx720\\tx2160 {\\pntext\\'95\\tab}a\\par\\pard\\fi-720\\li720 b}",
              &document);
  const QList<QTextOption::Tab> explicitTabs = document.firstBlock().blockFormat().tabPositions();
  ASSERT_EQ(explicitTabs.size(), 2);
  EXPECT_DOUBLE_EQ(explicitTabs[0].position, 24.0);
  EXPECT_DOUBLE_EQ(explicitTabs[1].position, 120.0);
  const QList<QTextOption::Tab> implicitTab = document.lastBlock().blockFormat().tabPositions();
  ASSERT_EQ(implicitTab.size(), 1);
  EXPECT_DOUBLE_EQ(implicitTab[0].position, 48.0);
}

}  // namespace
