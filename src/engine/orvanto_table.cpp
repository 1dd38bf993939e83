#include "engine/orvanto_table.h"

#include <algorithm>
#include <cstring>

#include "engine/crc.h"
#include "engine/orvanto_block.h"
#include "engine/orvanto_bytes.h"
#include "engine/orvanto_format.h"

namespace vl {

using namespace orv;

namespace {

// Reads through the file while continuing a check over every byte taken.
class CheckedReader {
 public:
  CheckedReader(OrvantoPageReader &file, std::uint32_t start) : file_(file), crc_(start) {}
  void read(void *buffer, std::size_t count) {
    file_.read(buffer, count);
    crc_ = orvCrc(crc_, buffer, count);
  }
  std::uint8_t byte() {
    std::uint8_t b;
    read(&b, 1);
    return b;
  }
  std::uint32_t dword() {
    std::uint8_t b[4];
    read(b, 4);
    return getDword(b);
  }
  std::string text(std::size_t length) {
    std::string s(length, '\0');
    if (length) read(s.data(), length);
    return s;
  }
  // Compares the running value with the stored dword that follows.
  bool matches() {
    std::uint8_t b[4];
    file_.read(b, 4);
    return getDword(b) == crc_;
  }

 private:
  OrvantoPageReader &file_;
  std::uint32_t crc_;
};

// A protected block with W at the current position: data, W, stored check.
bool readBlockWithWord(OrvantoPageReader &file, std::uint8_t *data, std::size_t length) {
  file.read(data, length);
  std::uint8_t word[2], stored[4];
  file.read(word, 2);
  file.read(stored, 4);
  return blockCheck(data, length, getWord(word)) == getDword(stored);
}

}  // namespace

TOrvanto_iLow_Table::TOrvanto_iLow_Table(TOrvanto_DB_Engine *database) : db_(database) {}

TOrvanto_iLow_Table::~TOrvanto_iLow_Table() { Close(); }

void TOrvanto_iLow_Table::SetTableName(std::string_view name) {
  const std::string_view trimmed = trimBlanks(name);
  if (trimmed.size() > kMaxNameLength) {
    TOrvanto_Error_Class e;
    e.Set(kErrTableNameTooLong, 0, 0);
    throw EOrvanto_Engine_Error(kOpTable, e);
  }
  if (!sameTextIgnoringCase(trimmed, name_)) name_ = std::string(trimmed);
}

bool TOrvanto_iLow_Table::IsOpen() const { return db_ && db_->IsOpen() && file_.isOpen(); }

void TOrvanto_iLow_Table::SetOpen(bool open) {
  if (open == IsOpen()) return;
  if (open) Open();
  else Close();
}

void TOrvanto_iLow_Table::raise(std::string_view operation) const { throw EOrvanto_Engine_Error(operation, error_); }

void TOrvanto_iLow_Table::OpenOrRaise() {
  if (name_.empty()) {
    TOrvanto_Error_Class e;
    e.Set(kErrNoTableName, 0, 0);
    throw EOrvanto_Engine_Error(kOpTableOpen, e);
  }
  if (!Open()) raise(kOpTableOpen);
}

void TOrvanto_iLow_Table::closeForDatabase() {
  // The database is closing: release everything, then leave the entry list alone (it is being walked).
  entry_ptr_ = nullptr;
  Close();
}

void TOrvanto_iLow_Table::clearStructure() {
  file_.close();
  entryNumber_ = -1;
  base_ = 0;
  header_.fill(0);
  properties_.fill(0);
  hasTemplate_ = false;
  sizes_ = {};
  fields_.clear();
  indexes_.clear();
  recordCount_ = r0_ = r1_ = 0;
  columnDisk_.clear();
  recordBuffer_.clear();
  keyScratch_.clear();
  keySearch_ = false;
  active_ = 0;
  rangeOffset_ = rangeCount_ = last_ = position_ = 0;
  first_ = 1;
  entryValid_ = false;
  entry_ = {};
  state_ = orvCsEmpty;
  inverse_ = unique_ = false;
}

void TOrvanto_iLow_Table::Close() {
  if (entry_ptr_) {
    entry_ptr_->unregisterTable(this);
    entry_ptr_ = nullptr;
  }
  clearStructure();
}

std::uint32_t TOrvanto_iLow_Table::LocaleId() const { return getDword(header_.data() + 6); }

std::string TOrvanto_iLow_Table::Description() const { return fixedText(properties_.data() + 18, 256); }

std::vector<std::uint8_t> TOrvanto_iLow_Table::NewRecordBuffer() const {
  std::vector<std::uint8_t> buffer(RecordBufferSize());
  ClearRecord(buffer.data());
  return buffer;
}

void TOrvanto_iLow_Table::SetEllipsisType(TOrvanto_EllipsisType kind) {
  for (std::size_t i = 0; i < fields_.count(); ++i)
    if (fields_[i].isBlob()) fields_[i].ellipsis = kind;
}

bool TOrvanto_iLow_Table::Open() {
  error_.Reset();
  Close();
  if (!db_) {
    error_.Set(kErrOpenTable, 0, 0);
    return false;
  }
  const bool databaseWasOpen = db_->IsOpen();
  if (!databaseWasOpen) db_->Open();
  if (!db_->IsOpen()) {
    error_ = db_->LastError();
    return false;
  }
  auto fail = [&] {
    Close();
    if (!databaseWasOpen) db_->Close();
    return false;
  };
  entryNumber_ = db_->FindTable(name_);
  if (entryNumber_ < 0) {
    error_.Set(kErrTableNotFound, 0, 0);
    return fail();
  }
  if (const std::uint32_t os = file_.open(db_->FileName()); os != 0) {
    error_.Set(kErrOpenTable, 0, 0, os);
    return fail();
  }
  try {
    entry_ptr_ = &db_->Entry(static_cast<std::size_t>(entryNumber_));
    entry_ptr_->registerTable(this);
    base_ = entry_ptr_->position();
    readStructure();
  } catch (const EOrvanto_IO_Error &e) {
    recordIoError(error_, e);
  } catch (const EOrvanto_Internal_Error &e) {
    recordInternalError(error_, e);
  } catch (...) {
    fail();
    throw;
  }
  if (!error_.isClear()) return fail();
  return true;
}

void TOrvanto_iLow_Table::readStructure() {
  file_.seek(absolute(kTableHeaderOffset));
  if (!readBlockWithWord(file_, header_.data(), header_.size())) throw EOrvanto_Internal_Error(kErrTableCorrupt, kSecTableHeader, 0);
  const std::uint16_t columnCount = getWord(header_.data() + 10);
  const std::uint16_t indexCount = getWord(header_.data() + 12);
  recordCount_ = getDword(header_.data() + 14);
  r1_ = getDword(header_.data() + 18);
  r0_ = getDword(header_.data() + 22);
  const std::uint32_t t = getDword(header_.data() + 26);
  hasTemplate_ = t > 0;
  if (!readBlockWithWord(file_, properties_.data(), properties_.size()))
    throw EOrvanto_Internal_Error(kErrTableCorrupt, kSecTableHeader, 0);
  if (header_[0] > 4) throw EOrvanto_Internal_Error(kErrTableCorrupt, kSecTableHeader, 0);

  if (hasTemplate_) {
    file_.seek(absolute(t));
    CheckedReader in(file_, kTemplateStart);
    const std::uint32_t n = in.dword();
    if (n > kMaxTemplateSize) throw EOrvanto_Internal_Error(kErrTableCorrupt, kSecTableHeader, 1);
    sizes_.N = n;
    sizes_.templ.resize(n);
    if (n) in.read(sizes_.templ.data(), n);
    if (!in.matches()) throw EOrvanto_Internal_Error(kErrTableCorrupt, kSecTableHeader, 1);
    sizes_.sizes.assign(n, 0);
  }
  readColumns(columnCount);
  readIndexes(indexCount == 0 ? 1 : indexCount);
  if (indexCount == 0) throw EOrvanto_Internal_Error(kErrTableCorrupt, kSecTableIndexes, 0);

  sizes_.templ.clear();
  sizes_.templ.shrink_to_fit();
  recordBuffer_.assign(RecordBufferSize(), 0);
  columnDisk_.assign(fields_.count(), 0);
  active_ = 0;
  inverse_ = unique_ = false;
  setRangeRaw(0, recordCount_);
  First();
}

void TOrvanto_iLow_Table::readColumns(std::uint16_t columnCount) {
  file_.seek(absolute(kColumnSectionOffset));
  CheckedReader in(file_, kColumnsStart + columnCount);
  std::size_t cursor = 0;  // in the size template
  for (std::uint16_t i = 0; i < columnCount; ++i) {
    const std::uint8_t type = in.byte();
    const auto p1 = static_cast<std::int8_t>(in.byte());
    const auto p2 = static_cast<std::int8_t>(in.byte());
    const std::uint8_t p3 = in.byte();
    std::uint32_t declared = 0;
    std::uint8_t width = 0;
    if (type == ctString) {
      if (p1 < 1 || p1 > 4 || cursor + p1 > sizes_.templ.size()) throw EOrvanto_Internal_Error(kErrTableCorrupt, kSecTableColumns, i);
      declared = readLe(sizes_.templ.data() + cursor, static_cast<unsigned>(p1));
      width = static_cast<std::uint8_t>(p1);
    } else if (type == ctBytes) {
      declared = p1 < 0 ? 0xFFFFFFFFu : static_cast<std::uint32_t>(p1);
    } else if (type == ctMemo || type == ctBlob) {
      declared = p1 > 0 ? static_cast<std::uint32_t>(p1) : 0;
      width = type == ctMemo ? 2 : 4;
    }
    const std::string name = in.text(in.byte());
    const std::string description = in.text(in.byte());
    if (!fields_.add(type, p1, p2, p3, declared, name, description))
      throw EOrvanto_Internal_Error(kErrTableCorrupt, kSecTableColumns, i);
    if (width && hasTemplate_ && cursor + width > sizes_.templ.size())
      throw EOrvanto_Internal_Error(kErrTableCorrupt, kSecTableColumns, i);
    if (fields_[i].isBlob() && !hasTemplate_) throw EOrvanto_Internal_Error(kErrTableCorrupt, kSecTableColumns, i);
    cursor += width;
  }
  if (!in.matches()) throw EOrvanto_Internal_Error(kErrTableCorrupt, kSecTableColumns, 0);
}

void TOrvanto_iLow_Table::readIndexes(std::uint16_t indexCount) {
  TOrvanto_iLow_Index &primary = indexes_.add();
  primary.addressBits = header_[1];
  primary.blockOffset = r1_;
  primary.entryCount = recordCount_;
  primary.localeId = LocaleId();
  primary.jumpTable.reset(0, recordCount_);
  std::uint64_t next = std::uint64_t(r1_) + 1 + std::uint64_t(primary.entryWidth()) * recordCount_ + 4;

  if (indexCount > 1) {
    file_.seek(absolute(getDword(header_.data() + 38)));
    CheckedReader in(file_, kIndexStart + indexCount);
    for (std::uint16_t i = 1; i < indexCount; ++i) {
      const std::uint8_t jumps = in.byte();
      std::uint8_t name[128];
      in.read(name, sizeof name);
      const std::uint8_t flags = in.byte();
      const std::uint32_t distinct = in.dword();
      const std::uint8_t bits = in.byte();
      in.byte();
      const std::uint8_t segmentCount = in.byte();
      std::vector<TOrvanto_Index_Segment> segments(segmentCount);
      for (auto &s : segments) {
        std::uint8_t raw[3];
        in.read(raw, 3);
        s.column = getWord(raw);
        s.flags = raw[2];
      }
      if (distinct == 0 || distinct > recordCount_ || (bits & 0x80) || (bits & 0x3F) > 32 || segmentCount == 0)
        throw EOrvanto_Internal_Error(kErrIndexCorrupt, 0, i);
      TOrvanto_iLow_Index &index = indexes_.add();
      index.name = fixedText(name, sizeof name);
      index.localeId = LocaleId();
      bool text = false;
      for (auto &s : segments) {
        if (s.column >= fields_.count()) throw EOrvanto_Internal_Error(kErrIndexCorrupt, 0, i);
        if (flags & kIndexFoldBytes) s.flags |= kSegmentFold;
        text = text || isTextType(fields_[s.column].type);
      }
      index.segments = std::move(segments);
      index.keyLength = keyLengthFor(index, fields_);
      index.flags = adjustIndexFlags(flags, text);
      index.addressBits = header_[1];
      index.headBits = (bits >> 6) & 1;
      index.duplicateBits = bits & 0x3F;
      index.entryCount = distinct;
      index.jumpTable.reset(jumps, recordCount_);
      if (next > 0xFFFFFFFFull) throw EOrvanto_Internal_Error(kErrIndexCorrupt, 0, i);
      index.blockOffset = static_cast<std::uint32_t>(next);
      next += 1 + std::uint64_t(index.entryWidth()) * recordCount_ +
              TOrvanto_DigSearch::storedLength(jumps, index.jumpTable.width()) + 4;
      indexes_.longestKey = std::max(indexes_.longestKey, index.keyLength);
    }
    if (!in.matches()) throw EOrvanto_Internal_Error(kErrTableCorrupt, kSecTableIndexes, 0);
    indexes_.keyBuffer.assign(indexes_.longestKey, 0);
  }
  keyScratch_.assign(indexes_.longestKey, 0);

  for (std::size_t i = 0; i < indexes_.count(); ++i) {
    TOrvanto_iLow_Index &index = indexes_[i];
    file_.seek(absolute(index.blockOffset));
    std::uint8_t marker = 0;
    file_.read(&marker, 1);
    if (marker != kIndexMarker) throw EOrvanto_Internal_Error(kErrTableCorrupt, kSecTableIndexes, static_cast<std::uint32_t>(i));
    if (index.jumpTable.jumpCount() > 0 && !index.jumpTable.corrupt()) {
      file_.seek(absolute(index.blockOffset) + 1 + std::uint64_t(index.entryWidth()) * recordCount_);
      bool ok = false;
      try {
        ok = index.jumpTable.load([&](std::uint8_t *b, std::size_t n) { file_.read(b, n); });
      } catch (const EOrvanto_IO_Error &) {
        ok = false;
      }
      if (!ok) throw EOrvanto_Internal_Error(kErrIndexCorrupt, 0, static_cast<std::uint32_t>(i));
    }
  }
}

void TOrvanto_iLow_Table::ClearRecord(std::uint8_t *buffer) const {
  clearRecordBuffer(buffer, RecordBufferSize(), fields_.count());
}

std::uint8_t TOrvanto_iLow_Table::IndexOptions(std::size_t index) const { return indexes_[index].flags & 0x3F; }

std::pair<std::uint16_t, std::uint8_t> TOrvanto_iLow_Table::SegmentInfo(std::size_t index, std::size_t segment) const {
  const auto &s = indexes_[index].segments.at(segment);
  return {s.column, static_cast<std::uint8_t>(s.flags & 0x03)};
}

std::vector<TOrvanto_Index_Def> TOrvanto_iLow_Table::IndexDefinitions() const {
  std::vector<TOrvanto_Index_Def> defs;
  for (std::size_t i = 0; i < indexes_.count(); ++i) {
    const TOrvanto_iLow_Index &index = indexes_[i];
    TOrvanto_Index_Def def;
    if (i == 0) {
      def.name = "<Primary>";
      def.primary = true;
      defs.push_back(def);
      continue;
    }
    def.name = index.name;
    std::size_t descending = 0;
    for (const auto &s : index.segments) {
      const std::string &column = fields_[s.column].name;
      def.fields += (def.fields.empty() ? "" : ";") + column;
      if (s.flags & kSegmentDescending) {
        ++descending;
        def.descFields += (def.descFields.empty() ? "" : ";") + column;
      }
    }
    def.caseInsensitive = index.flags & kIndexCaseInsensitive;
    def.descending = descending > 0;
    if (descending == index.segments.size()) def.descFields.clear();
    defs.push_back(def);
  }
  return defs;
}

TOrvanto_Table_Info TOrvanto_iLow_Table::Info() const {
  TOrvanto_Table_Info info;
  info.RecordCount = recordCount_;
  info.ColumnCount = static_cast<std::uint16_t>(fields_.count());
  info.IndexCount = static_cast<std::uint16_t>(indexes_.count());
  info.CheckWidth = CheckWidth();
  info.FlagB = properties_[1] == 1;
  info.FlagA = properties_[0] == 1;
  info.LocaleId = LocaleId();
  for (int i = 0; i < 4; ++i) info.Values[i] = getDword(properties_.data() + 2 + 4 * i);
  info.Description = Description();
  return info;
}

TOrvanto_Table_Info TOrvanto_Table_Engine::GetInfo() {
  wasOpen_ = IsOpen();
  if (!wasOpen_ && !Open()) raise(kOpActive);
  const TOrvanto_Table_Info info = Info();
  if (!wasOpen_) Close();
  return info;
}

}  // namespace vl
