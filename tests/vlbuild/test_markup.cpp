// Topic markup rendering and the link scanner.
#include "vlbuild/link_scan.h"
#include "vlbuild/text_markup.h"

#include <QTextBlock>
#include <QTextCursor>
#include <gtest/gtest.h>

using namespace vl::build;

TEST(Markup, BuildsHeadingsParagraphsAndItems)
{
    const RenderedText r = renderMarkup(QStringLiteral("t.txt"), QStringLiteral("# Título\n"
                                                                                "primeira linha\n"
                                                                                "continua aqui\n"
                                                                                "\n"
                                                                                "## Sub\n"
                                                                                "- item um\n"
                                                                                "  segue\n"
                                                                                "- item dois\n"));
    const QTextDocument &d = *r.document;
    ASSERT_EQ(d.blockCount(), 5);
    EXPECT_EQ(d.findBlockByNumber(0).text(), QStringLiteral("Título"));
    EXPECT_GT(d.findBlockByNumber(0).charFormat().fontPointSize(), topicFontPointSize);
    EXPECT_EQ(d.findBlockByNumber(1).text(), QStringLiteral("primeira linha continua aqui"));
    EXPECT_EQ(d.findBlockByNumber(3).text(), QStringLiteral("\u2022 item um segue"));
    EXPECT_GT(d.findBlockByNumber(3).blockFormat().leftMargin(), 0);
    EXPECT_EQ(d.findBlockByNumber(4).text(), QStringLiteral("\u2022 item dois"));
}

TEST(Markup, AppliesInlineFormatsButKeepsLinkMarkupVerbatim)
{
    const RenderedText r = renderMarkup(QStringLiteral("t.txt"),
                                        QStringLiteral("a **negrito** e *itálico* e __sub__ \\*x ~«4AB#c~**ver**» fim"));
    EXPECT_EQ(r.plainText.toStdString(), QStringLiteral("a negrito e itálico e sub *x ~«4AB#c~**ver**» fim").toStdString());
    QTextCursor c(r.document.get());
    c.setPosition(int(r.plainText.indexOf(QStringLiteral("negrito"))) + 1);
    EXPECT_EQ(c.charFormat().fontWeight(), QFont::Bold);
    c.setPosition(int(r.plainText.indexOf(QStringLiteral("itálico"))) + 1);
    EXPECT_TRUE(c.charFormat().fontItalic());
    c.setPosition(int(r.plainText.indexOf(QStringLiteral("sub"))) + 1);
    EXPECT_TRUE(c.charFormat().fontUnderline());
    c.setPosition(int(r.plainText.indexOf(QStringLiteral("fim"))) + 1);
    EXPECT_NE(c.charFormat().fontWeight(), QFont::Bold);
}

TEST(Markup, ReportsUnclosedFormatsAndStrayIndents)
{
    const struct {
        const char *text;
        int line;
    } cases[] = {{"ok\n\nsem **fim\nde linha\n", 3}, {"   recuo solto\n", 1}, {"a\n\n#  \n", 3}, {"a\tb\n", 1}};
    for (const auto &c : cases) {
        int line = -1;
        try {
            renderMarkup(QStringLiteral("t.txt"), QString::fromUtf8(c.text));
        } catch (const BuildError &e) {
            line = e.place().line;
        }
        EXPECT_EQ(line, c.line) << c.text;
    }
}

TEST(LinkScan, SplitsTargetAnchorAndCaption)
{
    const LinkScan s = scanLinks(QStringLiteral("x ~«2CONT0001» y ~«4CONT0001#velocidade~ver regras» "
                                                "~«4#limites~acima» ~«6limites» ~«0~aqui» ~«2AB»"));
    ASSERT_EQ(s.links.size(), 6);
    EXPECT_TRUE(s.malformed.isEmpty());
    EXPECT_EQ(s.links[0].identifier, QStringLiteral("CONT0001"));
    EXPECT_EQ(s.links[0].caption, QStringLiteral("CONT0001"));
    EXPECT_EQ(s.links[1].identifier, QStringLiteral("CONT0001"));
    EXPECT_EQ(s.links[1].anchor, QStringLiteral("velocidade"));
    EXPECT_EQ(s.links[1].caption, QStringLiteral("ver regras"));
    EXPECT_EQ(s.links[2].identifier, QString());
    EXPECT_EQ(s.links[2].anchor, QStringLiteral("limites"));
    EXPECT_EQ(s.links[3].digit, QLatin1Char('6'));
    // A separator in the first position belongs to the body: identifier and caption are "~aqui".
    EXPECT_EQ(s.links[4].identifier, QStringLiteral("~aqui"));
    EXPECT_EQ(s.links[4].caption, QStringLiteral("~aqui"));
    EXPECT_EQ(s.links[5].identifier, QStringLiteral("AB"));
}

TEST(LinkScan, FindsMalformedLinksAndChildLists)
{
    const LinkScan shortOne = scanLinks(QStringLiteral("a ~«2A» b"));
    ASSERT_EQ(shortOne.malformed.size(), 1);
    EXPECT_EQ(shortOne.malformed[0].offset, 2);
    const LinkScan noDigit = scanLinks(QStringLiteral("~«xABCDE» ~«2ABC»"));
    EXPECT_EQ(noDigit.malformed.size(), 1);
    EXPECT_EQ(noDigit.links.size(), 1);
    EXPECT_EQ(scanLinks(QStringLiteral("~«2ABC sem fim")).malformed.size(), 1);
    // A closing quote used as punctuation before a link does not disturb it.
    EXPECT_EQ(scanLinks(QStringLiteral("disse » ok ~«2ABC»")).links.size(), 1);
    EXPECT_EQ(scanLinks(QStringLiteral("~^1\n~^2")).childLists.size(), 2);
    EXPECT_EQ(lineOfOffset(QStringLiteral("a\nb\nc"), 4), 3);
}

TEST(LinkScan, WholeWordMatchesAtBoundariesOnly)
{
    EXPECT_TRUE(containsWholeWord(QStringLiteral("a velocidade máxima"), QStringLiteral("velocidade")));
    EXPECT_TRUE(containsWholeWord(QStringLiteral("velocidade."), QStringLiteral("velocidade")));
    EXPECT_FALSE(containsWholeWord(QStringLiteral("velocidades"), QStringLiteral("velocidade")));
    EXPECT_FALSE(containsWholeWord(QStringLiteral("Velocidade"), QStringLiteral("velocidade")));
}
