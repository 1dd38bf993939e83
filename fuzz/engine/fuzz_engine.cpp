// libFuzzer target. Mode 0: the bytes are a module file. Mode 1: the bytes describe a table
// (columns, check width, records, indexes) that the writer builds, and then bytes of its record
// area and index blocks to change, so damaged records and entries get past the block checks.
// Every table is opened, walked through every index both ways and in unique mode, read column
// by column with its blobs, searched and verified.
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "engine/orvanto_db.h"
#include "engine/orvanto_table.h"
#include "engine/writer/table_writer.h"

namespace {

std::string scratchPath() {
  static const std::string path = "/tmp/vl-fuzz-engine-" + std::to_string(::getpid()) + ".cdb";
  return path;
}

void walk(vl::TOrvanto_iLow_Table &t, std::vector<std::uint8_t> &buffer, std::vector<std::uint8_t> &blob) {
  int steps = 0;
  t.First();
  while (t.Next(buffer.data()) && ++steps < 300) {
    for (std::size_t c = 0; c < t.ColumnCount(); ++c) {
      std::uint8_t value[8200];
      t.GetColumnValue(buffer.data(), c, value);
      if (!t.Column(c).isBlob()) continue;
      const std::uint32_t length = std::min<std::uint32_t>(t.BlobLength(c), 1 << 20);
      blob.resize(length + 1);
      try {
        t.ReadBlob(c, 0, length, blob.data());
        t.ReadBlob(c, length / 2, length, blob.data());
      } catch (const vl::EOrvanto_Engine_Error &) {
      }
    }
  }
  steps = 0;
  t.Last();
  while (t.Prior(buffer.data()) && ++steps < 300) {
  }
}

void exercise(vl::TOrvanto_iLow_Table &t) {
  std::vector<std::uint8_t> buffer = t.NewRecordBuffer(), blob;
  for (std::size_t i = 0; i < t.IndexCount() && i < 8; ++i) {
    t.SwitchIndex(static_cast<std::uint16_t>(i));
    walk(t, buffer, blob);
    t.SetInverse(true);
    walk(t, buffer, blob);
    t.SetUnique(true);
    walk(t, buffer, blob);
    t.SetInverse(false);
    walk(t, buffer, blob);
    t.SetUnique(false);
    if (i == 0 || t.RecordCount() == 0) continue;
    // Keys taken from the first records, searched whole and as prefixes.
    std::vector<std::uint8_t> key(t.KeyLength(i));
    for (std::uint32_t p = 1; p <= 3 && p <= t.Count(); ++p) {
      t.GoTo(p);
      t.ReadRecord(buffer.data());
      t.BuildKey(i, buffer.data(), key.data());
      t.FindKey(1, 0, key.data(), true, buffer.data());
      t.FindKey(static_cast<unsigned>(t.Index(i).segments.size()), 2, key.data(), true, nullptr);
      t.SetKeyRange(true, key.data(), 1, true, key.data(), 1, true);
      walk(t, buffer, blob);
      t.WholeTable();
      const auto saved = t.SaveState();
      t.SwitchIndex(0);
      t.RestoreState(saved, p);
    }
  }
  t.Verify();
}

// Takes bytes from the input, zeros once it is used up.
class Bytes {
 public:
  Bytes(const std::uint8_t *data, std::size_t size) : data_(data), size_(size) {}
  std::uint8_t next() { return at_ < size_ ? data_[at_++] : 0; }
  bool more() const { return at_ < size_; }

