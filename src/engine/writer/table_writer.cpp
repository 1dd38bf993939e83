#include "engine/writer/table_writer.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cstring>
#include <numeric>
#include <stdexcept>

#include "engine/crc.h"
#include "engine/jump_table.h"
#include "engine/key_image.h"
#include "engine/orvanto_block.h"
#include "engine/table_columns.h"
#include "engine/table_index.h"
#include "engine/writer/byte_buffer.h"

namespace vl {

using namespace orv;

OrvantoColumnSpec OrvantoColumnSpec::String(std::string name, std::uint32_t size, std::int8_t width) {
  OrvantoColumnSpec c;
  c.name = std::move(name);
  c.type = ctString;
  c.size = size;
  c.p1 = width;
  return c;
}

OrvantoColumnSpec OrvantoColumnSpec::Bytes(std::string name, std::uint32_t size) {
  OrvantoColumnSpec c;
  c.name = std::move(name);
  c.type = ctBytes;
  c.size = size;
  c.p1 = static_cast<std::int8_t>(size);
  return c;
}

OrvantoColumnSpec OrvantoColumnSpec::Memo(std::string name, std::int8_t preview) {
  OrvantoColumnSpec c;
  c.name = std::move(name);
  c.type = ctMemo;
  c.p1 = preview;
  return c;
}

OrvantoColumnSpec OrvantoColumnSpec::Blob(std::string name, std::int8_t preview) {
  OrvantoColumnSpec c = Memo(std::move(name), preview);
  c.type = ctBlob;
  return c;
}

OrvantoColumnSpec OrvantoColumnSpec::Fixed(std::string name, std::uint8_t type) {
  OrvantoColumnSpec c;
  c.name = std::move(name);
  c.type = type;
  return c;
}

namespace {

[[noreturn]] void invalid(const std::string &table, const std::string &what) {
  throw std::invalid_argument("Tabela \"" + table + "\": " + what);
}

// One record as the writer holds it: its buffer image and its variable-length data.
struct PreparedRecord {
  std::vector<std::uint8_t> buffer;
  std::vector<std::string> data;  // per column: String text, Bytes value, blob content
  std::vector<std::uint8_t> disk;
  std::uint32_t recordCheck = 0;
  std::uint32_t bodySize = 0;
};

void putSlotValue(const std::string &table, const TOrvanto_iLow_Field &f, const OrvantoValue &v, PreparedRecord &r) {
  std::uint8_t *slot = r.buffer.data() + f.slotOffset;
  const auto wrong = [&] { invalid(table, "valor de tipo errado na coluna \"" + f.name + "\""); };
  if (std::holds_alternative<std::monostate>(v)) return;
  setColumnNull(r.buffer.data(), f.number, false);
  switch (f.columnClass) {
    case ColumnClass::Text:
    case ColumnClass::FixedText: {
      if (!std::holds_alternative<std::string>(v)) wrong();
      const std::string &s = std::get<std::string>(v);
      if (s.size() > f.declaredSize) invalid(table, "texto maior que a coluna \"" + f.name + "\"");
      if (s.find('\0') != std::string::npos && f.columnClass == ColumnClass::Text)
        invalid(table, "texto com caractere nulo na coluna \"" + f.name + "\"");
      std::memcpy(slot, s.data(), s.size());
      r.data[f.number] = s;
      break;
    }
    case ColumnClass::Blob:
      if (!std::holds_alternative<std::string>(v)) wrong();
      r.data[f.number] = std::get<std::string>(v);
      break;
    case ColumnClass::Integer:
    case ColumnClass::Boolean: {
      if (!std::holds_alternative<std::int64_t>(v)) wrong();
      writeLe(slot, static_cast<std::uint32_t>(std::get<std::int64_t>(v)), f.slotSize);
      break;
    }
    case ColumnClass::Float: {
      double d = std::holds_alternative<double>(v) ? std::get<double>(v)
                 : std::holds_alternative<std::int64_t>(v) ? static_cast<double>(std::get<std::int64_t>(v))
                                                           : (wrong(), 0.0);
      std::memcpy(slot, &d, 8);
      break;
    }
    case ColumnClass::DateTime: {
      if (f.type == ctDateTime) {
        double d = std::holds_alternative<double>(v) ? std::get<double>(v)
                   : std::holds_alternative<std::int64_t>(v) ? static_cast<double>(std::get<std::int64_t>(v))
                                                             : (wrong(), 0.0);
        std::memcpy(slot, &d, 8);
      } else {
        if (!std::holds_alternative<std::int64_t>(v)) wrong();
        writeLe(slot, static_cast<std::uint32_t>(std::get<std::int64_t>(v)), 4);
      }
      break;
    }
    case ColumnClass::Invalid: wrong();
  }
}

void putCheck(std::vector<std::uint8_t> &out, std::uint32_t value, unsigned k) {
  std::uint8_t b[4];
  writeLe(b, value, 4);
  out.insert(out.end(), b, b + k);
}

}  // namespace

OrvantoTableSection::OrvantoTableSection(OrvantoTableSpec spec) : spec_(std::move(spec)) {}

std::shared_ptr<OrvantoTableSection> addTable(OrvantoModuleWriter &writer, OrvantoTableSpec spec) {
  auto section = std::make_shared<OrvantoTableSection>(std::move(spec));
  writer.addTable(section->spec().name, section);
  return section;
}

std::vector<std::uint8_t> OrvantoTableSection::produce(std::uint32_t base) {
  const OrvantoTableSpec &s = spec_;
  const std::string &tn = s.name;
  const unsigned k = s.checkWidth;
  if (k > 4) invalid(tn, "largura de verificação maior que 4");
  if (s.columns.size() > 0xFFFF) invalid(tn, "colunas demais");

  // Columns, laid out by the reader's own code.
  TOrvanto_wLow_Fields fields;
  for (const auto &c : s.columns) {
    std::uint32_t declared = 0;
    if (c.type == ctString) declared = c.size;
    else if (c.type == ctBytes) declared = c.size;
    else if (c.type == ctMemo || c.type == ctBlob) declared = c.p1 > 0 ? static_cast<std::uint32_t>(c.p1) : 0;
    const std::int8_t p1 = c.type == ctBytes ? static_cast<std::int8_t>(c.size) : c.p1;
    if (c.type == ctString && c.p1 >= 1 && c.p1 < 4 && declared >= (1u << (8 * c.p1)))
      invalid(tn, "largura do tamanho pequena demais na coluna \"" + c.name + "\"");
    if (c.name.size() > 255 || c.description.size() > 255 || !fields.add(c.type, p1, c.p2, c.p3, declared, c.name, c.description))
      invalid(tn, "coluna inválida \"" + c.name + "\"");
  }
  const bool hasTemplate = fields.hasVariable();
  const std::uint32_t bitmap = fields.bitmapSize();

  // Size template: declared String sizes; Memo and Blob numbers are not interpreted.
  std::vector<std::uint8_t> templ;
  for (std::size_t i = 0; i < fields.count(); ++i) {
    const auto &f = fields[i];
    if (!f.lengthWidth) continue;
    const std::size_t at = templ.size();
    templ.resize(at + f.lengthWidth, 0);
    if (f.columnClass == ColumnClass::Text) writeLe(templ.data() + at, f.declaredSize, f.lengthWidth);
  }
  const std::uint32_t n = static_cast<std::uint32_t>(templ.size());
  if (n > kMaxTemplateSize) invalid(tn, "área de tamanhos grande demais");

  // Records.
  std::vector<PreparedRecord> records(s.records.size());
  for (std::size_t r = 0; r < s.records.size(); ++r) {
    if (s.records[r].size() != fields.count()) invalid(tn, "registro " + std::to_string(r) + " com número errado de valores");
    PreparedRecord &pr = records[r];
    pr.buffer.assign(fields.recordSize() + 3, 0);
    clearRecordBuffer(pr.buffer.data(), pr.buffer.size(), fields.count());
    pr.data.assign(fields.count(), {});
    for (std::size_t i = 0; i < fields.count(); ++i) putSlotValue(tn, fields[i], s.records[r][i], pr);
  }

  // Sizes of the fixed sections.
  OrvantoByteBuffer columnSection;
  for (std::size_t i = 0; i < fields.count(); ++i) {
    const auto &c = s.columns[i];
    const auto &f = fields[i];
    columnSection.putByte(c.type);
    columnSection.putByte(static_cast<std::uint8_t>(f.p1));
    columnSection.putByte(static_cast<std::uint8_t>(c.p2));
    columnSection.putByte(c.p3);
    columnSection.putByte(static_cast<std::uint8_t>(c.name.size()));
    columnSection.putBytes(c.name.data(), c.name.size());
    columnSection.putByte(static_cast<std::uint8_t>(c.description.size()));
    columnSection.putBytes(c.description.data(), c.description.size());
  }
  const std::uint32_t columnsCheck = orvCrc(kColumnsStart + static_cast<std::uint32_t>(fields.count()),
                                            columnSection.bytes().data(), columnSection.size());
  columnSection.putDword(columnsCheck);

  // Index objects, as the reader builds them.
  const std::size_t indexCount = s.indexes.size() + 1;
  if (indexCount > 0xFFFF) invalid(tn, "índices demais");
  if (!s.indexes.empty() && s.records.empty()) invalid(tn, "índice secundário numa tabela sem registros");
  std::vector<TOrvanto_iLow_Index> indexes(indexCount);
  for (std::size_t i = 1; i < indexCount; ++i) {
    const OrvantoIndexSpec &is = s.indexes[i - 1];
    TOrvanto_iLow_Index &index = indexes[i];
    if (is.name.size() > kMaxNameLength || is.name.empty()) invalid(tn, "nome de índice inválido \"" + is.name + "\"");
    if (is.segments.empty() || is.segments.size() > 255) invalid(tn, "índice \"" + is.name + "\" sem chave válida");
    index.name = is.name;
    index.localeId = s.localeId;
    bool text = false;
    for (const auto &seg : is.segments) {
      const int column = fields.find(seg.column);
      if (column < 0) invalid(tn, "coluna \"" + seg.column + "\" do índice \"" + is.name + "\" não existe");
      TOrvanto_Index_Segment segment{static_cast<std::uint16_t>(column), seg.flags};
      if (is.flags & kIndexFoldBytes) segment.flags |= kSegmentFold;
      index.segments.push_back(segment);
      text = text || isTextType(fields[column].type);
    }
    index.flags = adjustIndexFlags(is.flags, text);
    index.keyLength = keyLengthFor(index, fields);
    index.headBits = is.headFlag ? 1 : 0;
  }

  // Record images need their addresses only for the record check; sizes come first.
  std::vector<std::uint32_t> recordSizes(records.size());
  for (std::size_t r = 0; r < records.size(); ++r) {
    std::uint64_t size = n + bitmap + k;
    for (std::size_t i = 0; i < fields.count(); ++i) {
      const auto &f = fields[i];
      if (!hasTemplate) {
        size += f.slotSize;
      } else if (f.columnClass == ColumnClass::Text) {
        size += records[r].data[i].size();
      } else if (f.isBlob()) {
        const std::size_t l = records[r].data[i].size();
        if (l > 0xFFFFFFFFull || (f.type == ctMemo && l > 0xFFFF)) invalid(tn, "conteúdo grande demais na coluna \"" + f.name + "\"");
        size += l + (l > 0 ? k : 0);
      } else {
        size += f.fixedDiskSize(true);
      }
    }
    if (size > 0xFFFFFFFFull) invalid(tn, "registro grande demais");
    recordSizes[r] = static_cast<std::uint32_t>(size);
  }

  // Placement.
  OrvantoTableLayout layout;
  layout.base = base;
  layout.columnsOffset = kColumnSectionOffset;
  std::uint64_t offset = kColumnSectionOffset + columnSection.size();
  if (hasTemplate) {
    layout.templateOffset = static_cast<std::uint32_t>(offset);
    offset += 4 + n + 4;
  }
  std::uint64_t descriptorSize = 0;
  for (std::size_t i = 1; i < indexCount; ++i) descriptorSize += 1 + 128 + 1 + 4 + 1 + 1 + 1 + 3 * indexes[i].segments.size();
  if (indexCount > 1) {
    layout.descriptorsOffset = static_cast<std::uint32_t>(offset);
    offset += descriptorSize + 4;
  }
  layout.recordStart = static_cast<std::uint32_t>(offset);
  for (std::size_t r = 0; r < records.size(); ++r) {
    layout.recordAddresses.push_back(static_cast<std::uint32_t>(offset));
    offset += recordSizes[r];
  }
  if (std::uint64_t(base) + offset > 0xFFFFFFFFull) invalid(tn, "tabela grande demais");
  layout.recordEnd = static_cast<std::uint32_t>(offset);
  const std::uint32_t maxAddress = records.empty() ? 0 : layout.recordAddresses.back();
  layout.addressBits = static_cast<std::uint8_t>(std::max<int>(1, std::bit_width(maxAddress)));
  for (auto &index : indexes) {
    index.addressBits = layout.addressBits;
    index.localeId = s.localeId;
  }

  // Record bytes, record checks and the table check.
  std::uint32_t tableCrc = kTableCrcStart;
  std::vector<std::uint8_t> recordArea;
  recordArea.reserve(layout.recordEnd - layout.recordStart);
  for (std::size_t r = 0; r < records.size(); ++r) {
    PreparedRecord &pr = records[r];
    const std::uint32_t address = layout.recordAddresses[r];
    std::vector<std::uint8_t> sizes(n, 0), body;
    std::uint32_t crc = (address + n) ^ kRecordStart;
    std::size_t cursor = 0;
    for (std::size_t i = 0; i < fields.count(); ++i) {
      const auto &f = fields[i];
      const std::string &d = pr.data[i];
      const std::uint8_t *slot = pr.buffer.data() + f.slotOffset;
      if (!hasTemplate) continue;
      if (f.columnClass == ColumnClass::Text) {
        writeLe(sizes.data() + cursor, static_cast<std::uint32_t>(d.size()), f.lengthWidth);
        crc = orvCrc(crc, d.data(), d.size());
        body.insert(body.end(), d.begin(), d.end());
      } else if (f.isBlob()) {
        writeLe(sizes.data() + cursor, static_cast<std::uint32_t>(d.size()), f.lengthWidth);
        if (f.previewLength > 0)
          crc = orvCrc(crc, d.data(), std::min<std::size_t>(d.size(), static_cast<std::size_t>(f.previewLength)));
        body.insert(body.end(), d.begin(), d.end());
        if (!d.empty()) putCheck(body, orvCrc(kBlobStart, d.data(), d.size()), k);
      } else {
        const std::uint32_t bytes = f.fixedDiskSize(true);
        crc = orvCrc(crc, slot, bytes);
        body.insert(body.end(), slot, slot + bytes);
      }
      cursor += f.lengthWidth;
    }
    if (!hasTemplate) {
      body.assign(pr.buffer.begin() + bitmap, pr.buffer.begin() + fields.recordSize());
      crc = orvCrc(crc, body.data(), body.size());
    }
    crc = orvCrc(crc, sizes.data(), n);
    crc = orvCrc(crc, pr.buffer.data(), bitmap);
    std::vector<std::uint8_t> check;
    putCheck(check, crc, k);
    tableCrc = orvCrc(tableCrc, body.data(), body.size());
    tableCrc = orvCrc(tableCrc, sizes.data(), n);
    tableCrc = orvCrc(tableCrc, pr.buffer.data(), bitmap);
    tableCrc = orvCrc(tableCrc, check.data(), check.size());
    recordArea.insert(recordArea.end(), sizes.begin(), sizes.end());
    recordArea.insert(recordArea.end(), pr.buffer.begin(), pr.buffer.begin() + bitmap);
    recordArea.insert(recordArea.end(), body.begin(), body.end());
    recordArea.insert(recordArea.end(), check.begin(), check.end());
  }
  layout.tableCheck = tableCrc;

  // Index blocks.
  const std::uint32_t count = static_cast<std::uint32_t>(records.size());
  std::vector<std::vector<std::uint8_t>> blocks(indexCount);
  std::vector<std::uint32_t> distinct(indexCount, count);
  std::vector<unsigned> jumps(indexCount, 0);
  for (std::size_t i = 0; i < indexCount; ++i) {
    TOrvanto_iLow_Index &index = indexes[i];
    std::vector<std::uint32_t> order(count);
    std::iota(order.begin(), order.end(), 0u);
    std::vector<TOrvanto_Index_Entry> entries(count);
    std::vector<std::vector<std::uint8_t>> keys;
    if (i > 0) {
      keys.assign(count, std::vector<std::uint8_t>(index.keyLength));
      for (std::uint32_t r = 0; r < count; ++r) buildKeyImage(index, fields, records[r].buffer.data(), keys[r].data());
      TOrvanto_Search_Spec all;
      all.segments = static_cast<unsigned>(index.segments.size());
      bool prefix = false;
      std::stable_sort(order.begin(), order.end(), [&](std::uint32_t a, std::uint32_t b) {
        return compareKeyImages(index, fields, all, keys[a].data(), keys[b].data(), prefix) < 0;
      });
      std::uint32_t groups = 0, maxDup = 0;
      for (std::uint32_t p = 0; p < count;) {
        std::uint32_t q = p + 1;
        while (q < count && compareKeyImages(index, fields, all, keys[order[p]].data(), keys[order[q]].data(), prefix) == 0) ++q;
        for (std::uint32_t m = p; m < q; ++m) {
          entries[m].address = layout.recordAddresses[order[m]];
          entries[m].head = m == p;
          entries[m].duplicates = m == p ? q - p - 1 : m - p;
        }
        maxDup = std::max(maxDup, q - p - 1);
        ++groups;
        p = q;
      }
      distinct[i] = groups;
      index.duplicateBits = index.headBits ? static_cast<std::uint8_t>(std::bit_width(maxDup)) : 0;
      if (!index.headBits) for (auto &e : entries) e = {e.address, true, 0};
    } else {
      for (std::uint32_t r = 0; r < count; ++r) entries[r].address = layout.recordAddresses[r];
    }
    const unsigned w = index.entryWidth();
    std::vector<std::uint8_t> &block = blocks[i];
    block.push_back(kIndexMarker);
    block.resize(1 + std::size_t(w) * count, 0);
    for (std::uint32_t p = 0; p < count; ++p) index.encode(entries[p], block.data() + 1 + std::size_t(p) * w);
    // Jump table: only when first characters run in character order without interleaving.
    const bool eligible = i > 0 && spec_.indexes[i - 1].jumpTable &&
                          (fields[index.segments[0].column].type == ctString || fields[index.segments[0].column].type == ctBytes);
    if (eligible) {
      std::array<std::uint32_t, 256> starts{};
      int previous = -1;
      bool ordered = true;
      for (std::uint32_t p = 0; p < count && ordered; ++p) {
        const unsigned char c = keyFirstCharacter(index, keys[order[p]].data());
        if (int(c) < previous) ordered = false;
        else if (int(c) != previous) starts[c] = p + 1;
        previous = c;
      }
      std::vector<std::uint8_t> table;
      const unsigned j = ordered ? TOrvanto_DigSearch::encode(starts, count, table) : 0;
      if (j > 0 && j <= 255) {
        jumps[i] = j;
        layout.jumpOffsets.push_back(0);  // patched below
        block.insert(block.end(), table.begin(), table.end());
      }
    }
    const std::uint32_t check = orvCrc(kIndexStart + static_cast<std::uint32_t>(i), block.data() + 1, block.size() - 1);
    std::uint8_t b[4];
    writeLe(b, check, 4);
    block.insert(block.end(), b, b + 4);
  }

  // Index descriptors.
  OrvantoByteBuffer descriptors;
  for (std::size_t i = 1; i < indexCount; ++i) {
    const OrvantoIndexSpec &is = s.indexes[i - 1];
    const TOrvanto_iLow_Index &index = indexes[i];
    descriptors.putByte(static_cast<std::uint8_t>(jumps[i]));
    descriptors.putFixedText(is.name, 128);
    descriptors.putByte(is.flags);
    descriptors.putDword(distinct[i]);
    descriptors.putByte(static_cast<std::uint8_t>(index.duplicateBits | (index.headBits << 6)));
    descriptors.putByte(0);
    descriptors.putByte(static_cast<std::uint8_t>(is.segments.size()));
    for (std::size_t g = 0; g < is.segments.size(); ++g) {
      descriptors.putWord(index.segments[g].column);
      descriptors.putByte(is.segments[g].flags);
    }
  }
  if (indexCount > 1)
    descriptors.putDword(orvCrc(kIndexStart + static_cast<std::uint32_t>(indexCount), descriptors.bytes().data(), descriptors.size()));

  // Header and properties.
  std::uint8_t header[kTableHeaderSize] = {};
  header[0] = static_cast<std::uint8_t>(k);
  header[1] = layout.addressBits;
  writeLe(header + 2, tableCrc, 4);
  writeLe(header + 6, s.localeId, 4);
  writeLe(header + 10, static_cast<std::uint32_t>(fields.count()), 2);
  writeLe(header + 12, static_cast<std::uint32_t>(indexCount), 2);
  writeLe(header + 14, count, 4);
  writeLe(header + 18, layout.recordEnd, 4);
  writeLe(header + 22, layout.recordStart, 4);
  writeLe(header + 26, layout.templateOffset, 4);
  writeLe(header + 38, layout.descriptorsOffset, 4);
  std::uint8_t properties[kTablePropertiesSize] = {};
  properties[0] = s.flagA;
  properties[1] = s.flagB;
  for (int i = 0; i < 4; ++i) writeLe(properties + 2 + 4 * i, s.values[i], 4);
  if (s.description.size() > 255) invalid(tn, "descrição longa demais");
  std::memcpy(properties + 18, s.description.data(), s.description.size());

  // Assemble from base + 143.
  OrvantoByteBuffer out;
  out.putBytes(header, sizeof header);
  out.putWord(0);
  out.putDword(blockCheck(header, sizeof header, std::uint16_t{0}));
  out.putBytes(properties, sizeof properties);
  out.putWord(0);
  out.putDword(blockCheck(properties, sizeof properties, std::uint16_t{0}));
  out.putBytes(columnSection.bytes());
  if (hasTemplate) {
    std::uint8_t nb[4];
    writeLe(nb, n, 4);
    std::uint32_t crc = orvCrc(kTemplateStart, nb, 4);
    crc = orvCrc(crc, templ.data(), templ.size());
    out.putDword(n);
    out.putBytes(templ);
    out.putDword(crc);
  }
  out.putBytes(descriptors.bytes());
  out.putBytes(recordArea);
  layout.jumpOffsets.assign(indexCount, 0);
  layout.jumpCounts = jumps;
  for (std::size_t i = 0; i < indexCount; ++i) {
    const std::uint32_t at = static_cast<std::uint32_t>(out.size() + kTableHeaderOffset);
    layout.blockOffsets.push_back(at);
    layout.entryWidths.push_back(indexes[i].entryWidth());
    if (jumps[i]) layout.jumpOffsets[i] = at + 1 + indexes[i].entryWidth() * count;
    out.putBytes(blocks[i]);
  }
  layout.size = static_cast<std::uint32_t>(out.size());
  layout_ = layout;
  return out.take();
}

}  // namespace vl
