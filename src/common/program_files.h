#pragma once
// The program's own files and the user it runs for.
#include <QString>

namespace vl {

// False for a name with "*" or "?"; otherwise whether the file exists.
bool FilePresent(const QString &name);

// The program file's path as stored on disk (links resolved) with its extension replaced by
// `extension` (".ini", with or without the dot); the path as started when the disk name cannot
// be obtained.
QString ProgramFileWithExtension(const QString &extension);

// Replaces the last extension of the file name in `path` (a name without one gets it appended).
QString ChangeFileExtension(const QString &path, const QString &extension);

// The login name of the current user; empty when it cannot be obtained.
QString LoginName();

}  // namespace vl