 private:
  const std::uint8_t *data_;
  std::size_t size_, at_ = 0;
};

std::vector<std::uint8_t> builtModule(Bytes in) {
  using namespace vl;
  static const std::uint8_t types[] = {orv::ctString, orv::ctInteger, orv::ctBytes, orv::ctMemo, orv::ctBlob,
                                       orv::ctBoolean, orv::ctFloat, orv::ctDate, orv::ctDateTime, orv::ctSmallint};
  OrvantoTableSpec spec;
  spec.name = "t";
  spec.checkWidth = in.next() % 5;
  const int columns = 1 + in.next() % 5;
  for (int c = 0; c < columns; ++c) {
    OrvantoColumnSpec col;
    col.name = "c" + std::to_string(c);
    col.type = types[in.next() % 10];
    if (col.type == orv::ctString) {
      col.size = 1 + in.next() % 20;
      col.p1 = 1;
    } else if (col.type == orv::ctBytes) {
      col.size = in.next() % 8;
    } else if (col.type == orv::ctMemo || col.type == orv::ctBlob) {
      col.p1 = static_cast<std::int8_t>(in.next() % 16);
    }
    spec.columns.push_back(col);
  }
  const int records = 1 + in.next() % 24;
  for (int r = 0; r < records; ++r) {
    OrvantoRecord record;
    for (const auto &col : spec.columns) {
      const std::uint8_t b = in.next();
      if (b == 0xFF) {
        record.emplace_back();
        continue;
      }
      switch (col.type) {
        case orv::ctString: case orv::ctBytes: case orv::ctMemo: case orv::ctBlob: {
          const std::size_t max = col.type == orv::ctString || col.type == orv::ctBytes ? col.size : 40;
          std::string text(std::min<std::size_t>(b % 8, max), 'a');
          for (char &ch : text) ch = static_cast<char>(0x20 + in.next() % 0xDF);
          record.emplace_back(text);
          break;
        }
        case orv::ctFloat: case orv::ctDateTime: record.emplace_back(double(b) - 100.0); break;
        default: record.emplace_back(std::int64_t(b % 7)); break;
      }
    }
    spec.records.push_back(std::move(record));
  }
  const int indexes = in.next() % 3;
  for (int i = 0; i < indexes; ++i) {
    OrvantoIndexSpec index;
    index.name = "i" + std::to_string(i);
    index.flags = in.next() & 0x3E;
    index.headFlag = in.next() & 1;
    const int segments = 1 + in.next() % 2;
    for (int g = 0; g < segments; ++g) index.segments.push_back({"c" + std::to_string(in.next() % columns), 0});
    spec.indexes.push_back(index);
  }
  OrvantoModuleWriter writer;
  auto section = addTable(writer, std::move(spec));
  std::vector<std::uint8_t> image;
  try {
    image = writer.build();
  } catch (const std::exception &) {
    return {};
  }
  // Damage: offset and value pairs inside the record area and the index blocks.
  const auto &l = section->layout();
  const std::size_t from = l.base + l.recordStart, to = l.base + 143 + l.size;
  while (in.more() && to > from) {
    const std::size_t at = from + (std::size_t(in.next()) << 8 | in.next()) % (to - from);
    image[at] ^= in.next();
  }
  return image;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size) {
  if (size == 0) return 0;
  std::vector<std::uint8_t> built;
  if (data[0] == 'W') {
    built = builtModule(Bytes(data + 1, size - 1));
    data = built.data();
    size = built.size();
  }
  const std::string path = scratchPath();
  if (FILE *f = std::fopen(path.c_str(), "wb")) {
    std::fwrite(data, 1, size, f);
    std::fclose(f);
  } else {
    return 0;
  }
  vl::TOrvanto_DB_Engine db;
  db.SetFileName(path);
  if (!db.Open()) return 0;
  for (std::size_t i = 0; i < db.TableCount() && i < 4; ++i) {
    vl::TOrvanto_Table_Engine table(&db);
    try {
      table.SetTableName(db.TableName(i));
      if (!table.Open()) continue;
      exercise(table);
    } catch (const vl::EOrvanto_IO_Error &) {
    } catch (const vl::EOrvanto_Internal_Error &) {
    } catch (const vl::EOrvanto_Engine_Error &) {
    }
  }
  return 0;
}
