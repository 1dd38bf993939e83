#pragma once
// A data set over rows held in memory, to drive the dataset layer without the engine.
#include <algorithm>
#include <cstring>
#include <map>

#include "data/dataset.h"

namespace vl::test {

class MemoryDataSet : public DataSet {
 public:
  MemoryDataSet(std::vector<FieldDef> defs, std::vector<Values> rows, int keyColumn = -1)
      : defs_(std::move(defs)), rows_(std::move(rows)), keyColumn_(keyColumn) {}

  std::uint32_t recordCount() override { return static_cast<std::uint32_t>(rows_.size()); }
  std::uint32_t recNo() override { return pos(activeRecord()); }
  void setRecNo(std::uint32_t n) override {
    pos_ = n;
    resync();
  }
  bool bookmarkValid(const Bookmark &b) override { return b.size() == 4 && read(b) >= 1 && read(b) <= rows_.size(); }
  int compareBookmarks(const Bookmark &a, const Bookmark &b) const override {
    return read(a) < read(b) ? -1 : read(a) > read(b) ? 1 : 0;
  }
  bool locate(const std::string &fields, const Values &values, LocateOptions) override {
    const auto list = fieldList(fields);
    for (std::size_t r = 0; r < rows_.size(); ++r) {
      bool same = true;
      for (std::size_t i = 0; i < list.size(); ++i) same = same && rows_[r][list[i]->fieldNo() - 1] == values[i];
      if (same) {
        pos_ = static_cast<std::uint32_t>(r + 1);
        resync();
        return true;
      }
    }
    return false;
  }
  std::optional<Values> lookup(const std::string &keys, const Values &values, const std::string &results) override {
    const auto keyList = fieldList(keys);
    const auto resultList = fieldList(results);
    ++lookups;
    for (const auto &row : rows_) {
      bool same = true;
      for (std::size_t i = 0; i < keyList.size(); ++i) same = same && row[keyList[i]->fieldNo() - 1] == values[i];
      if (same) {
        Values out;
        for (Field *f : resultList) out.push_back(row[f->fieldNo() - 1]);
        return out;
      }
    }
    return std::nullopt;
  }
  using DataSet::locate;
  int lookups = 0;
  // The key buffer as the fields see it while editing a key.
  Values keyValues() {
    Values v;
    for (std::size_t i = 0; i < fieldCount(); ++i) v.push_back(field(i).value());
    return v;
  }

 protected:
  void openCursor() override { fieldDefs_ = defs_; }
  void closeCursor() override {}
  void clearRecord(Record &r) override { r.data.assign(8, 0); }
  void cursorFirst() override { pos_ = 0; }
  void cursorLast() override { pos_ = static_cast<std::uint32_t>(rows_.size()) + 1; }
  bool fetch(Record &r, FetchMode mode) override {
    if (mode == FetchMode::Next) {
      if (pos_ >= rows_.size()) {
        pos_ = static_cast<std::uint32_t>(rows_.size()) + 1;
        return false;
      }
      ++pos_;
    } else if (mode == FetchMode::Prior) {
      if (pos_ <= 1) {
        pos_ = 0;
        return false;
      }
      --pos_;
    } else if (pos_ < 1 || pos_ > rows_.size()) {
      return false;
    }
    r.data.assign(8, 0);
    std::memcpy(r.data.data(), &pos_, 4);
    ++fetches;
    return true;
  }
  void positionOn(const Record &r) override { pos_ = pos(&r); }
  Bookmark recordBookmark(const Record &r) const override { return {r.data.begin(), r.data.begin() + 4}; }
  void cursorToBookmark(const Bookmark &b) override { pos_ = read(b); }
  Value dataFieldValue(const Field &f, const Record &r) override {
    if (const auto id = keyId(r)) return keyStore_[id - 1][f.fieldNo() - 1];
    const auto p = pos(&r);
    return p >= 1 && p <= rows_.size() ? rows_[p - 1][f.fieldNo() - 1] : Value{};
  }
  void setDataFieldValue(const Field &f, Record &r, const Value &v) override {
    // Copy on write, so that copies of a key buffer keep their values.
    Values values = keyId(r) ? keyStore_[keyId(r) - 1] : Values(defs_.size());
    values[f.fieldNo() - 1] = v;
    keyStore_.push_back(values);
    const auto id = static_cast<std::uint32_t>(keyStore_.size());
    std::memcpy(r.data.data() + 4, &id, 4);
  }
  int keyFieldPosition(const Field &f) const override { return f.fieldNo() - 1 == keyColumn_ ? 0 : -1; }

 public:
  int fetches = 0;

 private:
  static std::uint32_t read(const Bookmark &b) {
    std::uint32_t v = 0;
    if (b.size() == 4) std::memcpy(&v, b.data(), 4);
    return v;
  }
  static std::uint32_t pos(const Record *r) {
    std::uint32_t v = 0;
    if (r && r->data.size() >= 4) std::memcpy(&v, r->data.data(), 4);
    return v;
  }
  std::vector<FieldDef> defs_;
  std::vector<Values> rows_;
  int keyColumn_;
  std::uint32_t pos_ = 0;
  std::vector<Values> keyStore_;
  static std::uint32_t keyId(const Record &r) {
    std::uint32_t v = 0;
    if (r.data.size() >= 8) std::memcpy(&v, r.data.data() + 4, 4);
    return v;
  }
};

inline FieldDef def(std::string name, FieldType type, int fieldNo, int size = 0) {
  FieldDef d;
  d.name = std::move(name);
  d.type = type;
  d.fieldNo = fieldNo;
  d.size = size;
  return d;
}

}  // namespace vl::test
