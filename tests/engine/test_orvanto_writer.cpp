// The writer's layout and check values, checked against zlib and the fixed offsets of the format.
#include <gtest/gtest.h>
#include <zlib.h>

#include <cstring>

#include "engine/orvanto_bytes.h"
#include "orvanto_test_support.h"

using namespace vl;
using namespace vl::test;

namespace {

std::uint32_t zcrc(std::uint32_t start, const std::uint8_t *data, std::size_t length) {
  return static_cast<std::uint32_t>(crc32(start, data, static_cast<uInt>(length)));
}

std::uint32_t dword(const Image &image, std::size_t at) { return orv::getDword(&image[at]); }
std::uint16_t word(const Image &image, std::size_t at) { return orv::getWord(&image[at]); }

// Stored check of a block with W: crc over W first, then the data.
void expectBlockWithWord(const Image &image, std::size_t at, std::size_t length, const char *what) {
  const std::uint32_t afterWord = zcrc(0xFADA0005, &image[at + length], 2);
  EXPECT_EQ(dword(image, at + length + 2), zcrc(afterWord, &image[at], length)) << what;
}

void expectBlockWithoutWord(const Image &image, std::size_t at, std::size_t length, const char *what) {
  EXPECT_EQ(dword(image, at + length), zcrc(0xFADA0005, &image[at], length)) << what;
}

class RecordingProducer : public OrvantoSectionProducer {
public:
  std::vector<std::uint8_t> produce(std::uint32_t base) override {
    bases.push_back(base);
    Image bytes(8);
    orv::putDword(bytes.data(), base + 143);  // an absolute position computed from the base
    orv::putDword(bytes.data() + 4, 0xC0FFEE);
    return bytes;
  }
  std::vector<std::uint32_t> bases;
};

}  // namespace

TEST(OrvantoWriter, FixedBlocksHoldTheirFieldsAndChecks) {
  OrvantoModuleWriter w = sampleWriter();
  w.setBlockWord(OrvantoBlock::Identification, 0x1234);
  w.setBlockWord(OrvantoBlock::MainHeader, 0xBEEF);
  w.setBlockWord(OrvantoBlock::DirectoryHeader, 7);
  w.setBlockWord(OrvantoBlock::Properties, 0xFFFF);
  OrvantoModuleLayout layout;
  const Image image = w.build(&layout);

  EXPECT_EQ(std::memcmp(image.data(), "Orvanto\x1A\x01\x01", 10), 0);
  EXPECT_EQ(word(image, 10), 0x1234);
  expectBlockWithWord(image, 0, 10, "identification");
  EXPECT_EQ(word(image, 16 + 321), 0xBEEF);
  expectBlockWithWord(image, 16, 321, "main header");
  expectBlockWithWord(image, 343, 10, "directory header");
  expectBlockWithWord(image, 359, 538, "properties");

  EXPECT_EQ(image[16 + 149], 0);                 // password flag
  EXPECT_EQ(word(image, 16 + 150), 0);           // user-area size
  EXPECT_EQ(std::memcmp(&image[16 + 152], sampleGuid().data(), 16), 0);
  EXPECT_EQ(word(image, 343), 4);                // every entry counts, kind 7 included
  EXPECT_EQ(orv::fixedText(&image[359], 128), sampleProperties().title);
  EXPECT_EQ(dword(image, 359 + 128), 0x030104C8u);
  EXPECT_EQ(image[359 + 132], 1);
  EXPECT_EQ(image[359 + 147], 0xF1);
  EXPECT_EQ(orv::fixedText(&image[359 + 154], 128), sampleProperties().text);
  EXPECT_EQ(orv::fixedText(&image[359 + 282], 256), sampleProperties().description);
  EXPECT_EQ(layout.firstEntryPosition, 903u);
  EXPECT_EQ(layout.userAreaPosition, 0u);
  EXPECT_EQ(layout.fileSize, image.size());
}

