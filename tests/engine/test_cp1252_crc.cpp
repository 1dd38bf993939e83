#include <gtest/gtest.h>
#include <zlib.h>

#include "engine/cp1252.h"
#include "engine/crc.h"

using namespace vl;

TEST(Cp1252, HighBlockRoundTrips) {
  struct Case { unsigned char byte; const char *utf8; };
  const Case cases[] = {{0x80, "€"}, {0x85, "…"}, {0x8A, "Š"}, {0x93, "“"}, {0x96, "–"},
                        {0x9F, "Ÿ"}, {0xE7, "ç"}, {0xC3, "Ã"}, {0xBA, "º"}, {0x41, "A"}};
  for (const auto &c : cases) {
    const std::string byte(1, static_cast<char>(c.byte));
    EXPECT_EQ(cp1252ToUtf8(byte), c.utf8) << int(c.byte);
    EXPECT_EQ(utf8ToCp1252(c.utf8), byte) << c.utf8;
  }
  EXPECT_EQ(cp1252ToUtf8("\x81"), "\xC2\x81");  // unassigned: kept as the C1 control
}

TEST(Cp1252, UnmappableAndMalformedBecomeReplacement) {
  EXPECT_EQ(utf8ToCp1252("a\xE4\xB8\xAD" "b"), "a?b");  // CJK
  EXPECT_EQ(utf8ToCp1252("a\xC3"), "a?");              // truncated sequence
  EXPECT_EQ(utf8ToCp1252("\xFF" "x"), "?x");
}

TEST(Cp1252, UpperCasing) {
  EXPECT_EQ(cp1252Upper(utf8ToCp1252("ação é ÿ œ š ß µ ÷")), utf8ToCp1252("AÇÃO É Ÿ Œ Š ß µ ÷"));
}

TEST(Crc, MatchesZlibAndContinues) {
  const std::string data = "Orvanto\x1A\x01\x01";
  const std::uint32_t start = 0xFADA0005;
  EXPECT_EQ(orvCrc(start, data.data(), data.size()),
            crc32(start, reinterpret_cast<const Bytef *>(data.data()), data.size()));
  const std::uint32_t split = orvCrc(orvCrc(start, data.data(), 3), data.data() + 3, data.size() - 3);
  EXPECT_EQ(split, orvCrc(start, data.data(), data.size()));
  EXPECT_EQ(orvCrc(start, nullptr, 0), start);
}
