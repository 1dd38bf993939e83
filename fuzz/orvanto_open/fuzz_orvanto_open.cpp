// Opens damaged database files: any input must end in success or in an error record.
// Input starting with the magic is the file itself; any other input is a list of 4-byte patches
// (offset low, offset high, value, flags) applied to a valid writer-built module, resealing the
// patched block when flags bit 0 is set so the damage gets past the check values.
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "engine/orvanto_bytes.h"
#include "engine/orvanto_db.h"
#include "engine/orvanto_messages.h"
#include "engine/writer/orvanto_writer.h"

namespace {

const std::string &scratchPath() {
  static const std::string path = "/tmp/fuzz_orvanto_open_" + std::to_string(::getpid()) + ".cdb";
  return path;
}

struct Sample {
  std::vector<std::uint8_t> image;
  vl::OrvantoModuleLayout layout;
};

const Sample &sample() {
  static const Sample s = [] {
    vl::OrvantoModuleWriter w;
    w.setUserArea(std::vector<std::uint8_t>(6, 0x33));
    w.addTable("toc", std::make_shared<vl::OrvantoOpaqueSection>(std::vector<std::uint8_t>(20, 1)));
    w.addEntry(9, "other");
    w.addTable("Placas");
    Sample out;
    out.image = w.build(&out.layout);
    return out;
  }();
  return s;
}

// Reseals the block holding `offset`, if any.
void reseal(std::vector<std::uint8_t> &image, std::size_t offset) {
  using namespace vl::orv;
  struct Block { std::size_t at, length; bool word; };
  std::vector<Block> blocks = {{0, kIdentificationSize, true},
                               {kMainHeaderPosition, kMainHeaderSize, true},
                               {kDirectoryHeaderPosition, kDirectoryHeaderSize, true},
                               {kPropertiesPosition, kPropertiesSize, true}};
  for (const auto &e : sample().layout.entries) blocks.push_back({e.position, kEntrySize, false});
  blocks.push_back({sample().layout.footerPosition, kEntrySize, false});
  for (const auto &b : blocks)
    if (offset >= b.at && offset < b.at + b.length && b.at + protectedSize(b.length, b.word) <= image.size())
      vl::orvSealBlock(image, b.at, b.length, b.word);
}

std::vector<std::uint8_t> fileFor(const std::uint8_t *data, std::size_t size) {
  if (size >= 7 && std::memcmp(data, "Orvanto", 7) == 0) return {data, data + size};
  std::vector<std::uint8_t> image = sample().image;
  for (std::size_t i = 0; i + 4 <= size; i += 4) {
    const std::size_t offset = data[i] | data[i + 1] << 8;
    if (data[i + 3] & 2) {  // truncate instead of patching
      if (offset < image.size()) image.resize(offset);
      continue;
    }
    if (offset >= image.size()) continue;
    image[offset] = data[i + 2];
    if (data[i + 3] & 1) reseal(image, offset);
  }
  return image;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size) {
  const std::vector<std::uint8_t> bytes = fileFor(data, size);
  std::FILE *file = std::fopen(scratchPath().c_str(), "wb");
  if (!file) return 0;
  std::fwrite(bytes.data(), 1, bytes.size(), file);
  std::fclose(file);

  vl::TOrvanto_DB_Engine db;
  db.SetFileName(scratchPath());
  if (db.Open()) {
    for (std::size_t i = 0; i < db.TableCount(); ++i) {
      const std::string name = db.TableName(i);
      // A name without surrounding blanks is found again (maybe at an earlier entry of that name).
      if (!name.empty() && vl::orv::trimBlanks(name) == name && db.FindTable(name) < 0) __builtin_trap();
    }
    (void)db.GetInfo();
  } else if (db.LastError().isClear() || db.IsOpen()) {
    __builtin_trap();  // a failure must leave a record and a closed database
  } else {
    (void)vl::orv::engineMessage(vl::orv::kOpConnection, db.LastError());
  }
  return 0;
}
