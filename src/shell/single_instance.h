#pragma once
// One running main window per user and program file: a lock file held for the life of the
// instance. A lock left by a process that no longer runs is taken over.
#include <QLockFile>
#include <QString>

#include <memory>

namespace vl {

class SingleInstance {
 public:
  // `key` identifies the program (keyForProgram of the program file's path).
  explicit SingleInstance(const QString &key);
  ~SingleInstance();

  // Claims the instance; false when another running instance holds it.
  bool claim();
  bool claimed() const { return m_claimed; }

  static QString keyForProgram(const QString &programPath);

 private:
  QString m_key;
  std::unique_ptr<QLockFile> m_lock;
  bool m_claimed = false;
};

}  // namespace vl
