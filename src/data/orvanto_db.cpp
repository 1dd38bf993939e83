#include "data/orvanto_db.h"

#include <filesystem>
#include <unicode/uchar.h>
#include <unicode/unistr.h>

#include "data/data_error.h"
#include "data/orvanto_dataset.h"
#include "engine/cp1252.h"

namespace vl {

namespace {

std::string trimmedName(const std::string &name) {
  std::size_t b = 0, e = name.size();
  while (b < e && static_cast<unsigned char>(name[b]) <= 0x20) ++b;
  while (e > b && static_cast<unsigned char>(name[e - 1]) <= 0x20) --e;
  return name.substr(b, e - b);
}

bool sameIgnoringCase(const std::string &a, const std::string &b) {
  return icu::UnicodeString::fromUTF8(a).caseCompare(icu::UnicodeString::fromUTF8(b), U_FOLD_CASE_DEFAULT) == 0;
}

// Names that differ only in case are one file on a case-insensitive file system; here they are
// two files when both exist and are not the same file.
bool namesAnotherFile(const std::string &a, const std::string &b) {
  std::error_code ec;
  if (!std::filesystem::exists(a, ec) || !std::filesystem::exists(b, ec)) return false;
  return !std::filesystem::equivalent(a, b, ec);
}

}  // namespace

TOrvantoDB::TOrvantoDB() : engine_(std::make_unique<TOrvanto_DB_Engine>()) {}

TOrvantoDB::~TOrvantoDB() {
  const auto list = dataSets();
  for (DataSet *ds : list) static_cast<TOrvantoDataSet *>(ds)->setOrvantoDatabase(nullptr);
  engine_->Close();
}

std::string TOrvantoDB::fileName() const { return engine_->FileName(); }

void TOrvantoDB::setFileName(const std::string &name) {
  const std::string next = trimmedName(name);
  const std::string &current = engine_->FileName();
  if (next == current) return;
  if (sameIgnoringCase(next, current) && !namesAnotherFile(next, current)) return;
  setConnected(false);
  engine_->SetFileName(next);
}

bool TOrvantoDB::connected() const { return engine_->IsOpen(); }

void TOrvantoDB::setConnected(bool value) {
  if (value) {
    if (connected()) return;
    if (engine_->FileName().empty()) raiseDatabaseError(dberr::kFileNameMissing, this);
    refreshTableNames();
    engine_->Connect();
    if (engine_->IsOpen())
      refreshTableNames();
    else
      setConnected(false);
  } else {
    closeDataSets();
    engine_->Close();
  }
}

void TOrvantoDB::refreshTableNames() {
  std::vector<std::string> names;
  engine_->ListTables(names);
  tableNames_.clear();
  for (const auto &n : names) tableNames_.push_back(cp1252ToUtf8(n));
}

TOrvanto_DB_Info TOrvantoDB::getInfo() { return engine_->GetInfo(); }

}  // namespace vl
