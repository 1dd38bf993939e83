// HYPERLINK field instructions: parsing what editors write, and what the writer writes.
#include "common/rtf_field.h"
#include "test_rtf_helpers.h"

namespace {

struct FieldCase {
  const char *instruction;
  bool hyperlink;
  const char *href;
  const char *toolTip;
};

class HyperlinkInstruction : public ::testing::TestWithParam<FieldCase> {};

TEST_P(HyperlinkInstruction, Parses) {
  const FieldCase &c = GetParam();
  const auto field = vl::rtf::parseHyperlinkInstruction(QString::fromUtf8(c.instruction));
  ASSERT_EQ(field.has_value(), c.hyperlink);
  if (!field) return;
  EXPECT_EQ(field->href, QString::fromUtf8(c.href));
  EXPECT_EQ(field->toolTip, QString::fromUtf8(c.toolTip));
}

INSTANTIATE_TEST_SUITE_P(Cases, HyperlinkInstruction,
                         ::testing::Values(FieldCase{"HYPERLINK \"http://a.b/c\"", true, "http://a.b/c", ""},
                                           FieldCase{"  hyperlink   vl:3  ", true, "vl:3", ""},
                                           FieldCase{"HYPERLINK \\l \"marca\"", true, "#marca", ""},
                                           FieldCase{"HYPERLINK \"doc.rtf\" \\l \"x\" \\o \"dica\" \\n", true,
                                                     "doc.rtf#x", "dica"},
                                           FieldCase{"HYPERLINK \"C:\\\\dir\\\\a \\\"b\\\"\"", true,
                                                     "C:\\dir\\a \"b\"", ""},
                                           FieldCase{"HYPERLINK \"sem fim", true, "sem fim", ""},
                                           FieldCase{"HYPERLINK", false, "", ""},
                                           FieldCase{"HYPERLINK \\o \"só dica\"", false, "", ""},
                                           FieldCase{"PAGE \\* MERGEFORMAT", false, "", ""},
                                           FieldCase{"", false, "", ""}));

TEST(HyperlinkInstruction, WriterTextParsesBack) {
  for (const QString &href : {QStringLiteral("vl:3"), QStringLiteral("#anchor"), QStringLiteral("a\\b \"c\"")}) {
    const auto field = vl::rtf::parseHyperlinkInstruction(vl::rtf::hyperlinkInstruction(href, "t \"x\""));
    ASSERT_TRUE(field.has_value()) << href.toStdString();
    EXPECT_EQ(field->href, href);
    EXPECT_EQ(field->toolTip, "t \"x\"");
  }
}

}  // namespace
