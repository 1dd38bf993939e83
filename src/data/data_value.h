#pragma once
// Values carried by data set fields: null, Boolean, integer, float, text or date-time.
#include <chrono>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

namespace vl {

// The program's date type: a UTC-free civil date and time of day to the millisecond
// (std::chrono::sys_time used as a plain calendar point, no time zone involved).
// Date columns give midnight of their day; Time columns give their time of day on 0001-01-01,
// the first day of the stored calendar.
using DateTime = std::chrono::sys_time<std::chrono::milliseconds>;

// Midnight of 0001-01-01, day 1 of the stored day numbers.
DateTime storedEpoch();
DateTime makeDateTime(int year, unsigned month, unsigned day, int hour = 0, int minute = 0, int second = 0,
                      int millisecond = 0);

// A field value. Strings hold UTF-8 text, except the values of Blob fields, which hold the
// stored bytes unchanged.
class Value {
 public:
  using Storage = std::variant<std::monostate, bool, std::int64_t, double, std::string, DateTime>;

  Value() = default;
  Value(bool v) : v_(v) {}
  Value(int v) : v_(std::int64_t{v}) {}
  Value(unsigned v) : v_(std::int64_t{v}) {}
  Value(std::int64_t v) : v_(v) {}
  Value(double v) : v_(v) {}
  Value(std::string v) : v_(std::move(v)) {}
  Value(std::string_view v) : v_(std::string(v)) {}
  Value(const char *v) : v_(std::string(v)) {}
  Value(DateTime v) : v_(v) {}

  bool isNull() const { return std::holds_alternative<std::monostate>(v_); }
  template <class T> bool holds() const { return std::holds_alternative<T>(v_); }
  template <class T> const T &get() const { return std::get<T>(v_); }
  const Storage &storage() const { return v_; }

  bool operator==(const Value &other) const { return v_ == other.v_; }

 private:
  Storage v_;
};

using Values = std::vector<Value>;

// Conversions of a value; nullopt when it has no such reading (null gives 0 / false).
// Texts are read as numbers with "." or "," as decimal mark, as Booleans from "Sim"/"Não",
// "True"/"False", "S"/"N", "1"/"0".
std::optional<std::int64_t> valueToInteger(const Value &value);
std::optional<double> valueToFloat(const Value &value);
std::optional<bool> valueToBoolean(const Value &value);

}  // namespace vl
