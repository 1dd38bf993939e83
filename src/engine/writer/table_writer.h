#pragma once
// Writes one table (columns, records in primary order, size template, record and blob checks,
// table check value, secondary indexes with their jump tables) as the content of a directory
// entry of the module writer.
#include <cstdint>
#include <memory>
#include <string>
#include <variant>
#include <vector>

#include "engine/table_format.h"
#include "engine/writer/orvanto_writer.h"
#include "engine/writer/section_producer.h"

namespace vl {

// A column value: null, an integer (Smallint, Integer, Word, AutoInc, Boolean, Date day number,
// Time milliseconds), a double (Float, Currency, DateTime milliseconds), or bytes (String,
// Bytes, Memo and Blob content; cp1252 text).
using OrvantoValue = std::variant<std::monostate, std::int64_t, double, std::string>;
using OrvantoRecord = std::vector<OrvantoValue>;

struct OrvantoColumnSpec {
  std::string name;
  std::uint8_t type = orv::ctInteger;
  std::uint32_t size = 0;  // String: declared size 0..8192; Bytes: declared size 0..127
  std::int8_t p1 = 0;      // String: length-number width 1..4; Memo/Blob: preview length; Float/Currency: precision
  std::int8_t p2 = 0;
  std::uint8_t p3 = 0;
  std::string description;

  static OrvantoColumnSpec String(std::string name, std::uint32_t size, std::int8_t width = 1);
  static OrvantoColumnSpec Bytes(std::string name, std::uint32_t size);
  static OrvantoColumnSpec Memo(std::string name, std::int8_t preview = 0);
  static OrvantoColumnSpec Blob(std::string name, std::int8_t preview = 0);
  static OrvantoColumnSpec Fixed(std::string name, std::uint8_t type);
};

struct OrvantoSegmentSpec {
  std::string column;
  std::uint8_t flags = 0;  // 0x01 descending (reported only), 0x02 fold a Bytes column
};

struct OrvantoIndexSpec {
  std::string name;
  std::vector<OrvantoSegmentSpec> segments;
  std::uint8_t flags = 0;  // 0x02 case, 0x04 accents, 0x08 locale, 0x10 string sort, 0x20 fold Bytes
  bool headFlag = true;    // F; without it every entry is a head with no duplicate count
  bool jumpTable = true;   // a first-character jump table when the key order allows one
};

struct OrvantoTableSpec {
  std::string name;
  std::vector<OrvantoColumnSpec> columns;
  std::vector<OrvantoRecord> records;  // in primary (storage) order
  std::vector<OrvantoIndexSpec> indexes;  // secondary indexes
  std::uint8_t checkWidth = 4;            // K, 0..4
  std::uint32_t localeId = 0x0416;
  std::string description;
  std::uint8_t flagA = 0, flagB = 0;
  std::uint32_t values[4] = {0, 0, 0, 0};
};

// Where the parts of a written table lie, relative to its base (for tests that damage them).
struct OrvantoTableLayout {
  std::uint32_t base = 0;
  std::uint32_t templateOffset = 0;   // T, 0 when none
  std::uint32_t columnsOffset = 0;
  std::uint32_t descriptorsOffset = 0;  // X, 0 when there is one index
  std::uint32_t recordStart = 0, recordEnd = 0;  // R0, R1
  std::vector<std::uint32_t> recordAddresses;     // in primary order
  std::vector<std::uint32_t> blockOffsets;        // per index, the primary first
  std::vector<std::uint32_t> entryWidths;         // W per index
  std::vector<std::uint32_t> jumpOffsets;         // per index, 0 when it has no jump table
  std::vector<unsigned> jumpCounts;               // J per index
  std::uint8_t addressBits = 0;
  std::uint32_t tableCheck = 0;
  std::uint32_t size = 0;  // bytes from base + 143
};

// The section producer of one table. Throws std::invalid_argument with a Portuguese text when
// the table description cannot be stored (bad column, unknown segment column, value of the wrong
// kind, text longer than its column, a secondary index on a table without records).
class OrvantoTableSection : public OrvantoSectionProducer {
 public:
  explicit OrvantoTableSection(OrvantoTableSpec spec);
  std::vector<std::uint8_t> produce(std::uint32_t base) override;
  const OrvantoTableLayout &layout() const { return layout_; }
  const OrvantoTableSpec &spec() const { return spec_; }

 private:
  OrvantoTableSpec spec_;
  OrvantoTableLayout layout_;
};

// Adds the table as a table entry of the module; the returned section tells its layout after build().
std::shared_ptr<OrvantoTableSection> addTable(OrvantoModuleWriter &writer, OrvantoTableSpec spec);

}  // namespace vl
