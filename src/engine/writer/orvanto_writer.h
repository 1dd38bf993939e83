#pragma once
// Builds a complete Orvanto database file: identification, headers, properties, user area,
// the chained directory with its entries and their content, and the footer, with every check.
#include <array>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "engine/orvanto_format.h"
#include "engine/writer/section_producer.h"

namespace vl {

// Texts are cp1252 and must fit their fields (127, 127 and 255 characters).
struct OrvantoModuleProperties {
  std::string title;
  std::uint32_t version = 0;  // a.b.c.d as bits 31-24, 23-16, 15-8, 7-0
  std::array<std::uint8_t, orv::kValueSize> valueA{};
  std::array<std::uint8_t, orv::kValueSize> valueB{};
  std::string text;
  std::string description;
};

// The four header blocks that carry a word W.
enum class OrvantoBlock { Identification, MainHeader, DirectoryHeader, Properties };

// Where everything landed in the built file.
struct OrvantoEntryLayout {
  std::uint32_t position = 0;
  std::uint32_t nextPosition = 0;
  std::uint8_t kind = 0;
  std::string name;
  std::uint32_t contentSize = 0;  // bytes from position + 143
};

struct OrvantoModuleLayout {
  std::uint32_t userAreaPosition = 0;  // 0 when there is no user area
  std::uint32_t firstEntryPosition = 0;
  std::vector<OrvantoEntryLayout> entries;
  std::uint32_t footerPosition = 0;
  std::uint32_t fileSize = 0;
};

class OrvantoModuleWriter {
public:
  static std::uint32_t packVersion(std::uint8_t a, std::uint8_t b, std::uint8_t c, std::uint8_t d);

  void setFormatVersion(std::uint8_t major, std::uint8_t minor);  // default 1.1
  void setPasswordFlag(std::uint8_t flag);                        // default 0
  void setGuid(const std::array<std::uint8_t, orv::kGuidSize> &guid);
  void setProperties(const OrvantoModuleProperties &properties);
  // U bytes kept in the file (U <= 65535); empty means no user area at all.
  void setUserArea(std::vector<std::uint8_t> bytes);
  void setBlockWord(OrvantoBlock block, std::uint16_t word);  // default 0

  // A table entry (kind 2); without a producer the entry has no content after it.
  void addTable(std::string name, std::shared_ptr<OrvantoSectionProducer> producer = {});
  // An entry of any kind (other kinds are skipped by readers).
  void addEntry(std::uint8_t kind, std::string name, std::shared_ptr<OrvantoSectionProducer> producer = {});

  // The whole file. Throws std::length_error for texts or a layout that do not fit the format.
  std::vector<std::uint8_t> build(OrvantoModuleLayout *layout = nullptr) const;
  // build() written to `path` through a temporary file beside it and a rename, so a failure
  // never leaves a partial file. Throws std::runtime_error with a Portuguese UTF-8 text on failure.
  void writeFile(const std::string &path, OrvantoModuleLayout *layout = nullptr) const;

private:
  struct Entry {
    std::uint8_t kind;
    std::string name;
    std::shared_ptr<OrvantoSectionProducer> producer;
  };

  std::uint8_t major_ = 1;
  std::uint8_t minor_ = 1;
  std::uint8_t passwordFlag_ = 0;
  std::array<std::uint8_t, orv::kGuidSize> guid_{};
  OrvantoModuleProperties properties_;
  std::vector<std::uint8_t> userArea_;
  std::array<std::uint16_t, 4> words_{};
  std::vector<Entry> entries_;
};

// Recomputes the stored check of the block at `offset` of a file image after its bytes were
// changed; `length` is the data length, the check follows the data (and W when present).
void orvSealBlock(std::vector<std::uint8_t> &image, std::size_t offset, std::size_t length, bool withWord,
                  std::uint32_t start = orv::kBlockStart);

}  // namespace vl
