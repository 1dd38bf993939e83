#include <gtest/gtest.h>

#include "common/cp1252_qt.h"

using namespace vl;

TEST(Cp1252Qt, RoundTripsPortugueseText) {
  const QString text = QStringLiteral("Sinalização “vertical” – €5… ção");
  const QByteArray bytes = toCp1252(text);
  EXPECT_EQ(bytes.size(), text.size());
  EXPECT_EQ(fromCp1252(bytes), text);
  EXPECT_EQ(toCp1252(QString::fromUtf8("x\xF0\x9F\x9A\x97y")), QByteArray("x?y"));  // outside the BMP
}