TEST(OrvantoWriter, DirectoryIsChainedThroughEntryContent) {
  OrvantoModuleLayout layout;
  const Image image = sampleWriter().build(&layout);
  ASSERT_EQ(layout.entries.size(), 4u);
  const std::size_t contentSizes[] = {40, 3, 0, 1000};
  std::uint32_t expected = 903;
  for (std::size_t i = 0; i < layout.entries.size(); ++i) {
    const auto &e = layout.entries[i];
    EXPECT_EQ(e.position, expected) << i;
    EXPECT_EQ(dword(image, e.position), e.position) << i;
    EXPECT_EQ(dword(image, e.position + 4), e.nextPosition) << i;
    EXPECT_EQ(e.nextPosition, e.position + 143 + contentSizes[i]) << i;
    EXPECT_EQ(image[e.position + 8], e.kind) << i;
    EXPECT_EQ(orv::fixedText(&image[e.position + 9], 128), e.name) << i;
    expectBlockWithoutWord(image, e.position, 137, "entry");
    expected = e.nextPosition;
  }
  EXPECT_EQ(image[layout.entries[0].position + 143], 0xAB);  // content right after the spare bytes
  EXPECT_EQ(layout.footerPosition, expected);
  EXPECT_EQ(image[layout.footerPosition + 8], 1);
  EXPECT_EQ(dword(image, layout.footerPosition), layout.footerPosition);
  expectBlockWithoutWord(image, layout.footerPosition, 137, "footer");
  EXPECT_EQ(image.size(), layout.footerPosition + 141u);
}

TEST(OrvantoWriter, ProducerGetsTheEntryPositionAsBase) {
  auto producer = std::make_shared<RecordingProducer>();
  OrvantoModuleWriter w;
  w.setUserArea(Image(10, 0x42));
  w.addTable("a", producer);
  w.addTable("b", producer);
  OrvantoModuleLayout layout;
  const Image image = w.build(&layout);
  EXPECT_EQ(layout.userAreaPosition, 903u);
  EXPECT_EQ(word(image, 16 + 150), 10);
  EXPECT_EQ(dword(image, 903 + 10), zcrc(0xFADA0005, &image[903], 10));  // the user area's 4 trailing bytes
  ASSERT_EQ(producer->bases.size(), 2u);
  EXPECT_EQ(producer->bases[0], 903u + 10 + 4);
  EXPECT_EQ(producer->bases[1], producer->bases[0] + 143 + 8);
  for (const auto base : producer->bases) EXPECT_EQ(dword(image, base + 143), base + 143);
}

TEST(OrvantoWriter, RejectsTextsThatDoNotFit) {
  OrvantoModuleWriter w;
  EXPECT_THROW(w.addTable(std::string(128, 'x')), std::length_error);
  EXPECT_NO_THROW(w.addTable(std::string(127, 'x')));
  OrvantoModuleProperties p;
  p.title = std::string(128, 't');
  w.setProperties(p);
  EXPECT_THROW(w.build(), std::length_error);
  p.title = std::string(127, 't');
  p.description = std::string(256, 'd');
  w.setProperties(p);
  EXPECT_THROW(w.build(), std::length_error);
  EXPECT_THROW(w.setUserArea(Image(65536)), std::length_error);
}

TEST(OrvantoWriter, SealRecomputesAPatchedBlock) {
  Image image = sampleWriter().build();
  const Image original = image;
  image[16 + 149] = 1;
  orvSealBlock(image, 16, 321, true);
  expectBlockWithWord(image, 16, 321, "resealed main header");
  EXPECT_NE(dword(image, 16 + 323), dword(original, 16 + 323));
  EXPECT_THROW(orvSealBlock(image, image.size() - 10, 137, false), std::out_of_range);
}

TEST(OrvantoWriter, WriteFileReplacesTheTarget) {
  TempFile file;
  file.write(Image(5, 1));
  sampleWriter().writeFile(file.path());
  std::ifstream in(file.path(), std::ios::binary);
  const Image written((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  EXPECT_EQ(written, sampleWriter().build());
  EXPECT_FALSE(std::filesystem::exists(file.path() + ".tmp"));
  EXPECT_THROW(sampleWriter().writeFile("/nonexistent-folder/x.cdb"), std::runtime_error);
}
