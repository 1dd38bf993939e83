#pragma once
// Locale-aware comparison of code page 1252 texts, used for index keys with locale comparison.
// Readers and the writer order keys through this one comparator.
#include <cstdint>
#include <memory>
#include <string_view>

struct UCollator;

namespace vl {

class KeyCollator {
 public:
  // localeId: a Windows locale identifier (low 16 bits used; 0x0416 is pt-BR).
  // ignoreCase: case differences are ignored, accents are not.
  // stringSort: hyphen and apostrophe are ordinary symbols; otherwise they only break ties.
  KeyCollator(std::uint32_t localeId, bool ignoreCase, bool stringSort);
  ~KeyCollator();
  KeyCollator(const KeyCollator &) = delete;
  KeyCollator &operator=(const KeyCollator &) = delete;

  // -1, 0 or 1.
  int compare(std::string_view a, std::string_view b) const;

  // A shared collator for the combination; lives for the whole run.
  static const KeyCollator &forIndex(std::uint32_t localeId, std::uint8_t indexFlags);

 private:
  UCollator *collator_ = nullptr;
  bool stringSort_;
  int collate(std::string_view a, std::string_view b) const;
};

// ICU locale name for a Windows locale identifier ("pt_BR" for 0x0416; "" for the root order).
std::string localeNameForId(std::uint32_t localeId);

}  // namespace vl
