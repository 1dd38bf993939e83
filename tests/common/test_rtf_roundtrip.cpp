// Writer then reader: characters, formats, paragraphs, lists, links, bookmarks, hidden text, pictures.
#include "common/rtf_hidden_text.h"
#include "common/rtf_metafile.h"
#include "common/rtf_reader.h"
#include "common/rtf_writer.h"
#include "test_rtf_helpers.h"

#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextList>
#include <QUrl>

namespace {

using vl::test::blockTexts;
using vl::test::formatAt;

class RoundTrip : public ::testing::Test {
 protected:
  void SetUp() override {
    vl::test::ensureApplication();
    QFont font("Arial");
    font.setPointSizeF(10);
    source.setDefaultFont(font);
    copy.setDefaultFont(font);
  }
  // Writes `source` and reads it into `copy`; returns the RTF.
  QByteArray roundTrip() {
    const QByteArray rtf = vl::writeRtf(source);
    EXPECT_TRUE(vl::readRtf(rtf, &copy).complete);
    return rtf;
  }
  QTextDocument source;
  QTextDocument copy;
};

struct CharCase {
  const char *name;
  QString text;
  QByteArray expectedRtf;  // must appear in the RTF
};

class RoundTripCharacters : public RoundTrip, public ::testing::WithParamInterface<CharCase> {};

TEST_P(RoundTripCharacters, TextSurvivesAndRtfIsAscii) {
  const CharCase &c = GetParam();
  source.setPlainText(c.text);
  const QByteArray rtf = roundTrip();
  EXPECT_EQ(blockTexts(copy), c.text);
  EXPECT_TRUE(rtf.contains(c.expectedRtf)) << rtf.toStdString();
  for (char b : rtf) ASSERT_LT(static_cast<unsigned char>(b), 0x80) << rtf.toStdString();
}

INSTANTIATE_TEST_SUITE_P(
    Cases, RoundTripCharacters,
    ::testing::Values(CharCase{"cp1252 letters", QStringLiteral("informação"), "informa\\'e7\\'e3o"},
                      CharCase{"euro", QStringLiteral("€ 10"), "\\'80 10"},
                      CharCase{"curly quotes", QStringLiteral("“sim” ‘não’"), "\\'93sim\\'94"},
                      CharCase{"outside the code page", QStringLiteral("Ω≠"), "\\u937?\\u8800?"},
                      CharCase{"above the BMP", QString::fromUcs4(U"a\U0001F697b", 3), "\\u-10179?\\u-8553?"},
                      CharCase{"RTF specials", QStringLiteral("{a}\\b"), "\\{a\\}\\\\b"},
                      CharCase{"tab, line break, no-break space", QStringLiteral("a\tb\u2028c\u00A0d"),
                               "a\\tab b\\line c\\~d"},
                      CharCase{"digits after a control word", QStringLiteral("\t1"), "\\tab 1"},
                      CharCase{"paragraphs", QStringLiteral("um\ndois\n\ntrês"), "um\\par"}),
    [](const ::testing::TestParamInfo<CharCase> &info) {
      std::string name;
      for (const char *p = info.param.name; *p; ++p) name += std::isalnum(static_cast<unsigned char>(*p)) ? *p : '_';
      return name;
    });

TEST_F(RoundTrip, CharacterFormats) {
  QTextCursor cursor(&source);
  QTextCharFormat f;
  f.setFontFamilies({"Times New Roman"});
  f.setFontPointSize(16);
  f.setFontWeight(QFont::Bold);
  f.setFontItalic(true);
  f.setUnderlineStyle(QTextCharFormat::DashUnderline);
  f.setForeground(QColor(200, 10, 20));
  f.setBackground(QColor(250, 250, 0));
  cursor.insertText("A", f);
  QTextCharFormat g;
  g.setFontStrikeOut(true);
  g.setVerticalAlignment(QTextCharFormat::AlignSuperScript);
  g.setUnderlineStyle(QTextCharFormat::SingleUnderline);
  cursor.insertText("B", g);
  QTextCharFormat h;
  h.setVerticalAlignment(QTextCharFormat::AlignSubScript);
  h.setUnderlineStyle(QTextCharFormat::WaveUnderline);
  cursor.insertText("C", h);
  cursor.insertText("D", QTextCharFormat());
  roundTrip();
  ASSERT_EQ(blockTexts(copy), "ABCD");
  const QTextCharFormat a = formatAt(copy, 0);
  EXPECT_EQ(a.fontFamilies().toStringList(), QStringList{"Times New Roman"});
  EXPECT_DOUBLE_EQ(a.fontPointSize(), 16.0);
  EXPECT_EQ(a.fontWeight(), QFont::Bold);
  EXPECT_TRUE(a.fontItalic());
  EXPECT_EQ(a.underlineStyle(), QTextCharFormat::DashUnderline);
  EXPECT_EQ(a.foreground().color(), QColor(200, 10, 20));
  EXPECT_EQ(a.background().color(), QColor(250, 250, 0));
  const QTextCharFormat b = formatAt(copy, 1);
  EXPECT_EQ(b.fontFamilies().toStringList(), QStringList{"Arial"});  // the document's default font
  EXPECT_DOUBLE_EQ(b.fontPointSize(), 10.0);
  EXPECT_NE(b.fontWeight(), QFont::Bold);
  EXPECT_TRUE(b.fontStrikeOut());
  EXPECT_EQ(b.verticalAlignment(), QTextCharFormat::AlignSuperScript);
  EXPECT_EQ(b.underlineStyle(), QTextCharFormat::SingleUnderline);
  EXPECT_FALSE(b.hasProperty(QTextFormat::ForegroundBrush));
  EXPECT_EQ(formatAt(copy, 2).verticalAlignment(), QTextCharFormat::AlignSubScript);
  EXPECT_EQ(formatAt(copy, 2).underlineStyle(), QTextCharFormat::WaveUnderline);
  EXPECT_EQ(formatAt(copy, 3).underlineStyle(), QTextCharFormat::NoUnderline);
  EXPECT_FALSE(formatAt(copy, 3).fontStrikeOut());
}

TEST_F(RoundTrip, ParagraphFormats) {
  QTextCursor cursor(&source);
  QTextBlockFormat a;
  a.setAlignment(Qt::AlignHCenter);
  a.setLeftMargin(48);
  a.setRightMargin(24);
  a.setTextIndent(-12);
  a.setTopMargin(8);
  a.setBottomMargin(4);
  a.setLineHeight(150, QTextBlockFormat::ProportionalHeight);
  a.setTabPositions({QTextOption::Tab(96, QTextOption::LeftTab), QTextOption::Tab(200, QTextOption::RightTab)});
  cursor.setBlockFormat(a);
  cursor.insertText("centro");
  QTextBlockFormat b;
  b.setAlignment(Qt::AlignRight);
  b.setLineHeight(20, QTextBlockFormat::FixedHeight);
  cursor.insertBlock(b);
  cursor.insertText("direita");
  QTextBlockFormat c;
  c.setAlignment(Qt::AlignJustify);
  c.setIndent(2);
  c.setLineHeight(18, QTextBlockFormat::MinimumHeight);
  cursor.insertBlock(c);
  cursor.insertText("justificado");
  roundTrip();
  ASSERT_EQ(copy.blockCount(), 3);
  const QTextBlockFormat ra = copy.findBlockByNumber(0).blockFormat();
  EXPECT_EQ(ra.alignment() & Qt::AlignHorizontal_Mask, Qt::AlignHCenter);
  EXPECT_DOUBLE_EQ(ra.leftMargin(), 48.0);
  EXPECT_DOUBLE_EQ(ra.rightMargin(), 24.0);
  EXPECT_DOUBLE_EQ(ra.textIndent(), -12.0);
  EXPECT_DOUBLE_EQ(ra.topMargin(), 8.0);
  EXPECT_DOUBLE_EQ(ra.bottomMargin(), 4.0);
  EXPECT_EQ(ra.lineHeightType(), QTextBlockFormat::ProportionalHeight);
  EXPECT_DOUBLE_EQ(ra.lineHeight(), 150.0);
  ASSERT_EQ(ra.tabPositions().size(), 2);
  EXPECT_DOUBLE_EQ(ra.tabPositions()[0].position, 96.0);
  EXPECT_EQ(ra.tabPositions()[1].type, QTextOption::RightTab);
  EXPECT_DOUBLE_EQ(ra.tabPositions()[1].position, 200.0);
  const QTextBlockFormat rb = copy.findBlockByNumber(1).blockFormat();
  EXPECT_EQ(rb.alignment() & Qt::AlignHorizontal_Mask, Qt::AlignRight);
  EXPECT_EQ(rb.lineHeightType(), QTextBlockFormat::FixedHeight);
  EXPECT_DOUBLE_EQ(rb.lineHeight(), 20.0);
  EXPECT_DOUBLE_EQ(rb.leftMargin(), 0.0);
  const QTextBlockFormat rc = copy.findBlockByNumber(2).blockFormat();
  EXPECT_EQ(rc.alignment() & Qt::AlignHorizontal_Mask, Qt::AlignJustify);
  EXPECT_DOUBLE_EQ(rc.leftMargin(), 2 * source.indentWidth());  // indent levels become a margin
  EXPECT_EQ(rc.lineHeightType(), QTextBlockFormat::MinimumHeight);
  EXPECT_DOUBLE_EQ(rc.lineHeight(), 18.0);
}

TEST_F(RoundTrip, ListsBecomeIndentedParagraphs) {
  QTextCursor cursor(&source);
  cursor.insertText("Itens:");
  QTextListFormat bullets;
  bullets.setStyle(QTextListFormat::ListDisc);
  bullets.setIndent(1);
  cursor.insertList(bullets);
  cursor.insertText("primeiro");
  cursor.insertBlock();
  cursor.insertText("segundo");
  QTextListFormat numbers;
  numbers.setStyle(QTextListFormat::ListDecimal);
  numbers.setIndent(2);
  cursor.insertBlock();
  cursor.createList(numbers);
  cursor.insertText("um");
  const QByteArray rtf = roundTrip();
  EXPECT_EQ(blockTexts(copy), u"Itens:\n\u2022\tprimeiro\n\u2022\tsegundo\n1.\tum") << rtf.toStdString();
  const QTextBlockFormat first = copy.findBlockByNumber(1).blockFormat();
  EXPECT_DOUBLE_EQ(first.leftMargin(), source.indentWidth());
  EXPECT_DOUBLE_EQ(first.textIndent(), -24.0);
  ASSERT_EQ(first.tabPositions().size(), 1);
  EXPECT_DOUBLE_EQ(first.tabPositions()[0].position, 24.0);  // from the line start to the margin
  EXPECT_DOUBLE_EQ(copy.findBlockByNumber(3).blockFormat().leftMargin(), 2 * source.indentWidth());
}

TEST_F(RoundTrip, LinksAndBookmarks) {
  QTextCursor cursor(&source);
  QTextCharFormat link;
  link.setAnchor(true);
  link.setUnderlineStyle(QTextCharFormat::SingleUnderline);
  link.setForeground(Qt::blue);
  cursor.insertText("ver ", QTextCharFormat());
  link.setAnchorHref("vl:3");
  cursor.insertText("regras", link);
  link.setAnchorHref("vl:4");
  cursor.insertText("outra", link);
  cursor.insertText(" e ", QTextCharFormat());
  link.setAnchorHref("#limites");
  link.setToolTip("dica \"entre aspas\"");
  cursor.insertText("aqui", link);
  link.setAnchorHref("http://exemplo.br/a\\b?c=\"d\"");
  link.setToolTip({});
  cursor.insertText("site", link);
  QTextCharFormat mark;
  mark.setAnchor(true);
  mark.setAnchorNames({"limites", "velocidade"});
  cursor.insertText("X", mark);
  roundTrip();
  ASSERT_EQ(blockTexts(copy), "ver regrasoutra e aquisiteX");
  EXPECT_FALSE(formatAt(copy, 0).isAnchor());
  EXPECT_EQ(formatAt(copy, 4).anchorHref(), "vl:3");
  EXPECT_EQ(formatAt(copy, 9).anchorHref(), "vl:3");
  EXPECT_EQ(formatAt(copy, 10).anchorHref(), "vl:4");
  EXPECT_EQ(formatAt(copy, 10).underlineStyle(), QTextCharFormat::SingleUnderline);
  EXPECT_EQ(formatAt(copy, 10).foreground().color(), QColor(Qt::blue));
  EXPECT_FALSE(formatAt(copy, 15).isAnchor());
  EXPECT_EQ(formatAt(copy, 18).anchorHref(), "#limites");
  EXPECT_EQ(formatAt(copy, 18).toolTip(), "dica \"entre aspas\"");
  EXPECT_EQ(formatAt(copy, 22).anchorHref(), "http://exemplo.br/a\\b?c=\"d\"");
  EXPECT_EQ(formatAt(copy, 26).anchorNames(), (QStringList{"limites", "velocidade"}));
  EXPECT_TRUE(formatAt(copy, 26).anchorHref().isEmpty());
}

TEST_F(RoundTrip, HiddenText) {
  QTextCursor cursor(&source);
  QTextCharFormat marked;
  marked.setProperty(vl::RtfHiddenTextProperty, QStringLiteral("«0»"));
  cursor.insertText("a");
  cursor.insertText("bc", marked);  // both characters carry the text
  cursor.insertText("d", QTextCharFormat());
  QTextBlockFormat tail;
  tail.setProperty(vl::RtfHiddenTextProperty, QStringLiteral("{fim}"));
  cursor.setBlockFormat(tail);
  cursor.insertBlock(QTextBlockFormat());
  cursor.insertText("e", QTextCharFormat());
  roundTrip();
  EXPECT_EQ(blockTexts(copy), "abcd\ne");
  EXPECT_EQ(vl::rtfHiddenRuns(copy), vl::rtfHiddenRuns(source));
  EXPECT_EQ(vl::rtfHiddenRuns(copy).size(), 3);
}

TEST_F(RoundTrip, PicturesAndMetafiles) {
  const QImage image = vl::test::testImage({5, 4});
  source.addResource(QTextDocument::ImageResource, QUrl("png"), image);
  const QByteArray jpeg = vl::test::encodeImage(image.convertToFormat(QImage::Format_RGB32), "JPEG");
  source.addResource(QTextDocument::ImageResource, QUrl("jpeg"), jpeg);
  source.addResource(QTextDocument::ImageResource, QUrl("both"), image);
  const QByteArray wmf = vl::test::tinyWmf(100, 80);
  source.addResource(vl::RtfMetafileResource, vl::rtfMetafileUrl("both"),
                     QVariant::fromValue(vl::RtfMetafile{vl::RtfMetafileKind::Wmf, wmf, 8, QSize(2646, 2117)}));
  QTextCursor cursor(&source);
  QTextImageFormat f;
  f.setName("png");
  cursor.insertImage(f);
  f.setName("jpeg");
  f.setWidth(50);
  f.setHeight(40);
  cursor.insertImage(f);
  f.setName("both");
  f.setWidth(100);
  f.setHeight(80);
  cursor.insertImage(f);
  const QByteArray rtf = roundTrip();
  EXPECT_TRUE(rtf.contains("\\jpegblip"));
  EXPECT_TRUE(rtf.contains("\\wmetafile8"));
  EXPECT_TRUE(rtf.contains(vl::test::hexOf(jpeg).left(64)));  // the original bytes
  ASSERT_EQ(blockTexts(copy), u"\uFFFC\uFFFC\uFFFC");
  const auto imageAt = [this](int position) {
    return vl::test::resourceImage(copy, formatAt(copy, position).toImageFormat().name());
  };
  EXPECT_EQ(imageAt(0).convertToFormat(QImage::Format_ARGB32), image);
  EXPECT_DOUBLE_EQ(formatAt(copy, 0).toImageFormat().width(), 5.0);
  EXPECT_EQ(imageAt(1).size(), QSize(5, 4));
  EXPECT_DOUBLE_EQ(formatAt(copy, 1).toImageFormat().width(), 50.0);
  EXPECT_DOUBLE_EQ(formatAt(copy, 1).toImageFormat().height(), 40.0);
  EXPECT_EQ(imageAt(2).convertToFormat(QImage::Format_ARGB32), image);
  const auto metafile = vl::rtfMetafileFromResource(
      copy.resource(vl::RtfMetafileResource, vl::rtfMetafileUrl(formatAt(copy, 2).toImageFormat().name())));
  ASSERT_TRUE(metafile.has_value());
  EXPECT_EQ(metafile->bytes, wmf);
  EXPECT_EQ(metafile->extent, QSize(2646, 2117));
}

TEST_F(RoundTrip, BlankMetafilePictureKeepsOnlyTheMetafile) {
  const QByteArray wmf = vl::test::tinyWmf(100, 80);
  const QByteArray rtf = "{\\rtf1{\\pict\\wmetafile8\\picw2540\\pich2540 " + vl::test::hexOf(wmf) + "}}";
  vl::readRtf(rtf, &source);
  const QByteArray written = roundTrip();
  EXPECT_FALSE(written.contains("pngblip"));
  const QString name = formatAt(copy, 0).toImageFormat().name();
  EXPECT_TRUE(formatAt(copy, 0).boolProperty(vl::RtfBlankPictureProperty));
  const auto metafile = vl::rtfMetafileFromResource(copy.resource(vl::RtfMetafileResource, vl::rtfMetafileUrl(name)));
  ASSERT_TRUE(metafile.has_value());
  EXPECT_EQ(metafile->bytes, wmf);
  EXPECT_DOUBLE_EQ(formatAt(copy, 0).toImageFormat().width(), 96.0);
}

TEST_F(RoundTrip, WritingARange) {
  source.setPlainText("primeiro\nsegundo bloco\nterceiro");
  const int from = source.findBlockByNumber(1).position() + 8;
  const QByteArray rtf = vl::writeRtf(source, {from, from + 5 + 1 + 4});
  vl::readRtf(rtf, &copy);
  EXPECT_EQ(blockTexts(copy), "bloco\nterc");
}

TEST_F(RoundTrip, WritingWhatWasReadIsStable) {
  vl::readRtf(
      "{\\rtf1\\ansi{\\fonttbl{\\f0 Arial;}{\\f1 Verdana;}}{\\colortbl;\\red0\\green128\\blue0;}"
      "\\pard\\qc\\li360 \\f1\\fs28\\b T\\'edtulo\\b0\\par\\pard\\sa120 Texto {\\v \\'ab1\\'bb}"
      "{\\field{\\*\\fldinst HYPERLINK \"vl:1\"}{\\fldrslt\\cf1\\ul link}} \\u937? fim.}",
      &source);
  const QByteArray once = vl::writeRtf(source);
  vl::readRtf(once, &copy);
  EXPECT_EQ(vl::writeRtf(copy).toStdString(), once.toStdString());
  EXPECT_EQ(blockTexts(copy), u"Título\nTexto link Ω fim.");
}

}  // namespace
