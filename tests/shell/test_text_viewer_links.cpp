#include <gtest/gtest.h>

#include <QTextCursor>
#include <QTextDocument>

#include "shell/text_viewer_find.h"
#include "shell/text_viewer_links.h"
#include "support/qt_application.h"
#include "support/qt_printers.h"
#include "text_viewer_fixtures.h"

using namespace vl;
using vltest::Span;

namespace {

class LinkMarkupTest : public ::testing::Test {
 protected:
  void SetUp() override { vltest::application(); }
  // Resolves a plain text; returns the visible text.
  QString resolve(const QString &text) {
    document.setPlainText(text);
    links.clear();
    resolveLinks(document, links, treeTopicLookup(fixture.tree));
    return document.toPlainText();
  }
  vltest::LinkTree fixture;
  QTextDocument document;
  TopicLinks links;
};

}  // namespace

TEST_F(LinkMarkupTest, ResolvesEveryDigitAndDegradation) {
  struct Case {
    const char *markup;
    const char *visible;
    std::vector<Span> spans;
    int kind;  // of link 0; 0 when no link
    const char *target;
    const char *anchor;
  };
  const Case cases[] = {
      {"~«2CONT0001»", "Velocidade", {{"Velocidade", "vl:0"}}, LinkTopic, "", ""},
      {"Veja ~«1cont0001».", "Veja Limites de velocidade.", {{"Limites de velocidade", "vl:0"}}, LinkTopic, "", ""},
      {"a ~«3Velocidade» b", "a velocidade b", {{"velocidade", "vl:0"}}, LinkTopic, "", ""},
      {"~«8Limites de velocidade~x»", "Velocidade", {{"Velocidade", "vl:0"}}, LinkTopic, "", ""},
      {"~«4CONT0001#velocidade~ver regras»", "ver regras", {{"ver regras", "vl:0"}}, LinkTopic, "", "velocidade"},
      {"~«0~aqui»", "~aqui", {{"~aqui", "vl:0"}}, LinkExternal, "~aqui", ""},
      {"~«0https://www.gov.br/transito~portal»", "portal", {{"portal", "vl:0"}}, LinkExternal, "https://www.gov.br/transito", ""},
      {"~«5R-1~placa Pare»", "placa Pare", {{"placa Pare", "vl:0"}}, LinkLegend, "R-1", ""},
      {"~«7SOBRE~Sobre»", "Sobre", {{"Sobre", "vl:0"}}, LinkCommand, "SOBRE", ""},
      {"~«9#limites~acima»", "acima", {{"acima", "vl:0"}}, LinkAnchor, "", "limites"},
      // six characters are a link; five are not, and the scan stops there
      {"~«2AB» ~«2A» ~«2CONT0001»", "Ab ~«2A» ~«2CONT0001»", {{"Ab", "vl:0"}}, LinkTopic, "", ""},
      // no digit: stays as written and the scan goes on
      {"~«xyz» ~«2CONT0001»", "~«xyz» Velocidade", {{"Velocidade", "vl:0"}}, LinkTopic, "", ""},
      {"~«abc» ~«def» ~«2SINA0001»", "~«abc» ~«def» Sinais", {{"Sinais", "vl:0"}}, LinkTopic, "", ""},
      // unknown topic: its caption as plain text, or the markup when there is none
      {"~«2NADA0001~outro tópico»", "outro tópico", {}, 0, "", ""},
      {"~«2NADA0001» fim", "NADA0001 fim", {}, 0, "", ""},
      {"~«2NADA0001~» ~«2CONT0001»", "~«2NADA0001~» Velocidade", {{"Velocidade", "vl:0"}}, LinkTopic, "", ""},
      {"~«2#~nada» x", "~«2#~nada» x", {}, 0, "", ""},
      // a » used as a quotation mark before the links
      {"Ele disse: » ~«2CONT0001»", "Ele disse: » Velocidade", {{"Velocidade", "vl:0"}}, LinkTopic, "", ""},
      {"Sem marcação.", "Sem marcação.", {}, 0, "", ""},
  };
  for (const Case &c : cases) {
    SCOPED_TRACE(c.markup);
    EXPECT_EQ(resolve(QString::fromUtf8(c.markup)), QString::fromUtf8(c.visible));
    std::vector<Span> expected;
    for (const Span &s : c.spans) expected.push_back({QString::fromUtf8(s.text.toUtf8()), s.href});
    EXPECT_EQ(vltest::linkSpans(document), expected);
    if (c.kind == 0) {
      EXPECT_TRUE(links.empty());
      continue;
    }
    ASSERT_FALSE(links.empty());
    EXPECT_EQ(links[0].data.kind, c.kind);
    EXPECT_EQ(links[0].data.target, QString::fromUtf8(c.target));
    EXPECT_EQ(links[0].data.anchor, QString::fromUtf8(c.anchor));
    EXPECT_EQ(links[0].displayText, expected.front().text);
  }
}

