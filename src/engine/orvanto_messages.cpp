#include "engine/orvanto_messages.h"

#include <cstdarg>
#include <cstdio>

#include "engine/cp1252.h"
#include "engine/orvanto_format.h"
#include "engine/os_error_text.h"
#include "engine/user_locale.h"

namespace vl::orv {

namespace {

const std::string kLfCr = "\n\r";

// printf into a string; the template is UTF-8 source text, the result cp1252.
std::string format(const char *utf8Template, ...) {
  const std::string pattern = utf8ToCp1252(utf8Template);
  va_list args;
  va_start(args, utf8Template);
  va_list copy;
  va_copy(copy, args);
  const int length = std::vsnprintf(nullptr, 0, pattern.c_str(), copy);
  va_end(copy);
  std::string out(length > 0 ? static_cast<std::size_t>(length) : 0, '\0');
  if (length > 0) std::vsnprintf(out.data(), out.size() + 1, pattern.c_str(), args);
  va_end(args);
  return out;
}

std::string text(const char *utf8) { return utf8ToCp1252(utf8); }

unsigned u(std::uint32_t v) { return static_cast<unsigned>(v); }

std::string ioText(std::uint32_t section, std::uint32_t sequence) {
  switch (section) {
    case kIoPositioning: return format("Posição (%u) requisitada não encontrada na tabela", u(sequence));
    case kIoReading: return format("Erro de leitura de %u bytes", u(sequence));
    case kIoWriting: return format("Erro de escrita de %u bytes", u(sequence));
    case kIoTemporary:
      if (sequence == 1) return text("Caminho temporário não encontrado");
      if (sequence == 2) return text("Não foi possível criar nome temporário");
      if (sequence == 3) return text("Não foi possível criar arquivo temporário");
      break;
    default: break;
  }
  return format("Erro de Entrada/Saída (%u)", u(sequence));
}

std::string corruptText(const char *utf8Base, const std::string &sectionName, const char *utf8NamePattern,
                        std::uint32_t sequence, std::uint32_t osError) {
  std::string out = text(utf8Base);
  if (!sectionName.empty()) out += format(utf8NamePattern, sectionName.c_str(), u(sequence));
  return out + "." + osDetail(osError);
}

std::optional<std::string> rawText(const TOrvanto_Error_Class &e) {
  switch (e.code) {
    case kErrIo: return ioText(e.section, e.sequence);
    case 130: return text("Falta informar o nome do Banco de Dados");
    case kErrOpenDatabase: return text("Não foi possível abrir o Banco de Dados") + "." + osDetail(e.osError);
    case kErrNotOrvanto: return text("Banco de Dados não é Orvanto");
    case kErrNewerVersion:
      return format("O Banco de Dados é de uma versão superior (%u%s%u)", u(e.section),
                    userDecimalSeparator().c_str(), u(e.sequence));
    case kErrDatabaseCorrupt:
      return corruptText("O Banco de Dados está corrompido", databaseSectionName(e.section), " (%s:%u)", e.sequence,
                         e.osError);
    case kErrPassword: return text("Senha inválida");
    case 140: return text("Não consegui criar o Banco de Dados") + osDetail(e.osError);
    case 141: return text("O Banco de Dados deve ser aberto em modo exclusivo");
    case 142: return text("O Banco de Dados não está conectado");
    case 143: return text("Não consegui um GUID") + osDetail(e.osError);
    case kErrNoTableName: return text("Falta informar o nome da Tabela");
    case kErrTableNameTooLong:
      return format("Nome da Tabela excede o tamanho permitido (%u)", u(kMaxTableNameLength));
    case kErrTableNotFound: return text("Tabela não encontrada");
    case kErrTableCorrupt:
      return corruptText("A Tabela está corrompida", tableSectionName(e.section), " (%s: %u)", e.sequence, e.osError);
    case kErrOpenTable: return text("Não foi possível abrir a Tabela");
    case 155: return text("Nome de Tabela repetido");
    case 156: return text("Não é possível criar mais de uma Tabela por processo.");
    case 157: return format("Falha na sincronização, passo %u solicitado, %u esperado", u(e.section), u(e.sequence));
    case kErrIndexCorrupt: return format("Índice ID %u corrompido", u(e.sequence));
    case kErrNoActiveIndex: return text("Nenhum índice ativo");
    case kErrNoSuchIndex: return format("Índice ID %u inexistente", u(e.sequence));
    case kErrIndexOutOfSync: return text("Índice desincronizado");
    case 165: return text("Nome de índice inválido");
    case 166: return format("Nome do índice excede o tamanho de caracteres permitido (%u)", u(kMaxTableNameLength));
    case 167: return text("Nome de Índice repetido");
    case 168: return text("Nenhuma chave especificada no índice");
    case 169: return format("Especificação de índice (%u) com chave (%u) inválida", u(e.section), u(e.sequence));
    case kErrRecordCorrupt: return format("Registro %u corrompido", u(e.section));
    case kErrNotBlob: return text("A coluna não é do tipo Blob");
    case 191: return text("Nenhum campo especificado");
    case 192: return format("Tipo de coluna (%u) inválida", u(e.sequence));
    case 193: return format("Tipo de coluna (%u) inconsistente com a definição", u(e.sequence));
    case 195: return format("Nome de coluna (%u) inválida", u(e.sequence));
    case 196: return format("Nome da coluna excede o tamanho permitido (%u)", u(kMaxTableNameLength));
    case 197: return text("Nome de coluna repetida");
    case 198: return text("Quantidade errada de colunas");
    case 199: return format("Tamanho da coluna (%u) String maior que o permitido. Utilize Memo", u(e.sequence));
    case 200: return format("Tamanho da coluna (%u) String inválido, deve ser maior que zero", u(e.sequence));
    case 201: return format("Nome da coluna (%u) inválido", u(e.sequence));
    default: return std::nullopt;
  }
}

}  // namespace

std::string databaseSectionName(std::uint32_t section) {
  switch (section) {
    case kSecIdentification: return text("Identificador");
    case kSecHeader: return text("Cabeçalho");
    case kSecEntry: return text("Entrada");
    case kSecEntryPosition: return text("Entrada+");
    case kSecFooter: return text("Rodapé");
    case kSecFooterKind: return text("Rodapé+");
    case kSecUserArea: return text("Usuário");
    default: return {};
  }
}

std::string tableSectionName(std::uint32_t section) {
  switch (section) {
    case kSecTableHeader: return text("Cabeçalho");
    case kSecTableColumns: return text("Colunas");
    case kSecTableIndexes: return text("Índices");
    default: return {};
  }
}

std::optional<std::string> codeText(const TOrvanto_Error_Class &error) {
  auto out = rawText(error);
  if (out && out->size() >= 2 && out->back() != '.') *out += '.';
  return out;
}

std::string errorText(const TOrvanto_Error_Class &error) {
  std::string out;
  if (auto known = codeText(error)) {
    out = std::move(*known);
  } else {
    out = format("Erro %u, seção %u, seqüencial %u", static_cast<unsigned>(error.code), u(error.section),
                 u(error.sequence)) +
          osDetail(error.osError);
  }
  if (out.find('[') == std::string::npos) out = kLfCr + out;
  return out;
}

std::string engineMessage(std::string_view operation, const TOrvanto_Error_Class &error) {
  return "[Orvanto: " + std::string(operation) + "]" + kLfCr + errorText(error);
}

}  // namespace vl::orv
