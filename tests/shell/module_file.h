#pragma once
// Module files for the shell tests, built with the writer: a "toc" with a few topics and a
// table of signs, optionally with a damaged record so that the table's verification fails.
#include <QString>

#include <string>
#include <vector>

#include "engine/cp1252.h"
#include "engine/writer/orvanto_writer.h"
#include "engine/writer/table_writer.h"

namespace vltest {

struct TocTopic {
  int level;
  const char *caption;  // UTF-8
  const char *topicType;
  const char *type;
  const char *topicId;
  const char *table;
};

inline std::vector<std::uint8_t> buildModuleImage(const std::vector<TocTopic> &topics, bool damageSigns = false,
                                                  std::uint8_t versionD = 1) {
  using C = vl::OrvantoColumnSpec;
  const auto text = [](const char *utf8) -> vl::OrvantoValue {
    if (!utf8 || !*utf8) return std::monostate{};
    return vl::utf8ToCp1252(utf8);
  };
  vl::OrvantoTableSpec toc;
  toc.name = "toc";
  toc.columns = {C::Fixed("LEVEL", vl::orv::ctInteger), C::String("CAPTION", 80), C::String("TITLE", 120),
                 C::String("TYPE", 3),  C::String("TOPIC_TYPE", 1), C::String("TOPIC_ID", 24),
                 C::String("TABLE", 40), C::Fixed("CANREVISED", vl::orv::ctBoolean), C::Memo("FILE")};
  for (const TocTopic &t : topics)
    toc.records.push_back({std::int64_t{t.level}, text(t.caption), std::monostate{}, text(t.type), text(t.topicType),
                           text(t.topicId), text(t.table), std::int64_t{1},
                           vl::utf8ToCp1252(std::string("{\\rtf1 ") + t.caption + "}")});
  vl::OrvantoTableSpec signs;
  signs.name = "Placas";
  signs.columns = {C::String("CODIGO", 10), C::String("NOME", 60)};
  signs.records = {{std::string("R-1"), vl::utf8ToCp1252("Parada obrigatória")},
                   {std::string("R-2"), vl::utf8ToCp1252("Dê a preferência")}};

  vl::OrvantoModuleWriter writer;
  writer.setGuid({0x10, 0x32, 0x54, 0x76, 0x98, 0xBA, 0xDC, 0xFE, 1, 2, 3, 4, 5, 6, 7, 8});
  vl::OrvantoModuleProperties properties;
  properties.title = vl::utf8ToCp1252("Vialume - Módulo de teste");
  properties.description = vl::utf8ToCp1252("Módulo de teste do Vialume");
  properties.version = vl::OrvantoModuleWriter::packVersion(1, 0, 0, versionD);
  writer.setProperties(properties);
  vl::addTable(writer, toc);
  auto signSection = vl::addTable(writer, signs);
  std::vector<std::uint8_t> image = writer.build();
  if (damageSigns) {
    const auto &layout = signSection->layout();
    image[layout.base + layout.recordAddresses[1] + 5 + 1] ^= 0x20;  // a character of the second record
  }
  return image;
}

inline const std::vector<TocTopic> &sampleTopics() {
  static const std::vector<TocTopic> topics = {
      {1, "Legislação de trânsito", "", "rtf", "LEGI0000", ""},
      {2, "O Código de Trânsito Brasileiro", "", "rtf", "LEGI0001", ""},
      {1, "Sinalização", "", "", "SINA0000", ""},
      {2, "Placas de regulamentação", "T", "", "PLAC0001", "Placas"},
      {1, "Simulado de prova", "X", "", "EXAM0001", "Placas"},
  };
  return topics;
}

}  // namespace vltest
