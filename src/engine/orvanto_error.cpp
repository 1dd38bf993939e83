#include "engine/orvanto_error.h"

#include <cerrno>
#include <cstdio>

#include "engine/orvanto_messages.h"

namespace vl {

namespace orv {

std::uint32_t lastOsError() { return static_cast<std::uint32_t>(errno); }
void clearOsError() { errno = 0; }

}  // namespace orv

void TOrvanto_Error_Class::Reset() {
  *this = TOrvanto_Error_Class{};
  orv::clearOsError();
}

void TOrvanto_Error_Class::Set(std::uint16_t c, std::uint32_t s, std::uint32_t q, std::uint32_t os) {
  code = c;
  section = s;
  sequence = q;
  osError = os;
}

EOrvanto_IO_Error::EOrvanto_IO_Error(std::uint16_t operation, std::uint32_t detail, std::uint32_t osError)
    : std::runtime_error("Orvanto I/O Error"), operation_(operation), detail_(detail), osError_(osError) {}

static std::string internalMessage(std::uint16_t code) {
  char text[32];
  std::snprintf(text, sizeof text, "Orvanto Error 0x%.4x", static_cast<unsigned>(code));
  return text;
}

EOrvanto_Internal_Error::EOrvanto_Internal_Error(std::uint16_t code, std::uint32_t section, std::uint32_t sequence)
    : std::runtime_error(internalMessage(code)), code_(code), section_(section), sequence_(sequence) {}

EOrvanto_Engine_Error::EOrvanto_Engine_Error(std::string_view operation, const TOrvanto_Error_Class &error)
    : std::runtime_error(orv::engineMessage(operation, error)), error_(error), operation_(operation) {}

void recordIoError(TOrvanto_Error_Class &error, const EOrvanto_IO_Error &e) {
  error.Set(orv::kErrIo, e.operation(), e.detail(), e.osError());
}

void recordInternalError(TOrvanto_Error_Class &error, const EOrvanto_Internal_Error &e) {
  error.Set(e.code(), e.section(), e.sequence(), orv::lastOsError());
}

}  // namespace vl
