#include "common/system_error.h"

#include <cerrno>

namespace vl {

namespace {

// The error numbers that file, socket and audio access meet.
QString messageFor(int code) {
  switch (code) {
    case 0: return QStringLiteral("A operação foi concluída com êxito.");
    case EPERM: return QStringLiteral("Operação não permitida.");
    case ENOENT: return QStringLiteral("O sistema não pode encontrar o arquivo especificado.");
    case EINTR: return QStringLiteral("A operação foi interrompida.");
    case EIO: return QStringLiteral("Erro de entrada e saída no dispositivo.");
    case ENXIO: return QStringLiteral("O dispositivo ou endereço não existe.");
    case E2BIG: return QStringLiteral("A lista de argumentos é longa demais.");
    case EBADF: return QStringLiteral("O identificador do arquivo é inválido.");
    case EAGAIN: return QStringLiteral("O recurso está temporariamente indisponível.");
    case ENOMEM: return QStringLiteral("Não há memória suficiente para concluir a operação.");
    case EACCES: return QStringLiteral("Acesso negado.");
    case EFAULT: return QStringLiteral("Endereço de memória inválido.");
    case EBUSY: return QStringLiteral("O dispositivo ou recurso está ocupado.");
    case EEXIST: return QStringLiteral("O arquivo já existe.");
    case EXDEV: return QStringLiteral("O arquivo não pode ser movido para outro dispositivo.");
    case ENODEV: return QStringLiteral("O dispositivo não existe.");
    case ENOTDIR: return QStringLiteral("Um componente do caminho não é uma pasta.");
    case EISDIR: return QStringLiteral("O caminho indicado é uma pasta.");
    case EINVAL: return QStringLiteral("O parâmetro está incorreto.");
    case ENFILE: return QStringLiteral("Há arquivos abertos demais no sistema.");
    case EMFILE: return QStringLiteral("O programa tem arquivos abertos demais.");
    case ETXTBSY: return QStringLiteral("O arquivo está sendo usado por outro processo.");
    case EFBIG: return QStringLiteral("O arquivo é grande demais.");
    case ENOSPC: return QStringLiteral("Não há espaço suficiente no disco.");
    case ESPIPE: return QStringLiteral("O arquivo não permite posicionamento.");
    case EROFS: return QStringLiteral("O disco é somente leitura.");
    case EMLINK: return QStringLiteral("O arquivo tem vínculos demais.");
    case EPIPE: return QStringLiteral("A comunicação foi encerrada pelo outro lado.");
    case ENAMETOOLONG: return QStringLiteral("O nome do arquivo é longo demais.");
    case ENOTEMPTY: return QStringLiteral("A pasta não está vazia.");
    case ELOOP: return QStringLiteral("Há vínculos simbólicos demais no caminho.");
    case ENOTSUP: return QStringLiteral("A operação não é suportada.");
    case ETIMEDOUT: return QStringLiteral("O tempo limite da operação expirou.");
    case ECONNREFUSED: return QStringLiteral("A conexão foi recusada.");
    case EDQUOT: return QStringLiteral("A cota de disco foi excedida.");
    case ENOLCK: return QStringLiteral("Não há bloqueios de arquivo disponíveis.");
    case ENOSYS: return QStringLiteral("A função não está implementada.");
    default: return {};
  }
}

}  // namespace

QString SystemErrorText(int code) {
  QString message = messageFor(code);
  while (!message.isEmpty() && (message.back().isSpace() || message.back() == u'.')) message.chop(1);
  if (code == 0) return message;
  const QString bracket = QStringLiteral("[0x%1]").arg(QString::number(uint(code), 16).toUpper(), 4, u'0');
  return message.isEmpty() ? bracket : message + u' ' + bracket + u'.';
}

QString SystemErrorText() { return SystemErrorText(errno); }

}  // namespace vl
