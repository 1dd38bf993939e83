#include "common/program_files.h"

#include <QCoreApplication>
#include <QFileInfo>

#include <pwd.h>
#include <unistd.h>

#include <vector>

namespace vl {

bool FilePresent(const QString &name) {
  if (name.isEmpty() || name.contains(u'*') || name.contains(u'?')) return false;
  return QFileInfo::exists(name);
}

QString ChangeFileExtension(const QString &path, const QString &extension) {
  QString ext = extension;
  if (!ext.isEmpty() && !ext.startsWith(u'.')) ext.prepend(u'.');
  const qsizetype slash = path.lastIndexOf(u'/');
  const qsizetype dot = path.lastIndexOf(u'.');
  return (dot > slash + 1 ? path.left(dot) : path) + ext;
}

QString ProgramFileWithExtension(const QString &extension) {
  QString path = QFileInfo(QStringLiteral("/proc/self/exe")).canonicalFilePath();
  if (path.isEmpty() && QCoreApplication::instance()) path = QCoreApplication::applicationFilePath();
  if (path.isEmpty()) path = QCoreApplication::arguments().value(0);
  return ChangeFileExtension(path, extension);
}

QString LoginName() {
  long size = sysconf(_SC_GETPW_R_SIZE_MAX);
  std::vector<char> buffer(size > 0 ? size_t(size) : 16384);
  passwd entry{};
  passwd *found = nullptr;
  if (getpwuid_r(geteuid(), &entry, buffer.data(), buffer.size(), &found) != 0 || !found || !found->pw_name)
    return {};
  return QString::fromLocal8Bit(found->pw_name);
}

}  // namespace vl
