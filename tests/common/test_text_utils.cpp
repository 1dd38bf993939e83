#include <gtest/gtest.h>

#include "support/qt_printers.h"

#include "common/text_utils.h"

using namespace vl;

TEST(TextUtils, BreakMarks) {
  EXPECT_EQ(ExpandBreaks("a|b||c"), QString("a\r\nb\r\n\r\nc"));
  EXPECT_EQ(CollapseBreaks("a\r\nb\r\n\r\nc"), QString("a|b||c"));
  EXPECT_EQ(CollapseBreaks("a\nb\rc"), QString("a|b|c"));
  EXPECT_EQ(CollapseBreaks(ExpandBreaks("x|y|")), QString("x|y|"));
}

TEST(TextUtils, CleanCaption) {
  struct Case { const char *caption; bool dropDots; const char *expected; } cases[] = {
      {"&Configurar Página...", true, "Configurar Página"},
      {"Sai&r", true, "Sair"},
      {"&Sobre...", false, "Sobre..."},
      {"  &A && B  ", false, "A && B"},  // only the first ampersand goes
      {"Texto.", true, "Texto."},
      {"Salvar....", true, "Salvar."},
      {"", true, ""},
  };
  for (const Case &c : cases)
    EXPECT_EQ(CleanCaption(QString::fromUtf8(c.caption), c.dropDots), QString::fromUtf8(c.expected)) << c.caption;
}

TEST(TextUtils, IsBlank) {
  EXPECT_TRUE(IsBlank(""));
  EXPECT_TRUE(IsBlank(" \t\r\n"));
  EXPECT_FALSE(IsBlank(" x "));
}

TEST(TextUtils, ListItem) {
  const QString text = "NOME, CODIGO,,DESCRICAO";
  struct Case { int n; const char *expected; } cases[] = {
      {0, "NOME"}, {1, "CODIGO"}, {2, "def"}, {3, "DESCRICAO"}, {4, "def"}, {-1, "def"},
  };
  for (const Case &c : cases) EXPECT_EQ(ListItem(text, c.n, "def", u','), QString(c.expected)) << c.n;
  EXPECT_EQ(ListItem("a;b", 1, "", u';'), QString("b"));
  EXPECT_EQ(ListItem("", 0, "def"), QString("def"));
  EXPECT_EQ(ListItem("  ,x", 0, "def"), QString("def"));
}

TEST(TextUtils, Shorten) {
  const QString forty = "Sinalizacao vertical de regulamentacao!";  // 39 characters + 1
  const QString text = forty + "x";
  ASSERT_EQ(text.size(), 40);
  // The first 17 characters are "Sinalizacao verti"; at a word boundary that is "Sinalizacao".
  EXPECT_EQ(Shorten(text, 20, false), QString("Sinalizacao..."));
  EXPECT_EQ(Shorten(text, 20, true), QString("Sinalizacao verti..."));
  EXPECT_EQ(Shorten("Placa de pare e siga", 16, true), QString("Placa de pare..."));  // "Placa de pare " trimmed
  EXPECT_EQ(Shorten("abcdefghijklmnop", 10, false), QString("abcdefg..."));  // no blank: cut anywhere
  EXPECT_EQ(Shorten("short", 5, false), QString("short"));
  EXPECT_EQ(Shorten("abcdef", 2, false), QString("..."));
}

TEST(TextUtils, ReplaceLimited) {
  struct Case { const char *text, *pattern, *replacement; int max; const char *expected; } cases[] = {
      {"a-b-c-d", "-", "+", 0, "a+b+c+d"}, {"a-b-c-d", "-", "+", 2, "a+b+c-d"}, {"a-b", "-", "+", 5, "a+b"},
      {"aAaA", "a", "x", 0, "xAxA"},       {"aaa", "aa", "b", 0, "ba"},       {"abc", "", "x", 0, "abc"},
      {"--", "-", "--", 0, "----"},
  };
  for (const Case &c : cases)
    EXPECT_EQ(ReplaceLimited(c.text, c.pattern, c.replacement, c.max), QString(c.expected)) << c.text << c.max;
}

TEST(TextUtils, PositionOfNth) {
  struct Case { const char *pattern, *text; int n, expected; } cases[] = {
      {"|", "a|b|c", 1, 2}, {"|", "a|b|c", 2, 4}, {"|", "a|b|c", 3, 0}, {"|", "a|b|c", 0, 0},
      {"aa", "aaaa", 2, 2}, {"x", "", 1, 0},     {"B", "abAB", 1, 4},
  };
  for (const Case &c : cases) EXPECT_EQ(PositionOfNth(c.pattern, c.text, c.n), c.expected) << c.text << c.n;
}
