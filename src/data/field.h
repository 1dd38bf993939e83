#pragma once
// Field objects of a data set: one per column (data fields) plus calculated and lookup fields.
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

#include "data/data_value.h"

namespace vl {

class DataSet;

// Codes equal to the engine's column type codes.
enum class FieldType : std::uint8_t {
  Unknown = 0,
  String = 1,
  Smallint = 2,
  Integer = 3,
  Word = 4,
  Boolean = 5,
  Float = 6,
  Currency = 7,
  Date = 9,
  Time = 10,
  DateTime = 11,
  Bytes = 12,
  AutoInc = 14,
  Blob = 15,
  Memo = 16,
};

enum class FieldKind : std::uint8_t { Data, Calculated, Lookup };

bool isTextFieldType(FieldType type);  // String, Bytes, Blob, Memo
bool isBlobFieldType(FieldType type);  // Blob, Memo

// Field, table and index names (UTF-8) compared ignoring case, as code page 1252 upper-cases.
bool sameFieldName(std::string_view a, std::string_view b);

// What a data set knows of one of its columns.
struct FieldDef {
  std::string name;  // UTF-8
  FieldType type = FieldType::Unknown;
  int size = 0;
  int precision = 0;
  int fieldNo = 0;  // 1-based column number
  bool fixedSize = false;
  bool readOnly = true;
};

// A lookup field's value is resultField of the record of lookupDataSet whose lookupKeyFields
// equal this data set's keyFields (field lists separated by ";").
struct LookupSpec {
  DataSet *lookupDataSet = nullptr;
  std::string keyFields;
  std::string lookupKeyFields;
  std::string resultField;
};

class Field {
 public:
  // Replaces the text of the field: displayText true for displayText(), false for asString().
  using GetTextHandler = std::function<std::string(const Field &, bool displayText)>;

  Field(DataSet &dataSet, FieldDef def, FieldKind kind, int index);
  Field(const Field &) = delete;
  Field &operator=(const Field &) = delete;

  DataSet &dataSet() const { return *ds_; }
  const std::string &fieldName() const { return def_.name; }
  const std::string &displayName() const { return def_.name; }
  FieldType dataType() const { return def_.type; }
  FieldKind kind() const { return kind_; }
  int size() const { return def_.size; }
  int precision() const { return def_.precision; }
  int fieldNo() const { return def_.fieldNo; }  // 0 for calculated and lookup fields
  int index() const { return index_; }           // position in the data set's field list
  bool readOnly() const { return def_.readOnly; }
  bool fixedSize() const { return def_.fixedSize; }
  bool isBlob() const { return isBlobFieldType(def_.type); }
  bool isText() const { return isTextFieldType(def_.type); }
  const LookupSpec &lookup() const { return lookup_; }

  // The value in the data set's current record (the active record, a key buffer while editing a
  // key, the record being calculated, or the row chosen by DataSet::RowScope).
  Value value() const;
  bool isNull() const;
  std::string asString() const;  // UTF-8 text; a Blob field's stored bytes, NUL bytes included
  std::int64_t asInteger() const;
  bool asBoolean() const;
  double asFloat() const;
  DateTime asDateTime() const;   // null: storedEpoch()
  std::string displayText() const;  // formatted for the user (UTF-8, Brazilian conventions)
  std::string asBytes() const;      // as stored: code page 1252 text, a Blob's bytes

  void setValue(const Value &value);
  void clear() { setValue(Value{}); }

  void setGetTextHandler(GetTextHandler handler) { getText_ = std::move(handler); }

 private:
  friend class DataSet;
  std::string text(bool display) const;

  DataSet *ds_;
  FieldDef def_;
  FieldKind kind_;
  int index_;
  int calcIndex_ = -1;  // slot among the calculated values of a record
  LookupSpec lookup_;
  GetTextHandler getText_;
};

// Raises the database error for a value that the field cannot take or give in that type.
[[noreturn]] void raiseConversionError(const Field &field, const std::string &text);

// Texts of values as the user sees them: decimal comma, dd/mm/yyyy, "Sim"/"Não".
std::string formatFloatText(double value, int precision);
std::string formatCurrencyText(double value);
std::string formatDateText(DateTime value);
std::string formatTimeText(DateTime value);
std::string formatDateTimeText(DateTime value);

}  // namespace vl
