#pragma once
// The database error of the dataset layer: misuse of a data set or connection, with fixed texts.
#include <stdexcept>
#include <string>

namespace vl {

class DataSet;

class DatabaseError : public std::runtime_error {
 public:
  explicit DatabaseError(const std::string &message, const void *component = nullptr)
      : std::runtime_error(message), component_(component) {}
  // The data set or connection the error concerns, or null.
  const void *component() const { return component_; }

 private:
  const void *component_;
};

// Texts of the component errors. The "%s" is replaced by formatError.
namespace dberr {
inline constexpr const char *kFileNameMissing = "Falta informar o nome do arquivo";
inline constexpr const char *kDatabaseNameMissing = "Database name missing";
inline constexpr const char *kTableNameMissing = "Missing TableName property";
inline constexpr const char *kIndexDoesNotExist = "Index does not exist. Index: %s";
inline constexpr const char *kIndexNotFound = "Index '%s' not found";
inline constexpr const char *kNoIndexActive = "No index currently active";
inline constexpr const char *kNoIndexForFields = "No index for fields '%s'";
inline constexpr const char *kFieldNotIndexed = "Field '%s' is not indexed and cannot be modified";
inline constexpr const char *kFieldIndexOutOfRange = "Field index out of range";
inline constexpr const char *kCannotAccessIndexField = "Cannot access index field '%s'";
inline constexpr const char *kCannotAccessFieldInFilter = "Cannot access field '%s' in a filter";
inline constexpr const char *kCircularDataLink = "Circular datalinks are not allowed";
inline constexpr const char *kNotEditing = "Dataset not in edit or insert mode";
inline constexpr const char *kFieldReadOnly = "Field '%s' cannot be modified";
inline constexpr const char *kNotSupported = "Operação solicitada não é suportada";
// Dataset layer texts of our own.
inline constexpr const char *kFieldNotFound = "Campo '%s' não encontrado";
inline constexpr const char *kDataSetClosed = "A tabela não está aberta";
inline constexpr const char *kNotBrowsing = "A tabela não está em modo de consulta";
inline constexpr const char *kNotKeyEditing = "A tabela não está em modo de edição de chave";
}  // namespace dberr

// The template with its single "%s" replaced by the argument.
std::string formatError(const char *pattern, const std::string &argument);

[[noreturn]] void raiseDatabaseError(const char *text, const void *component = nullptr);
[[noreturn]] void raiseDatabaseError(const char *pattern, const std::string &argument,
                                     const void *component = nullptr);

}  // namespace vl