TEST_F(LinkMarkupTest, TopicLinksPointAtTheFirstMatchingNodeAndNumberInOrder) {
  EXPECT_EQ(resolve(QStringLiteral("~«2CONT0001» e ~«2Tópico AB» e ~«4LEGI0001~lei»")), QStringLiteral("Velocidade e Ab e lei"));
  ASSERT_EQ(links.size(), 3u);
  EXPECT_EQ(QModelIndex(links[0].data.node), fixture.speed);
  EXPECT_EQ(QModelIndex(links[1].data.node), fixture.ab);
  EXPECT_EQ(QModelIndex(links[2].data.node), fixture.legislation);
  EXPECT_EQ(links[2].data.caption, QStringLiteral("lei"));
  EXPECT_EQ(vltest::linkSpans(document),
            (std::vector<Span>{{"Velocidade", "vl:0"}, {"Ab", "vl:1"}, {"lei", "vl:2"}}));
  EXPECT_EQ(linkPosition(document, 1), QStringLiteral("Velocidade e ").size());
  EXPECT_EQ(linkPosition(document, 3), -1);
}

TEST_F(LinkMarkupTest, LinksKeepTheFormatOfTheirMarkup) {
  document.setHtml(QStringLiteral("<p>antes <b>~«2CONT0001»</b> depois</p>"));
  resolveLinks(document, links, treeTopicLookup(fixture.tree));
  QTextCursor cursor(&document);
  cursor.setPosition(QStringLiteral("antes V").size());
  EXPECT_EQ(cursor.charFormat().fontWeight(), QFont::Bold);
  EXPECT_TRUE(cursor.charFormat().isAnchor());
  EXPECT_TRUE(cursor.charFormat().fontUnderline());
  cursor.setPosition(document.toPlainText().size());
  EXPECT_FALSE(cursor.charFormat().isAnchor());
}

TEST_F(LinkMarkupTest, AnchorMarksBecomeInvisibleNamedPositions) {
  EXPECT_EQ(resolve(QStringLiteral("~«4#limites~acima» texto\n~«6limites»Limites aqui\nfim~«6final»\n~«6aa»~«6bb»x")),
            QStringLiteral("acima texto\nLimites aqui\nfim\nx"));
  EXPECT_EQ(anchorPosition(document, QStringLiteral("limites")), QStringLiteral("acima texto\n").size());
  EXPECT_EQ(anchorPosition(document, QStringLiteral("final")), QStringLiteral("acima texto\nLimites aqui\nfim").size());
  const int x = QStringLiteral("acima texto\nLimites aqui\nfim\n").size();
  EXPECT_EQ(anchorPosition(document, QStringLiteral("aa")), x);
  EXPECT_EQ(anchorPosition(document, QStringLiteral("bb")), x);
  EXPECT_EQ(anchorPosition(document, QStringLiteral("outra")), -1);
  EXPECT_EQ(anchorNames(document), (QStringList{"limites", "final", "aa", "bb"}));
  ASSERT_EQ(links.size(), 1u);  // the marks make no entries
}

TEST_F(LinkMarkupTest, AnAnchorMarkBeforeALinkStaysBeforeTheLinkText) {
  EXPECT_EQ(resolve(QStringLiteral("x ~«6alvo»~«2CONT0001» y")), QStringLiteral("x Velocidade y"));
  EXPECT_EQ(anchorPosition(document, QStringLiteral("alvo")), 2);
  EXPECT_EQ(linkPosition(document, 0), 2);
}

TEST_F(LinkMarkupTest, ChildListExpandsTheFirstMarkerOnly) {
  struct Case {
    const char *text;
    QModelIndex node;
    const char *visible;
    std::vector<Span> spans;
  };
  const Case cases[] = {
      {"Tópicos:\n~^1\nfim ~^2", fixture.speed,
       "Tópicos:\nTítulo da via 1\nTítulo da via 2\nTítulo da via 3\nfim ~^2",
       {{"Título da via 1", "vl:1"}, {"Título da via 2", "vl:2"}, {"Título da via 3", "vl:3"}}},
      {"~^3", fixture.speed, "via tipo 1\nvia tipo 2\nvia tipo 3",
       {{"via tipo 1", "vl:1"}, {"via tipo 2", "vl:2"}, {"via tipo 3", "vl:3"}}},
      {"~^0", fixture.speed, "link\nlink\nlink", {{"link", "vl:1"}, {"link", "vl:2"}, {"link", "vl:3"}}},
      // without a digit the marker alone goes; digit 0 shows "link"
      {"~^x", fixture.speed, "link\nlink\nlinkx", {{"link", "vl:1"}, {"link", "vl:2"}, {"link", "vl:3"}}},
      {"antes ~^2 depois", fixture.sign, "antes  depois", {}},
  };
  for (const Case &c : cases) {
    SCOPED_TRACE(c.text);
    document.setPlainText(QString::fromUtf8(c.text));
    links.clear();
    links.push_back(TopicLink{QStringLiteral("outro"), TAutoLinkData(LinkExternal, QStringLiteral("x"), {}, {})});
    EXPECT_TRUE(expandChildList(document, links, childTopics(fixture.tree, c.node)));
    EXPECT_EQ(document.toPlainText(), QString::fromUtf8(c.visible));
    std::vector<Span> expected;
    for (const Span &s : c.spans) expected.push_back({s.text, s.href});
    EXPECT_EQ(vltest::linkSpans(document), expected);
    EXPECT_EQ(links.size(), 1 + expected.size());
    for (size_t i = 1; i < links.size(); ++i) {
      EXPECT_EQ(links[i].data.kind, LinkTopic);
      EXPECT_EQ(QModelIndex(links[i].data.node), fixture.children[i - 1]);
    }
  }
  document.setPlainText(QStringLiteral("sem lista"));
  EXPECT_FALSE(expandChildList(document, links, {}));
}

