#include "engine/orvanto_db.h"

#include <algorithm>
#include <cstring>
#include <stdexcept>

#include "engine/cp1252.h"
#include "engine/orvanto_block.h"
#include "engine/orvanto_bytes.h"

namespace vl {

using namespace orv;

TOrvanto_iLow_DB::~TOrvanto_iLow_DB() { Close(); }

void TOrvanto_iLow_DB::SetFileName(std::string_view name) {
  // Names are compared exactly: on a case-sensitive file system names differing only in
  // case are different files.
  const std::string trimmed(trimBlanks(name));
  if (trimmed == fileName_) return;
  Close();
  fileName_ = trimmed;
}

void TOrvanto_iLow_DB::Close() {
  for (auto &entry : entries_) entry->closeOpenTables();
  file_.close();
  entries_.clear();
  fileSize_ = 0;
  formatVersion_ = 0;
  footerValue_ = 0;
  mainHeader_.fill(0);
  directoryHeader_.fill(0);
  properties_.fill(0);
  firstEntryPosition_ = 0;
}

bool TOrvanto_iLow_DB::Open() {
  error_.Reset();
  Close();
  if (const std::uint32_t osError = file_.open(fileName_); osError != 0) {
    error_.Set(kErrOpenDatabase, 0, 0, osError);
    return false;
  }
  try {
    readStructure();
  } catch (const EOrvanto_IO_Error &e) {
    recordIoError(error_, e);
  } catch (const EOrvanto_Internal_Error &e) {
    recordInternalError(error_, e);
  } catch (...) {
    Close();
    throw;
  }
  if (!error_.isClear()) {
    Close();
    return false;
  }
  return true;
}

void TOrvanto_iLow_DB::readStructure() {
  fileSize_ = static_cast<std::uint32_t>(file_.size());

  std::uint8_t id[kIdentificationSize];
  const bool idValid = readProtectedBlock(file_, id, sizeof id, true);
  formatVersion_ = static_cast<std::uint16_t>(id[kMajorOffset] << 8 | id[kMinorOffset]);

  if (std::memcmp(id, kMagic, sizeof kMagic) != 0) {
    error_.Set(kErrNotOrvanto, 0, 0);
  } else if (formatVersion_ > kHighestFormatVersion) {
    error_.Set(kErrNewerVersion, id[kMajorOffset], id[kMinorOffset]);
  } else if (!idValid) {
    error_.Set(kErrDatabaseCorrupt, kSecIdentification, 0, kOsDataError);
  } else if (!readProtectedBlock(file_, mainHeader_.data(), mainHeader_.size(), true)) {
    error_.Set(kErrDatabaseCorrupt, kSecHeader, 1, kOsDataError);
  } else if (!readProtectedBlock(file_, directoryHeader_.data(), directoryHeader_.size(), true)) {
    error_.Set(kErrDatabaseCorrupt, kSecHeader, 2, kOsDataError);
  } else if (!readProtectedBlock(file_, properties_.data(), properties_.size(), true)) {
    error_.Set(kErrDatabaseCorrupt, kSecHeader, 3, kOsDataError);
  } else if (mainHeader_[kPasswordFlagOffset] != 0) {
    error_.Set(kErrPassword, 0, 0, kOsInvalidPassword);
  }
  if (!error_.isClear()) return;

  const std::uint16_t userAreaSize = getWord(&mainHeader_[kUserAreaSizeOffset]);
  firstEntryPosition_ = kAfterPropertiesPosition;
  if (userAreaSize > 0) firstEntryPosition_ += userAreaSize + static_cast<std::uint32_t>(kUserAreaTrailerSize);
  file_.seek(firstEntryPosition_);

  const std::uint16_t count = getWord(&directoryHeader_[kEntryCountOffset]);
  TOrvanto_Table_Entry::Bytes entry{};
  for (std::uint32_t number = 0; number < count; ++number) {
    const auto position = static_cast<std::uint32_t>(file_.position());
    if (!readProtectedBlock(file_, entry.data(), entry.size(), false)) {
      error_.Set(kErrDatabaseCorrupt, kSecEntry, number, kOsDataError);
      return;
    }
    if (getDword(&entry[kEntrySelfOffset]) != position) {
      error_.Set(kErrDatabaseCorrupt, kSecEntryPosition, number);
      return;
    }
    if (entry[kEntryKindOffset] == kKindTable) entries_.push_back(std::make_unique<TOrvanto_Table_Entry>(entry));
    file_.seek(getDword(&entry[kEntryNextOffset]));
  }

  TOrvanto_Table_Entry::Bytes footer{};
  if (!readProtectedBlock(file_, footer.data(), footer.size(), false)) {
    error_.Set(kErrDatabaseCorrupt, kSecFooter, 0, kOsDataError);
  } else if (footer[kEntryKindOffset] != kKindFooter) {
    error_.Set(kErrDatabaseCorrupt, kSecFooterKind, 0);
  } else {
    footerValue_ = getDword(&footer[kEntrySelfOffset]);
  }
}

void TOrvanto_iLow_DB::SetOpen(bool open) {
  if (open && !IsOpen()) {
    Open();
  } else if (!open && IsOpen()) {
    Close();
  }
}

void TOrvanto_iLow_DB::Connect() {
  SetOpen(true);
  if (!IsOpen()) throw EOrvanto_Engine_Error(kOpConnection, error_);
}

std::string TOrvanto_iLow_DB::TableName(std::size_t index) const {
  if (index >= entries_.size()) throw std::out_of_range("TOrvanto_iLow_DB::TableName: index out of range");
  return entries_[index]->name();
}

int TOrvanto_iLow_DB::FindTable(std::string_view name) const {
  std::string_view wanted = trimBlanks(name);
  if (wanted.size() > kMaxTableNameLength) wanted = wanted.substr(0, kMaxTableNameLength);
  const std::string key = cp1252Upper(wanted);
  for (std::size_t i = 0; i < entries_.size(); ++i)
    if (cp1252Upper(entries_[i]->name()) == key) return static_cast<int>(i);
  return -1;
}

TOrvanto_DB_Info TOrvanto_iLow_DB::info() const {
  TOrvanto_DB_Info info;
  info.Title = fixedText(&properties_[kTitleOffset], kTitleSize);
  const std::uint32_t version = getDword(&properties_[kContentVersionOffset]);
  info.Version = {static_cast<std::uint8_t>(version >> 24), static_cast<std::uint8_t>(version >> 16),
                  static_cast<std::uint8_t>(version >> 8), static_cast<std::uint8_t>(version)};
  info.HasPassword = mainHeader_[kPasswordFlagOffset] == 1;
  std::copy_n(&mainHeader_[kGuidOffset], kGuidSize, info.Guid.begin());
  info.UserAreaSize = getWord(&mainHeader_[kUserAreaSizeOffset]);
  info.Text = fixedText(&properties_[kTextOffset], kTextSize);
  info.FormatVersion = {static_cast<std::uint8_t>(formatVersion_ >> 8), static_cast<std::uint8_t>(formatVersion_), 0,
                        0};
  std::copy_n(&properties_[kValueAOffset], kValueSize, info.ValueA.begin());
  std::copy_n(&properties_[kValueBOffset], kValueSize, info.ValueB.begin());
  info.FileSize = fileSize_;
  info.Description = fixedText(&properties_[kDescriptionOffset], kDescriptionSize);
  return info;
}

template <class Work>
void TOrvanto_DB_Engine::withOpenFile(Work work) {
  wasOpen_ = IsOpen();
  if (!wasOpen_) Connect();
  const bool restore = wasOpen_;
  try {
    work();
  } catch (...) {
    SetOpen(restore);
    throw;
  }
  SetOpen(restore);
}

void TOrvanto_DB_Engine::ListTables(std::vector<std::string> &list) {
  list.clear();
  withOpenFile([&] {
    for (std::size_t i = 0; i < TableCount(); ++i) list.push_back(TableName(i));
  });
}

TOrvanto_DB_Info TOrvanto_DB_Engine::GetInfo() {
  TOrvanto_DB_Info result;
  withOpenFile([&] { result = info(); });
  return result;
}

}  // namespace vl
