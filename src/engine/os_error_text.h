#pragma once
// Platform error numbers as text for the engine's messages (cp1252, Portuguese).
#include <cstdint>
#include <optional>
#include <string>

namespace vl::orv {

// "Linux 6.1" from the running kernel, or "OS" when the version cannot be determined.
std::string platformTag();

// Portuguese text for a platform error number the engine meets: the numbers it stores itself
// (23 data error, 86 invalid password) and the errno values of opening and reading a file.
std::optional<std::string> osErrorText(std::uint32_t error);

// Empty for 0; otherwise LF CR LF CR "[" tag "]" LF CR text (or "code:") " (0x%.4x)".
std::string osDetail(std::uint32_t error);

}  // namespace vl::orv
