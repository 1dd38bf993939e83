#include <gtest/gtest.h>

#include "support/qt_printers.h"

#include "common/safe_format.h"

using namespace vl;

TEST(SafeFormat, FormatsPlaceholders) {
  struct Case { const char *format; QList<FormatArg> args; const char *expected; } cases[] = {
      {"Módulo já está carregado:|'%s'", {"vl-core.cdb"}, "Módulo já está carregado:\r\n'vl-core.cdb'"},
      {"%d de %d subtopicos lidos", {3, 10}, "3 de 10 subtopicos lidos"},
      {"[0x%.4x]", {2}, "[0x0002]"},
      {"[0x%.4x]", {0x1ABCD}, "[0x1ABCD]"},
      {"%5d|%-5d|", {42, 42}, "   42\r\n42   \r\n"},
      {"%.3d", {-7}, "-007"},
      {"%.2s", {"abc"}, "ab"},
      {"%1:s %0:s %s", {"a", "b"}, "b a b"},
      {"100%%", {}, "100%"},
      {"%.1f %f", {2.26, 1.0}, "2.3 1.00"},
      {"%u", {-1}, "4294967295"},
      {"%D %S", {5, "x"}, "5 x"},
      {"sem nada", {1, "extra"}, "sem nada"},
  };
  for (const Case &c : cases)
    EXPECT_EQ(SafeFormat(QString::fromUtf8(c.format), c.args), QString::fromUtf8(c.expected)) << c.format;
}

TEST(SafeFormat, ReturnsTheExpandedTemplateWhenArgumentsDoNotFit) {
  struct Case { const char *format; QList<FormatArg> args; } cases[] = {
      {"%d de %d subtopicos lidos", {5}},  // too few
      {"%d|x", {"text"}},                  // text for an integer
      {"%s|x", {5}},                       // integer for a text
      {"%f", {5}},                         // integer for a float
      {"%q", {5}},                         // unknown type
      {"tail %", {5}},                     // ends inside a placeholder
      {"%.x", {5}},                        // precision missing
      {"%3:s", {"a"}},                     // index out of range
      {"%999999999d", {1}},                // absurd width
  };
  for (const Case &c : cases) {
    QString expanded = QString::fromUtf8(c.format);
    expanded.replace("|", "\r\n");
    EXPECT_EQ(SafeFormat(QString::fromUtf8(c.format), c.args), expanded) << c.format;
    EXPECT_THROW(Format(expanded, c.args), FormatError) << c.format;
  }
}
