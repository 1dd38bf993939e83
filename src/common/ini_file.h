#pragma once
// An INI profile file with Windows profile semantics, kept in memory between load() and save().
//
// Section and key names compare case-insensitively; the file's order, comments (";" or "#"),
// blank lines and unrecognised lines are kept on save. The file is code page 1252 with CR LF line
// ends. Values are trimmed on reading and a value enclosed in matching quotes loses them, as
// Windows does. A damaged file loads whatever lines make sense. Sections that occur twice are
// merged into the first; of a key that occurs twice the first value counts.
#include <QList>
#include <QPair>
#include <QString>
#include <QStringList>

#include <memory>
#include <stdexcept>

namespace vl {

// A file that could not be read or written, or a name that cannot be stored. message() is Portuguese.
class IniFileError : public std::runtime_error {
 public:
  explicit IniFileError(const QString &message);
  QString message() const { return message_; }

 private:
  QString message_;
};

class IniFile {
 public:
  IniFile();
  explicit IniFile(QString path);
  ~IniFile();
  IniFile(const IniFile &other);
  IniFile &operator=(const IniFile &other);
  IniFile(IniFile &&) noexcept;
  IniFile &operator=(IniFile &&) noexcept;

  const QString &path() const { return path_; }
  void setPath(const QString &path) { path_ = path; }

  // Replaces the contents with the file's. A missing file gives an empty profile and returns false.
  // Throws IniFileError when the file exists but cannot be read.
  bool load();
  // Writes the contents through a temporary file beside the target and renames it over the
  // target, so a failed write leaves the old file as it was. Throws IniFileError on failure.
  void save() const;

  // The same in memory: parse cp1252 bytes, produce cp1252 bytes.
  void parse(const QByteArray &bytes);
  QByteArray toBytes() const;
  void clear();

  QString readString(const QString &section, const QString &key, const QString &defaultValue = {}) const;
  // A decimal number with optional sign, or hexadecimal after "0x" or "$"; anything else, an
  // out-of-range number or a missing key gives the default.
  int readInteger(const QString &section, const QString &key, int defaultValue) const;
  // readInteger(section, key, defaultValue ? 1 : 0) != 0.
  bool readBool(const QString &section, const QString &key, bool defaultValue) const;

  // Adds the section at the end and the key after the section's last entry when they are new;
  // an existing key keeps its spelling and place. Line breaks in a value are stored as "|".
  // Throws IniFileError for a name that cannot be stored (blank, a line break, "=" in a key,
  // "]" in a section, a key starting with "[", ";" or "#").
  void writeString(const QString &section, const QString &key, const QString &value);
  void writeInteger(const QString &section, const QString &key, int value);
  void writeBool(const QString &section, const QString &key, bool value);  // "1" or "0"

  void eraseSection(const QString &section);
  void deleteKey(const QString &section, const QString &key);

  QStringList sections() const;
  QStringList keys(const QString &section) const;
  QList<QPair<QString, QString>> pairs(const QString &section) const;  // key, value (as readString)
  bool sectionExists(const QString &section) const;
  bool valueExists(const QString &section, const QString &key) const;

 private:
  struct Data;
  QString path_;
  std::unique_ptr<Data> d_;
};

}  // namespace vl
