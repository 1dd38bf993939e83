#pragma once
// The database object: opens an Orvanto file, validates its blocks and finds its tables.
#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "engine/orvanto_entry.h"
#include "engine/orvanto_error.h"
#include "engine/orvanto_file.h"
#include "engine/orvanto_format.h"

namespace vl {

// Information record of a database file. Texts are cp1252.
struct TOrvanto_DB_Info {
  std::string Title;
  std::array<std::uint8_t, 4> Version{};  // a, b, c, d of the content version
  bool HasPassword = false;
  std::array<std::uint8_t, orv::kGuidSize> Guid{};
  std::uint16_t UserAreaSize = 0;
  std::string Text;
  std::array<std::uint8_t, 4> FormatVersion{};  // major, minor, 0, 0
  std::array<std::uint8_t, orv::kValueSize> ValueA{};
  std::array<std::uint8_t, orv::kValueSize> ValueB{};
  std::uint32_t FileSize = 0;
  std::string Description;
};

class TOrvanto_iLow_DB {
public:
  TOrvanto_iLow_DB() = default;
  ~TOrvanto_iLow_DB();
  TOrvanto_iLow_DB(const TOrvanto_iLow_DB &) = delete;
  TOrvanto_iLow_DB &operator=(const TOrvanto_iLow_DB &) = delete;

  // Trims the name; a different name closes the database and is stored.
  void SetFileName(std::string_view name);
  const std::string &FileName() const { return fileName_; }

  // Opens and validates the file; false with LastError() set on failure (the database is closed).
  bool Open();
  // Closes every open table of every entry, the file, and clears directory and header copies.
  void Close();
  bool IsOpen() const { return file_.isOpen(); }
  // Opens when asked to open and closed, closes when asked to close and open.
  void SetOpen(bool open);
  // SetOpen(true); raises EOrvanto_Engine_Error "Connection" when the database is then not open.
  void Connect();

  std::uint16_t TableCount() const { return static_cast<std::uint16_t>(entries_.size()); }
  // Name of table entry `index` in file order (cp1252); std::out_of_range for a bad index.
  std::string TableName(std::size_t index) const;
  // Index of the first entry whose name matches ignoring case and surrounding blanks, or -1.
  int FindTable(std::string_view name) const;
  TOrvanto_Error_Class LastError() const { return error_; }

  // What a table reader needs from the open database.
  std::uint32_t FileSize() const { return fileSize_; }
  std::uint16_t FormatVersion() const { return formatVersion_; }
  std::uint32_t FooterValue() const { return footerValue_; }
  std::uint32_t FirstEntryPosition() const { return firstEntryPosition_; }
  const std::array<std::uint8_t, orv::kMainHeaderSize> &MainHeader() const { return mainHeader_; }
  const std::array<std::uint8_t, orv::kDirectoryHeaderSize> &DirectoryHeader() const { return directoryHeader_; }
  const std::array<std::uint8_t, orv::kPropertiesSize> &Properties() const { return properties_; }
  const TOrvanto_Table_Entries &Entries() const { return entries_; }
  TOrvanto_Table_Entry &Entry(std::size_t index) { return *entries_.at(index); }
  const TOrvanto_Table_Entry &Entry(std::size_t index) const { return *entries_.at(index); }

protected:
  TOrvanto_DB_Info info() const;

private:
  void readStructure();

  std::string fileName_;
  std::uint32_t fileSize_ = 0;
  std::uint16_t formatVersion_ = 0;
  OrvantoFile file_;  // read-only access, read sharing
  TOrvanto_Error_Class error_;
  std::uint32_t footerValue_ = 0;
  std::array<std::uint8_t, orv::kMainHeaderSize> mainHeader_{};
  std::array<std::uint8_t, orv::kDirectoryHeaderSize> directoryHeader_{};
  std::array<std::uint8_t, orv::kPropertiesSize> properties_{};
  TOrvanto_Table_Entries entries_;
  std::uint32_t firstEntryPosition_ = 0;
};

class TCustomOrvanto_DB : public TOrvanto_iLow_DB {};

class TOrvanto_DB_Engine : public TCustomOrvanto_DB {
public:
  // Fills `list` (cleared first) with the table names in file order; the file is opened only
  // for the call when it was closed, and raises EOrvanto_Engine_Error "Connection" on failure.
  void ListTables(std::vector<std::string> &list);
  // The information record, with the same opening rule as ListTables.
  TOrvanto_DB_Info GetInfo();

private:
  template <class Work>
  void withOpenFile(Work work);

  bool wasOpen_ = false;
};

}  // namespace vl
