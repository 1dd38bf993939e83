#include "data/field.h"

#include <cmath>
#include <cstdio>

#include "data/data_error.h"
#include "data/dataset.h"
#include "engine/cp1252.h"

namespace vl {

bool isTextFieldType(FieldType type) {
  return type == FieldType::String || type == FieldType::Bytes || type == FieldType::Blob ||
         type == FieldType::Memo;
}

bool isBlobFieldType(FieldType type) { return type == FieldType::Blob || type == FieldType::Memo; }

bool sameFieldName(std::string_view a, std::string_view b) {
  if (a.size() == b.size() && a == b) return true;
  return cp1252Upper(utf8ToCp1252(a)) == cp1252Upper(utf8ToCp1252(b));
}

Field::Field(DataSet &dataSet, FieldDef def, FieldKind kind, int index)
    : ds_(&dataSet), def_(std::move(def)), kind_(kind), index_(index) {}

Value Field::value() const { return ds_->fieldValue(*this); }

bool Field::isNull() const { return value().isNull(); }

void Field::setValue(const Value &value) { ds_->assignField(*this, value); }

void raiseConversionError(const Field &field, const std::string &text) {
  throw DatabaseError("Valor '" + text + "' não pode ser convertido para o campo '" + field.displayName() + "'",
                      &field.dataSet());
}

std::string Field::asString() const { return text(false); }

std::string Field::displayText() const { return text(true); }

std::string Field::text(bool display) const {
  if (getText_) return getText_(*this, display);
  const Value v = value();
  const auto &s = v.storage();
  if (std::holds_alternative<std::monostate>(s)) return {};
  if (const auto *t = std::get_if<std::string>(&s))
    return display && def_.type == FieldType::Blob ? std::string("(Blob)") : *t;
  if (const auto *b = std::get_if<bool>(&s)) return *b ? "Sim" : "Não";
  if (const auto *i = std::get_if<std::int64_t>(&s)) return std::to_string(*i);
  if (const auto *d = std::get_if<double>(&s)) {
    if (display && def_.type == FieldType::Currency) return formatCurrencyText(*d);
    return formatFloatText(*d, display ? def_.precision : 15);
  }
  const DateTime dt = std::get<DateTime>(s);
  if (def_.type == FieldType::Date) return formatDateText(dt);
  if (def_.type == FieldType::Time) return formatTimeText(dt);
  return formatDateTimeText(dt);
}

std::int64_t Field::asInteger() const {
  const Value v = value();
  if (const auto r = valueToInteger(v)) return *r;
  raiseConversionError(*this, text(false));
}

double Field::asFloat() const {
  const Value v = value();
  if (const auto r = valueToFloat(v)) return *r;
  raiseConversionError(*this, text(false));
}

bool Field::asBoolean() const {
  const Value v = value();
  if (const auto r = valueToBoolean(v)) return *r;
  raiseConversionError(*this, text(false));
}

DateTime Field::asDateTime() const {
  const Value v = value();
  if (v.isNull()) return storedEpoch();
  if (v.holds<DateTime>()) return v.get<DateTime>();
  raiseConversionError(*this, text(false));
}

std::string Field::asBytes() const {
  const Value v = value();
  if (!v.holds<std::string>()) return text(false);
  return def_.type == FieldType::Blob ? v.get<std::string>() : utf8ToCp1252(v.get<std::string>());
}

// ---- texts -----------------------------------------------------------------------------------

std::string formatFloatText(double value, int precision) {
  if (std::isnan(value)) return "NAN";
  if (std::isinf(value)) return value > 0 ? "INF" : "-INF";
  if (precision <= 0 || precision > 15) precision = 15;
  char buf[64];
  std::snprintf(buf, sizeof buf, "%.*G", precision, value);
  std::string text(buf);
  for (char &c : text)
    if (c == '.') c = ',';
  return text;
}

std::string formatCurrencyText(double value) {
  if (!std::isfinite(value)) return formatFloatText(value, 15);
  const bool negative = value < 0;
  char buf[64];
  std::snprintf(buf, sizeof buf, "%.2f", std::fabs(value));
  std::string digits(buf);
  const auto dot = digits.find('.');
  std::string whole = digits.substr(0, dot);
  const std::string cents = digits.substr(dot + 1);
  std::string grouped;
  for (std::size_t i = 0; i < whole.size(); ++i) {
    if (i > 0 && (whole.size() - i) % 3 == 0) grouped += '.';
    grouped += whole[i];
  }
  return std::string(negative ? "-" : "") + "R$ " + grouped + "," + cents;
}

namespace {

struct Civil {
  int year;
  unsigned month, day;
  long long hour, minute, second;
};

Civil civil(DateTime value) {
  using namespace std::chrono;
  const auto day = floor<days>(value);
  const year_month_day ymd{day};
  const auto ms = (value - day).count();
  return {int(ymd.year()), unsigned(ymd.month()), unsigned(ymd.day()), ms / 3600000, ms / 60000 % 60,
          ms / 1000 % 60};
}

}  // namespace

std::string formatDateText(DateTime value) {
  const Civil c = civil(value);
  char buf[32];
  std::snprintf(buf, sizeof buf, "%02u/%02u/%04d", c.day, c.month, c.year);
  return buf;
}

std::string formatTimeText(DateTime value) {
  const Civil c = civil(value);
  char buf[32];
  std::snprintf(buf, sizeof buf, "%02lld:%02lld:%02lld", c.hour, c.minute, c.second);
  return buf;
}

std::string formatDateTimeText(DateTime value) {
  const Civil c = civil(value);
  if (c.hour == 0 && c.minute == 0 && c.second == 0) return formatDateText(value);
  return formatDateText(value) + " " + formatTimeText(value);
}

}  // namespace vl
