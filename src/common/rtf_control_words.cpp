#include "common/rtf_control_words.h"

#include <unordered_map>

namespace vl::rtf {

Word lookupWord(std::string_view name) {
  static const std::unordered_map<std::string_view, Word> table = {
#define VL_RTF_ENTRY(name) {#name, Word::name},
      VL_RTF_WORDS(VL_RTF_ENTRY)
#undef VL_RTF_ENTRY
  };
  const auto found = table.find(name);
  return found == table.end() ? Word::Unknown : found->second;
}

bool isSkippedDestination(Word word) {
  return static_cast<int>(word) >= static_cast<int>(Word::stylesheet);
}

}  // namespace vl::rtf
