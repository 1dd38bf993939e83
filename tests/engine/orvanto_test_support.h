#pragma once
// Module files for engine tests, built with the writer and written to temporary files.
#include <unistd.h>

#include <atomic>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <ostream>
#include <string>
#include <vector>

#include "engine/cp1252.h"
#include "engine/orvanto_error.h"
#include "engine/writer/orvanto_writer.h"

namespace vl {
inline void PrintTo(const TOrvanto_Error_Class &e, std::ostream *out) {
  *out << "{" << e.code << ", " << e.section << ", " << e.sequence << ", " << e.osError << "}";
}
}  // namespace vl

namespace vl::test {

using Image = std::vector<std::uint8_t>;

inline std::string cp(const char *utf8) { return utf8ToCp1252(utf8); }

// A file in the temporary folder, removed when the object goes.
class TempFile {
public:
  TempFile() {
    static std::atomic<int> counter{0};
    path_ = (std::filesystem::temp_directory_path() /
             ("vl-engine-" + std::to_string(::getpid()) + "-" + std::to_string(counter++) + ".cdb"))
                .string();
  }
  explicit TempFile(const Image &bytes) : TempFile() { write(bytes); }
  ~TempFile() {
    std::error_code ignored;
    std::filesystem::remove(path_, ignored);
  }
  TempFile(const TempFile &) = delete;
  TempFile &operator=(const TempFile &) = delete;

  void write(const Image &bytes) const {
    std::ofstream out(path_, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char *>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
  }
  const std::string &path() const { return path_; }

private:
  std::string path_;
};

inline std::array<std::uint8_t, 16> sampleGuid() {
  return {0x33, 0x22, 0x11, 0x00, 0x55, 0x44, 0x77, 0x66, 0x88, 0x99, 0xAA, 0xBB, 0xCC, 0xDD, 0xEE, 0xFF};
}

inline OrvantoModuleProperties sampleProperties() {
  OrvantoModuleProperties p;
  p.title = cp("Código de Trânsito Brasileiro");
  p.version = OrvantoModuleWriter::packVersion(3, 1, 4, 200);
  p.valueA = {1, 2, 3, 4, 5, 6, 7, 8};
  p.valueB = {0xF8, 0xF7, 0xF6, 0xF5, 0xF4, 0xF3, 0xF2, 0xF1};
  p.text = cp("Texto livre");
  p.description = cp("Módulo principal do Vialume");
  return p;
}

// Three tables and one entry of another kind (kind 7) between them, with content of
// different lengths after each entry.
inline OrvantoModuleWriter sampleWriter() {
  OrvantoModuleWriter w;
  w.setGuid(sampleGuid());
  w.setProperties(sampleProperties());
  w.addTable("toc", std::make_shared<OrvantoOpaqueSection>(Image(40, 0xAB)));
  w.addEntry(7, "oculta", std::make_shared<OrvantoOpaqueSection>(Image(3, 0x11)));
  w.addTable(cp("Placas de Regulamentação"));
  w.addTable("Sons", std::make_shared<OrvantoOpaqueSection>(Image(1000, 0x5A)));
  return w;
}

}  // namespace vl::test
