#include "engine/os_error_text.h"

#include <sys/utsname.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>

#include "engine/cp1252.h"
#include "engine/orvanto_error.h"

namespace vl::orv {

std::string platformTag() {
  utsname name{};
  if (uname(&name) != 0) return "OS";
  char *end = nullptr;
  const long major = std::strtol(name.release, &end, 10);
  if (end == name.release || *end != '.') return "OS";
  const char *minorStart = end + 1;
  const long minor = std::strtol(minorStart, &end, 10);
  if (end == minorStart) return "OS";
  char tag[64];
  std::snprintf(tag, sizeof tag, "Linux %ld.%ld", major, minor);
  return tag;
}

std::optional<std::string> osErrorText(std::uint32_t error) {
  // The engine's own numbers first: they take precedence over errno values of the same number.
  const char *text = nullptr;
  switch (error) {
    case kOsDataError: text = "Erro nos dados (falha na verificação de redundância cíclica)"; break;
    case kOsInvalidPassword: text = "A senha especificada não é válida"; break;
    case EPERM: text = "Operação não permitida"; break;
    case ENOENT: text = "O arquivo ou a pasta não existe"; break;
    case EIO: text = "Erro de entrada/saída no dispositivo"; break;
    case ENXIO: text = "O dispositivo ou endereço não existe"; break;
    case EBADF: text = "Identificador de arquivo inválido"; break;
    case ENOMEM: text = "Memória insuficiente"; break;
    case EACCES: text = "Acesso negado"; break;
    case EBUSY: text = "O dispositivo ou recurso está ocupado"; break;
    case ENODEV: text = "O dispositivo não existe"; break;
    case ENOTDIR: text = "Uma parte do caminho não é uma pasta"; break;
    case EISDIR: text = "O caminho é uma pasta, não um arquivo"; break;
    case EINVAL: text = "Parâmetro inválido"; break;
    case EMFILE: text = "Há arquivos abertos demais"; break;
    case ETXTBSY: text = "O arquivo está em uso"; break;
    case EFBIG: text = "O arquivo é grande demais"; break;
    case ESPIPE: text = "Posicionamento inválido no arquivo"; break;
    case ENOSPC: text = "Não há espaço livre no dispositivo"; break;
    case EROFS: text = "O sistema de arquivos é somente leitura"; break;
    case ENAMETOOLONG: text = "O nome do arquivo é longo demais"; break;
    case ELOOP: text = "Há links simbólicos encadeados demais no caminho"; break;
    case EOVERFLOW: text = "O arquivo é grande demais para ser lido"; break;
    case ENOMEDIUM: text = "Não há mídia no dispositivo"; break;
    case ESTALE: text = "O arquivo não está mais disponível na rede"; break;
    default: return std::nullopt;
  }
  return utf8ToCp1252(text);
}

std::string osDetail(std::uint32_t error) {
  if (error == 0) return {};
  char code[32];
  std::snprintf(code, sizeof code, " (0x%.4x)", static_cast<unsigned>(error));
  return "\n\r\n\r[" + platformTag() + "]\n\r" + osErrorText(error).value_or("code:") + code;
}

}  // namespace vl::orv
