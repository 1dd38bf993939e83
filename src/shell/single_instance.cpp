#include "shell/single_instance.h"

#include <QCryptographicHash>
#include <QDir>
#include <QStandardPaths>

namespace vl {

SingleInstance::SingleInstance(const QString &key) : m_key(key) {}

SingleInstance::~SingleInstance() {
  if (m_lock && m_claimed) m_lock->unlock();
}

QString SingleInstance::keyForProgram(const QString &programPath) {
  const QByteArray hash =
      QCryptographicHash::hash(QDir::cleanPath(programPath).toUtf8(), QCryptographicHash::Sha1).toHex();
  return QStringLiteral("vialume-") + QString::fromLatin1(hash.left(16));
}

bool SingleInstance::claim() {
  if (m_claimed) return true;
  QString dir = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
  if (dir.isEmpty() || !QDir().mkpath(dir)) dir = QDir::tempPath();
  m_lock = std::make_unique<QLockFile>(dir + u'/' + m_key + QStringLiteral(".lock"));
  // Never stale by age; a lock whose owning process is gone is stale and tryLock takes it over.
  m_lock->setStaleLockTime(0);
  m_claimed = m_lock->tryLock(0);
  return m_claimed;
}

}  // namespace vl
