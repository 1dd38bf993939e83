// Writes small modules built by the table writer into a folder, as the fuzzer's seed corpus.
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>

#include "engine/cp1252.h"
#include "engine/writer/table_writer.h"

using namespace vl;
using C = OrvantoColumnSpec;

namespace {

void save(const std::filesystem::path &dir, const std::string &name, std::vector<OrvantoTableSpec> tables) {
  OrvantoModuleWriter w;
  for (auto &t : tables) addTable(w, std::move(t));
  const auto image = w.build();
  std::ofstream out(dir / name, std::ios::binary);
  out.write(reinterpret_cast<const char *>(image.data()), static_cast<std::streamsize>(image.size()));
}

OrvantoTableSpec words(std::uint8_t flags, std::uint8_t k, bool head, int count) {
  OrvantoTableSpec s;
  s.name = "palavras";
  s.checkWidth = k;
  s.columns = {C::String("P", 12), C::Fixed("N", orv::ctInteger), C::Memo("M", 6)};
  const char *base[] = {"Sem", "sem parar", "Semáforo", "ação", "ACAO", "bola", "b", "", "zebra", "Zé"};
  for (int i = 0; i < count; ++i)
    s.records.push_back({utf8ToCp1252(base[i % 10]), std::int64_t(i % 4), std::string("texto longo ") + std::to_string(i)});
  s.records.push_back({std::monostate{}, std::monostate{}, std::monostate{}});
  s.indexes.push_back({"I", {{"P"}}, flags, head, true});
  s.indexes.push_back({"J", {{"N"}, {"P"}}, 0, true, true});
  return s;
}

}  // namespace

int main(int argc, char **argv) {
  if (argc != 2) {
    std::fprintf(stderr, "Uso: make_engine_seeds PASTA\n");
    return 2;
  }
  const std::filesystem::path dir = argv[1];
  std::filesystem::create_directories(dir);
  save(dir, "words-06", {words(0x06, 4, true, 12)});
  save(dir, "words-locale", {words(0x1A, 2, true, 8)});
  save(dir, "words-k0-f0", {words(0x00, 0, false, 6)});
  OrvantoTableSpec fixed;
  fixed.name = "fixa";
  fixed.checkWidth = 1;
  fixed.columns = {C::Fixed("A", orv::ctInteger), C::Bytes("B", 3), C::Fixed("D", orv::ctDateTime)};
  fixed.records = {{std::int64_t(1), std::string("abc"), 2.0}, {std::int64_t(2), std::monostate{}, 3.0}};
  fixed.indexes.push_back({"B", {{"B"}}, 0x20, true, true});
  OrvantoTableSpec blobs;
  blobs.name = "blobs";
  blobs.checkWidth = 3;
  blobs.columns = {C::String("T", 300, 2), C::Blob("B", 10), C::Memo("M")};
  blobs.records = {{std::string("um"), std::string("\x01\x02 linha\r\n", 10), std::string("memo")},
                   {std::string("dois"), std::string(), std::monostate{}}};
  save(dir, "mixed", {fixed, blobs});
  // Seeds of the writer-driven mode: 'W', then the table description bytes.
  const std::vector<std::vector<unsigned char>> described = {
      {'W', 0, 3, 0, 5, 1, 3, 6, 8, 'a', 'b', 'c', 'd', 'e', 'f', 'g', 'h', 2, 'x', 'y', 1, 3, 'a', 'b', 1, 1, 2, 6, 1, 0, 0},
      {'W', 4, 2, 0, 3, 4, 10, 5, 'A', 'B', 'C', 'D', 'E', 6, 7, 2, 'a', 'b', 2, 2, 1, 1, 0, 0x1A, 0, 2, 0, 1, 0x10, 0x20, 0x30}};
  for (std::size_t i = 0; i < described.size(); ++i)
    std::ofstream(dir / ("described-" + std::to_string(i)), std::ios::binary)
        .write(reinterpret_cast<const char *>(described[i].data()), static_cast<std::streamsize>(described[i].size()));
  return 0;
}
