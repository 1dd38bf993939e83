// The positioning and exact-read layer.
#include <gtest/gtest.h>

#include <cerrno>
#include <numeric>

#include "engine/orvanto_block.h"
#include "engine/orvanto_error.h"
#include "engine/orvanto_file.h"
#include "engine/writer/byte_buffer.h"
#include "orvanto_test_support.h"

using namespace vl;
using namespace vl::test;

namespace {

Image counting(std::size_t size) {
  Image bytes(size);
  for (std::size_t i = 0; i < size; ++i) bytes[i] = static_cast<std::uint8_t>(i * 7 + i / 256);
  return bytes;
}

void expectIoError(const std::function<void()> &work, std::uint16_t operation, std::uint32_t detail) {
  try {
    work();
    ADD_FAILURE() << "no I/O error";
  } catch (const EOrvanto_IO_Error &e) {
    EXPECT_EQ(e.operation(), operation);
    EXPECT_EQ(e.detail(), detail);
  }
}

}  // namespace

TEST(OrvantoFile, ReadsExactlyAcrossTheBuffer) {
  const Image content = counting(200000);
  TempFile file(content);
  OrvantoFile f;
  ASSERT_EQ(f.open(file.path()), 0u);
  EXPECT_EQ(f.size(), content.size());
  // Reads of many sizes at many places, small ones through the buffer, large ones around it.
  const std::pair<std::uint64_t, std::size_t> reads[] = {
      {0, 1}, {1, 10}, {65530, 20}, {65536, 1}, {100, 70000}, {131071, 2}, {199990, 10}, {5, 199995}};
  for (const auto &[offset, count] : reads) {
    Image out(count);
    f.readAt(offset, out.data(), count);
    EXPECT_TRUE(std::equal(out.begin(), out.end(), content.begin() + static_cast<std::ptrdiff_t>(offset)))
        << offset << "+" << count;
    EXPECT_EQ(f.position(), offset + count);
  }
  f.seek(10);
  f.seekRelative(-4);
  EXPECT_EQ(f.readByte(), content[6]);
  f.seekRelative(3);
  EXPECT_EQ(f.readWord(), content[10] | content[11] << 8);
  EXPECT_EQ(f.position(), 12u);
  f.read(nullptr, 0);
  EXPECT_EQ(f.position(), 12u);
}

TEST(OrvantoFile, ShortReadsAndBadPositionsRaise) {
  TempFile file(counting(100));
  OrvantoFile f;
  ASSERT_EQ(f.open(file.path()), 0u);
  expectIoError([&] { f.readAt(95, Image(6).data(), 6); }, 123, 6);
  expectIoError([&] { f.readAt(100, Image(1).data(), 1); }, 123, 1);
  expectIoError([&] { f.readAt(5000, Image(70000).data(), 70000); }, 123, 70000);
  f.seek(10);
  expectIoError([&] { f.seekRelative(-11); }, 122, 0xFFFFFFFFu);
  f.seek(1000);  // positioning past the end succeeds; reading there does not
  expectIoError([&] { f.readDword(); }, 123, 4);
  f.close();
  expectIoError([&] { f.readByte(); }, 123, 1);
}

TEST(OrvantoFile, OpenReportsThePlatformError) {
  TempFile missing;
  OrvantoFile f;
  EXPECT_EQ(f.open(missing.path()), static_cast<std::uint32_t>(ENOENT));
  EXPECT_FALSE(f.isOpen());
  EXPECT_EQ(f.open("/"), static_cast<std::uint32_t>(EISDIR));
}

TEST(OrvantoFile, ProtectedBlockReadsDataWordAndCheck) {
  OrvantoByteBuffer image;
  const char data[] = "abcdef";
  image.putBytes(data, 6);
  image.putWord(0x0102);
  image.putDword(orv::blockCheck(data, 6, std::uint16_t{0x0102}));
  image.putBytes(data, 6);
  image.putDword(orv::blockCheck(data, 6, std::nullopt, 0xFADA0001));
  TempFile file(image.bytes());
  OrvantoFile f;
  ASSERT_EQ(f.open(file.path()), 0u);
  char out[6];
  EXPECT_TRUE(orv::readProtectedBlock(f, out, 6, true));
  EXPECT_EQ(f.position(), 12u);
  EXPECT_TRUE(orv::readProtectedBlock(f, out, 6, false, 0xFADA0001));
  f.seek(0);
  EXPECT_FALSE(orv::readProtectedBlock(f, out, 6, false));  // W missing from the check
}
