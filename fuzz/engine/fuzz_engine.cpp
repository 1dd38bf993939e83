// libFuzzer target: the bytes are a module file; every table is opened, walked through every
// index both ways and in unique mode, read column by column with its blobs, searched and verified.
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "engine/orvanto_db.h"
#include "engine/orvanto_table.h"

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

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size) {
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