TEST_F(LinkMarkupTest, AddressesAreDetectedInTextsWithoutLinks) {
  document.setPlainText(QStringLiteral("Veja www.gov.br/transito, ou https://a.example/b?c=1. E mailto:x@y.br! Não: http:// e ab.www.c"));
  EXPECT_EQ(detectAddresses(document), 3);
  EXPECT_EQ(vltest::linkSpans(document),
            (std::vector<Span>{{"www.gov.br/transito", "www.gov.br/transito"},
                               {"https://a.example/b?c=1", "https://a.example/b?c=1"},
                               {"mailto:x@y.br", "mailto:x@y.br"}}));
  EXPECT_TRUE(isAddressHref(QStringLiteral("www.gov.br")));
  EXPECT_FALSE(isAddressHref(QStringLiteral("vl:0")));
}

TEST(LinkNumbers, ReadBackFromTheLinkText) {
  const struct {
    const char *href;
    int n;
  } cases[] = {{"vl:0", 0}, {"vl:17", 17}, {"vl:", -1}, {"vl:x", -1}, {"vl:-1", -1}, {"www.gov.br", -1}, {"", -1}};
  for (const auto &c : cases) EXPECT_EQ(linkNumber(QLatin1String(c.href)), c.n) << c.href;
  EXPECT_EQ(linkHref(5), QStringLiteral("vl:5"));
}

TEST_F(LinkMarkupTest, FindsWholeWordsAndSections) {
  document.setPlainText(QStringLiteral("velocidades e Velocidade e velocidade\nArt. 1 texto\nArt. 2 texto\nArt. 3"));
  const QTextCursor word = findWord(document, QStringLiteral("velocidade"));
  ASSERT_FALSE(word.isNull());
  EXPECT_EQ(word.selectionStart(), QStringLiteral("velocidades e Velocidade e ").size());
  EXPECT_TRUE(findWord(document, QStringLiteral("veloc")).isNull());

  const int art1 = document.toPlainText().indexOf(QStringLiteral("Art. 1"));
  const int art2 = document.toPlainText().indexOf(QStringLiteral("Art. 2"));
  const int art3 = document.toPlainText().indexOf(QStringLiteral("Art. 3"));
  EXPECT_EQ(sectionPosition(document, QStringLiteral("Art"), 0, true), art1);
  EXPECT_EQ(sectionPosition(document, QStringLiteral("Art"), art1, true), art2);  // from caret + 1
  EXPECT_EQ(sectionPosition(document, QStringLiteral("Art"), art3, true), -1);
  EXPECT_EQ(sectionPosition(document, QStringLiteral("Art"), art3, false), art2);
  EXPECT_EQ(sectionPosition(document, QStringLiteral("Art"), art1, false), -1);
  EXPECT_EQ(sectionPosition(document, QStringLiteral("art"), 0, true), -1);  // matching case
  EXPECT_EQ(sectionPosition(document, QStringLiteral(" "), 0, true), -1);    // blank marker

  FindRequest request{QStringLiteral("VELOCIDADE"), true, false, true};
  QTextCursor from(&document);
  QTextCursor found = findFrom(document, from, request);
  EXPECT_EQ(found.selectionStart(), QStringLiteral("velocidades e ").size());
  found = findFrom(document, found, request);
  EXPECT_EQ(found.selectionStart(), QStringLiteral("velocidades e Velocidade e ").size());
  request.down = false;
  found = findFrom(document, found, request);
  EXPECT_EQ(found.selectionStart(), QStringLiteral("velocidades e ").size());
  request.matchCase = true;
  EXPECT_TRUE(findFrom(document, from, FindRequest{QStringLiteral("VELOCIDADE"), false, true, true}).isNull());
}
