#include "data/data_value.h"

#include <charconv>
#include <cmath>

#include "engine/cp1252.h"

namespace vl {

DateTime storedEpoch() {
  using namespace std::chrono;
  return DateTime{sys_days{year{1} / January / 1}.time_since_epoch()};
}

DateTime makeDateTime(int y, unsigned m, unsigned d, int hour, int minute, int second, int millisecond) {
  using namespace std::chrono;
  const sys_days day{year{y} / month{m} / std::chrono::day{d}};
  return DateTime{day.time_since_epoch()} + hours{hour} + minutes{minute} + seconds{second} +
         milliseconds{millisecond};
}

namespace {

std::string trimmed(const std::string &s) {
  const auto b = s.find_first_not_of(" \t\r\n");
  if (b == std::string::npos) return {};
  return s.substr(b, s.find_last_not_of(" \t\r\n") - b + 1);
}

}  // namespace

std::optional<std::int64_t> valueToInteger(const Value &value) {
  const auto &s = value.storage();
  if (std::holds_alternative<std::monostate>(s)) return 0;
  if (const auto *i = std::get_if<std::int64_t>(&s)) return *i;
  if (const auto *b = std::get_if<bool>(&s)) return *b ? 1 : 0;
  if (const auto *d = std::get_if<double>(&s)) {
    if (!std::isfinite(*d) || std::fabs(*d) > 9.2e18) return std::nullopt;
    return std::llround(*d);
  }
  if (const auto *t = std::get_if<std::string>(&s)) {
    const std::string text = trimmed(*t);
    std::int64_t result = 0;
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), result);
    if (text.empty() || ec != std::errc() || end != text.data() + text.size()) return std::nullopt;
    return result;
  }
  return std::nullopt;
}

std::optional<double> valueToFloat(const Value &value) {
  const auto &s = value.storage();
  if (std::holds_alternative<std::monostate>(s)) return 0.0;
  if (const auto *d = std::get_if<double>(&s)) return *d;
  if (const auto *i = std::get_if<std::int64_t>(&s)) return static_cast<double>(*i);
  if (const auto *b = std::get_if<bool>(&s)) return *b ? 1.0 : 0.0;
  if (const auto *t = std::get_if<std::string>(&s)) {
    std::string text = trimmed(*t);
    for (char &c : text)
      if (c == ',') c = '.';
    double result = 0;
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), result);
    if (text.empty() || ec != std::errc() || end != text.data() + text.size()) return std::nullopt;
    return result;
  }
  return std::nullopt;
}

std::optional<bool> valueToBoolean(const Value &value) {
  const auto &s = value.storage();
  if (std::holds_alternative<std::monostate>(s)) return false;
  if (const auto *b = std::get_if<bool>(&s)) return *b;
  if (const auto *i = std::get_if<std::int64_t>(&s)) return *i != 0;
  if (const auto *d = std::get_if<double>(&s)) return *d != 0.0;
  if (const auto *t = std::get_if<std::string>(&s)) {
    const std::string text = cp1252Upper(utf8ToCp1252(trimmed(*t)));
    if (text == "SIM" || text == "S" || text == "TRUE" || text == "T" || text == "1") return true;
    if (text == utf8ToCp1252("NÃO") || text == "NAO" || text == "N" || text == "FALSE" || text == "F" ||
        text == "0" || text.empty())
      return false;
  }
  return std::nullopt;
}

}  // namespace vl
