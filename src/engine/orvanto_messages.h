#pragma once
// Texts of the engine's error messages (cp1252).
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "engine/orvanto_error.h"

namespace vl::orv {

// The per-code text with its final "." rule applied, or nothing for codes without a text.
std::optional<std::string> codeText(const TOrvanto_Error_Class &error);

// The text part of an engine message: the per-code text, or "Erro %d, seção %d, seqüencial %d"
// with the OS detail; LF CR in front when it holds no "[".
std::string errorText(const TOrvanto_Error_Class &error);

// "[Orvanto: " operation "]" LF CR errorText.
std::string engineMessage(std::string_view operation, const TOrvanto_Error_Class &error);

// Name of a section of code 134 or 153, empty when the section has none.
std::string databaseSectionName(std::uint32_t section);
std::string tableSectionName(std::uint32_t section);

}  // namespace vl::orv
