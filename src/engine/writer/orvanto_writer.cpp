#include "engine/writer/orvanto_writer.h"

#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <limits>
#include <stdexcept>

#include "engine/cp1252.h"
#include "engine/orvanto_block.h"
#include "engine/orvanto_bytes.h"
#include "engine/os_error_text.h"
#include "engine/writer/byte_buffer.h"

namespace vl {

using namespace orv;

namespace {

// Appends data, W and the check of a protected block.
void putProtected(OrvantoByteBuffer &out, const OrvantoByteBuffer &data, std::optional<std::uint16_t> word) {
  out.putBytes(data.bytes());
  if (word) out.putWord(*word);
  out.putDword(blockCheck(data.bytes().data(), data.size(), word));
}

std::uint32_t checkedPosition(std::uint64_t position) {
  if (position > std::numeric_limits<std::uint32_t>::max())
    throw std::length_error("module file larger than 4 GiB");
  return static_cast<std::uint32_t>(position);
}

OrvantoByteBuffer entryData(std::uint32_t self, std::uint32_t next, std::uint8_t kind, const std::string &name) {
  OrvantoByteBuffer data;
  data.putDword(self);
  data.putDword(next);
  data.putByte(kind);
  data.putFixedText(name, kEntryNameSize);
  return data;
}

}  // namespace

std::uint32_t OrvantoModuleWriter::packVersion(std::uint8_t a, std::uint8_t b, std::uint8_t c, std::uint8_t d) {
  return static_cast<std::uint32_t>(a) << 24 | static_cast<std::uint32_t>(b) << 16 |
         static_cast<std::uint32_t>(c) << 8 | d;
}

void OrvantoModuleWriter::setFormatVersion(std::uint8_t major, std::uint8_t minor) {
  major_ = major;
  minor_ = minor;
}

void OrvantoModuleWriter::setPasswordFlag(std::uint8_t flag) { passwordFlag_ = flag; }

void OrvantoModuleWriter::setGuid(const std::array<std::uint8_t, kGuidSize> &guid) { guid_ = guid; }

void OrvantoModuleWriter::setProperties(const OrvantoModuleProperties &properties) { properties_ = properties; }

void OrvantoModuleWriter::setUserArea(std::vector<std::uint8_t> bytes) {
  if (bytes.size() > std::numeric_limits<std::uint16_t>::max())
    throw std::length_error("user area larger than 65535 bytes");
  userArea_ = std::move(bytes);
}

void OrvantoModuleWriter::setBlockWord(OrvantoBlock block, std::uint16_t word) {
  words_[static_cast<std::size_t>(block)] = word;
}

void OrvantoModuleWriter::addTable(std::string name, std::shared_ptr<OrvantoSectionProducer> producer) {
  addEntry(kKindTable, std::move(name), std::move(producer));
}

void OrvantoModuleWriter::addEntry(std::uint8_t kind, std::string name,
                                   std::shared_ptr<OrvantoSectionProducer> producer) {
  if (name.size() > kMaxTableNameLength)
    throw std::length_error("table name longer than 127 characters: " + name);
  if (entries_.size() == std::numeric_limits<std::uint16_t>::max())
    throw std::length_error("more than 65535 directory entries");
  entries_.push_back({kind, std::move(name), std::move(producer)});
}

std::vector<std::uint8_t> OrvantoModuleWriter::build(OrvantoModuleLayout *layoutOut) const {
  OrvantoModuleLayout layout;
  OrvantoByteBuffer out;
  const auto word = [&](OrvantoBlock block) { return std::optional(words_[static_cast<std::size_t>(block)]); };

  OrvantoByteBuffer id;
  id.putBytes(kMagic, sizeof kMagic);
  id.putByte(major_);
  id.putByte(minor_);
  putProtected(out, id, word(OrvantoBlock::Identification));

  OrvantoByteBuffer main;
  main.putZeros(kPasswordFlagOffset);
  main.putByte(passwordFlag_);
  main.putWord(static_cast<std::uint16_t>(userArea_.size()));
  main.putBytes(guid_.data(), guid_.size());
  main.putZeros(kMainHeaderSize - main.size());
  putProtected(out, main, word(OrvantoBlock::MainHeader));

  OrvantoByteBuffer directory;
  directory.putWord(static_cast<std::uint16_t>(entries_.size()));
  directory.putZeros(kDirectoryHeaderSize - directory.size());
  putProtected(out, directory, word(OrvantoBlock::DirectoryHeader));

  OrvantoByteBuffer properties;
  properties.putFixedText(properties_.title, kTitleSize);
  properties.putDword(properties_.version);
  properties.putBytes(properties_.valueA.data(), kValueSize);
  properties.putBytes(properties_.valueB.data(), kValueSize);
  properties.putZeros(kTextOffset - properties.size());
  properties.putFixedText(properties_.text, kTextSize);
  properties.putFixedText(properties_.description, kDescriptionSize);
  putProtected(out, properties, word(OrvantoBlock::Properties));

  if (!userArea_.empty()) {
    layout.userAreaPosition = checkedPosition(out.size());
    out.putBytes(userArea_);
    out.putDword(blockCheck(userArea_.data(), userArea_.size(), std::nullopt));
  }

  layout.firstEntryPosition = checkedPosition(out.size());
  for (const auto &entry : entries_) {
    const std::uint32_t position = checkedPosition(out.size());
    std::vector<std::uint8_t> content;
    if (entry.producer) content = entry.producer->produce(position);
    const std::uint32_t next = checkedPosition(std::uint64_t{position} + kTableHeaderOffset + content.size());
    OrvantoByteBuffer data = entryData(position, next, entry.kind, entry.name);
    putProtected(out, data, std::nullopt);
    out.putZeros(kEntryPadSize);
    out.putBytes(content);
    layout.entries.push_back({position, next, entry.kind, entry.name, static_cast<std::uint32_t>(content.size())});
  }

  layout.footerPosition = checkedPosition(out.size());
  putProtected(out, entryData(layout.footerPosition, 0, kKindFooter, ""), std::nullopt);
  layout.fileSize = checkedPosition(out.size());
  if (layoutOut) *layoutOut = std::move(layout);
  return out.take();
}

void OrvantoModuleWriter::writeFile(const std::string &path, OrvantoModuleLayout *layout) const {
  const std::vector<std::uint8_t> image = build(layout);
  const std::string temporary = path + ".tmp";
  const auto fail = [&](int error) {
    std::remove(temporary.c_str());
    throw std::runtime_error("Não foi possível gravar o arquivo " + path + ": " +
                             cp1252ToUtf8(osErrorText(static_cast<std::uint32_t>(error)).value_or("code:")));
  };
  std::FILE *file = std::fopen(temporary.c_str(), "wb");
  if (!file) fail(errno);
  const bool written = std::fwrite(image.data(), 1, image.size(), file) == image.size() && std::fflush(file) == 0 &&
                       ::fsync(fileno(file)) == 0;
  const int error = errno;
  if (std::fclose(file) != 0 || !written) fail(written ? errno : error);
  if (std::rename(temporary.c_str(), path.c_str()) != 0) fail(errno);
}

void orvSealBlock(std::vector<std::uint8_t> &image, std::size_t offset, std::size_t length, bool withWord,
                  std::uint32_t start) {
  const std::size_t checkAt = offset + length + (withWord ? kWordSize : 0);
  if (checkAt + kCheckSize > image.size()) throw std::out_of_range("block outside the file image");
  std::optional<std::uint16_t> word;
  if (withWord) word = getWord(&image[offset + length]);
  putDword(&image[checkAt], blockCheck(&image[offset], length, word, start));
}

}  // namespace vl
