#pragma once
// The engine's error model: the error record, its codes and the three exception classes.
// Every text is cp1252, like all text the engine hands out.
#include <cstdint>
#include <stdexcept>
#include <string>
#include <string_view>

namespace vl {

namespace orv {

// Error codes of the reading engine.
inline constexpr std::uint16_t kErrIo = 120;
inline constexpr std::uint16_t kErrOpenDatabase = 131;
inline constexpr std::uint16_t kErrNotOrvanto = 132;
inline constexpr std::uint16_t kErrNewerVersion = 133;
inline constexpr std::uint16_t kErrDatabaseCorrupt = 134;
inline constexpr std::uint16_t kErrPassword = 135;
inline constexpr std::uint16_t kErrNoTableName = 150;
inline constexpr std::uint16_t kErrTableNameTooLong = 151;
inline constexpr std::uint16_t kErrTableNotFound = 152;
inline constexpr std::uint16_t kErrTableCorrupt = 153;
inline constexpr std::uint16_t kErrOpenTable = 154;
inline constexpr std::uint16_t kErrIndexCorrupt = 160;
inline constexpr std::uint16_t kErrNoActiveIndex = 161;
inline constexpr std::uint16_t kErrNoSuchIndex = 162;
inline constexpr std::uint16_t kErrIndexOutOfSync = 163;
inline constexpr std::uint16_t kErrRecordCorrupt = 180;
inline constexpr std::uint16_t kErrNotBlob = 190;

// I/O operations, the section of a code 120 record.
inline constexpr std::uint16_t kIoTemporary = 121;
inline constexpr std::uint16_t kIoPositioning = 122;
inline constexpr std::uint16_t kIoReading = 123;
inline constexpr std::uint16_t kIoWriting = 124;

// Sections of code 134.
inline constexpr std::uint32_t kSecIdentification = 1;
inline constexpr std::uint32_t kSecHeader = 2;
inline constexpr std::uint32_t kSecEntry = 3;
inline constexpr std::uint32_t kSecEntryPosition = 4;
inline constexpr std::uint32_t kSecFooter = 5;
inline constexpr std::uint32_t kSecFooterKind = 6;
inline constexpr std::uint32_t kSecUserArea = 7;

// Sections of code 153.
inline constexpr std::uint32_t kSecTableHeader = 1;
inline constexpr std::uint32_t kSecTableColumns = 2;
inline constexpr std::uint32_t kSecTableIndexes = 3;

// Platform error numbers the engine stores itself: data error (check failed), invalid password.
inline constexpr std::uint32_t kOsDataError = 23;
inline constexpr std::uint32_t kOsInvalidPassword = 86;

// Operation names used in engine error messages.
inline constexpr std::string_view kOpConnection = "Connection";
inline constexpr std::string_view kOpTableOpen = "TB Open";
inline constexpr std::string_view kOpTable = "Table";
inline constexpr std::string_view kOpIndexRead = "Index Read";
inline constexpr std::string_view kOpBlobRead = "Blob Read";
inline constexpr std::string_view kOpBlob = "Blob";
inline constexpr std::string_view kOpIndexSwitch = "Index Switch";
inline constexpr std::string_view kOpActive = "Active";

// The platform's last-error value (errno), which every reset clears.
std::uint32_t lastOsError();
void clearOsError();

}  // namespace orv

// One failure: code (0 = none), section, sequence within the section, platform error or 0.
struct TOrvanto_Error_Class {
  std::uint16_t code = 0;
  std::uint32_t section = 0;
  std::uint32_t sequence = 0;
  std::uint32_t osError = 0;

  bool isClear() const { return code == 0; }
  // All four fields to 0, and the platform's last-error value too.
  void Reset();
  void Set(std::uint16_t code, std::uint32_t section, std::uint32_t sequence, std::uint32_t osError = 0);
  bool operator==(const TOrvanto_Error_Class &) const = default;
};

// A positioning (122) or reading (123) that failed; raised inside the reading code.
class EOrvanto_IO_Error : public std::runtime_error {
public:
  EOrvanto_IO_Error(std::uint16_t operation, std::uint32_t detail, std::uint32_t osError);
  std::uint16_t operation() const { return operation_; }
  std::uint32_t detail() const { return detail_; }  // target position or requested byte count
  std::uint32_t osError() const { return osError_; }

private:
  std::uint16_t operation_;
  std::uint32_t detail_;
  std::uint32_t osError_;
};

// A structural failure found inside the reading code; message "Orvanto Error 0x%.4x".
class EOrvanto_Internal_Error : public std::runtime_error {
public:
  EOrvanto_Internal_Error(std::uint16_t code, std::uint32_t section, std::uint32_t sequence);
  std::uint16_t code() const { return code_; }
  std::uint32_t section() const { return section_; }
  std::uint32_t sequence() const { return sequence_; }

private:
  std::uint16_t code_;
  std::uint32_t section_;
  std::uint32_t sequence_;
};

// What the engine raises towards its callers. what() is the full message in cp1252:
// "[Orvanto: " operation "]" LF CR text.
class EOrvanto_Engine_Error : public std::runtime_error {
public:
  EOrvanto_Engine_Error(std::string_view operation, const TOrvanto_Error_Class &error);
  const TOrvanto_Error_Class &error() const { return error_; }
  std::uint16_t code() const { return error_.code; }
  std::uint32_t section() const { return error_.section; }
  std::uint32_t sequence() const { return error_.sequence; }
  std::uint32_t osError() const { return error_.osError; }
  const std::string &operation() const { return operation_; }

private:
  TOrvanto_Error_Class error_;
  std::string operation_;
};

// Turns an exception of the reading code into the error record: I/O errors become code 120,
// internal errors their own code with the platform's current last error. Other exceptions
// are not handled; call it from a catch block of EOrvanto_IO_Error / EOrvanto_Internal_Error.
void recordIoError(TOrvanto_Error_Class &error, const EOrvanto_IO_Error &e);
void recordInternalError(TOrvanto_Error_Class &error, const EOrvanto_Internal_Error &e);

}  // namespace vl
