#include "engine/collation.h"

#include <unicode/ucol.h>
#include <unicode/uloc.h>

#include <map>
#include <mutex>
#include <string>
#include <tuple>
#include <vector>

#include "engine/cp1252.h"
#include "engine/table_format.h"

namespace vl {

std::string localeNameForId(std::uint32_t localeId) {
  char name[ULOC_FULLNAME_CAPACITY] = {};
  UErrorCode status = U_ZERO_ERROR;
  const int32_t length = uloc_getLocaleForLCID(localeId & 0xFFFFu, name, sizeof name, &status);
  if (U_FAILURE(status) || length <= 0) return {};
  return std::string(name, static_cast<std::size_t>(length));
}

KeyCollator::KeyCollator(std::uint32_t localeId, bool ignoreCase, bool stringSort) : stringSort_(stringSort) {
  UErrorCode status = U_ZERO_ERROR;
  const std::string locale = localeNameForId(localeId);
  collator_ = ucol_open(locale.c_str(), &status);
  if (U_FAILURE(status) || !collator_) {
    status = U_ZERO_ERROR;
    collator_ = ucol_open("", &status);
  }
  if (collator_) {
    status = U_ZERO_ERROR;
    ucol_setStrength(collator_, ignoreCase ? UCOL_SECONDARY : UCOL_TERTIARY);
    ucol_setAttribute(collator_, UCOL_ALTERNATE_HANDLING, UCOL_NON_IGNORABLE, &status);
  }
}

KeyCollator::~KeyCollator() {
  if (collator_) ucol_close(collator_);
}

namespace {

// UTF-16 of cp1252 text (every cp1252 character is in the basic plane).
void widen(std::string_view text, std::vector<UChar> &out, bool dropWordSeparators) {
  out.clear();
  out.reserve(text.size());
  for (unsigned char c : text) {
    if (dropWordSeparators && (c == '-' || c == '\'')) continue;
    out.push_back(static_cast<UChar>(cp1252ToUnicode(c)));
  }
}

int sign(UCollationResult r) { return r == UCOL_LESS ? -1 : r == UCOL_GREATER ? 1 : 0; }

}  // namespace

int KeyCollator::collate(std::string_view a, std::string_view b) const {
  thread_local std::vector<UChar> wa, wb;
  if (!stringSort_) {
    // Word order: hyphens and apostrophes are left out first and only decide between otherwise equal texts.
    widen(a, wa, true);
    widen(b, wb, true);
    const int r = sign(ucol_strcoll(collator_, wa.data(), static_cast<int32_t>(wa.size()), wb.data(),
                                    static_cast<int32_t>(wb.size())));
    if (r != 0) return r;
  }
  widen(a, wa, false);
  widen(b, wb, false);
  return sign(ucol_strcoll(collator_, wa.data(), static_cast<int32_t>(wa.size()), wb.data(),
                           static_cast<int32_t>(wb.size())));
}

int KeyCollator::compare(std::string_view a, std::string_view b) const {
  if (!collator_) {
    const int r = a.compare(b);
    return r < 0 ? -1 : r > 0 ? 1 : 0;
  }
  return collate(a, b);
}

const KeyCollator &KeyCollator::forIndex(std::uint32_t localeId, std::uint8_t indexFlags) {
  static std::mutex mutex;
  static std::map<std::tuple<std::uint32_t, bool, bool>, std::unique_ptr<KeyCollator>> collators;
  const bool ignoreCase = indexFlags & orv::kIndexCaseInsensitive;
  const bool stringSort = indexFlags & orv::kIndexStringSort;
  const auto key = std::make_tuple(localeId & 0xFFFFu, ignoreCase, stringSort);
  std::lock_guard lock(mutex);
  auto &slot = collators[key];
  if (!slot) slot = std::make_unique<KeyCollator>(localeId, ignoreCase, stringSort);
  return *slot;
}

}  // namespace vl
