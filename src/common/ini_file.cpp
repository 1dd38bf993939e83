#include "common/ini_file.h"

#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QSaveFile>

#include <climits>
#include <vector>

#include "common/cp1252_qt.h"

namespace vl {

namespace {

// Larger files are not settings files; refusing them keeps a damaged file from exhausting memory.
constexpr qint64 kMaxFileSize = 64 * 1024 * 1024;

QString fold(const QString &name) { return name.trimmed().toCaseFolded(); }

QString unquote(QString value) {
  value = value.trimmed();
  if (value.size() >= 2) {
    const QChar q = value.front();
    if ((q == u'"' || q == u'\'') && value.back() == q) return value.mid(1, value.size() - 2);
  }
  return value;
}

bool hasLineBreak(const QString &s) { return s.contains(u'\n') || s.contains(u'\r'); }

void checkSectionName(const QString &section) {
  const QString t = section.trimmed();
  if (t.isEmpty() || hasLineBreak(t) || t.contains(u']'))
    throw IniFileError(QStringLiteral("Nome de seção inválido para o arquivo de configurações: \"%1\".").arg(section));
}

void checkKeyName(const QString &key) {
  const QString t = key.trimmed();
  if (t.isEmpty() || hasLineBreak(t) || t.contains(u'=') || t.startsWith(u'[') || t.startsWith(u';') ||
      t.startsWith(u'#'))
    throw IniFileError(QStringLiteral("Nome de chave inválido para o arquivo de configurações: \"%1\".").arg(key));
}

QString storableValue(QString value) {
  value.replace(QStringLiteral("\r\n"), QStringLiteral("|"));
  value.replace(u'\r', u'|');
  value.replace(u'\n', u'|');
  return value;
}

}  // namespace

IniFileError::IniFileError(const QString &message)
    : std::runtime_error(message.toStdString()), message_(message) {}

// One line of a section: a key entry, or any other line kept as it stood.
struct Entry {
  bool isKey = false;
  QString key;    // trimmed, as spelt in the file
  QString value;  // raw text after "=", untrimmed
  QString text;   // the whole line for non-key lines
};

struct Section {
  QString name;
  QString header;  // the header line as it stood, empty for a new section
  std::vector<Entry> entries;
  QHash<QString, qsizetype> index;  // folded key -> first entry

  void reindex() {
    index.clear();
    for (qsizetype i = 0; i < qsizetype(entries.size()); ++i)
      if (entries[i].isKey && !index.contains(fold(entries[i].key))) index.insert(fold(entries[i].key), i);
  }
  const Entry *find(const QString &key) const {
    auto it = index.constFind(fold(key));
    return it == index.constEnd() ? nullptr : &entries[*it];
  }
};

struct IniFile::Data {
  QStringList preamble;  // lines before the first section
  std::vector<Section> sections;
  QHash<QString, qsizetype> index;  // folded section name -> position

  void reindex() {
    index.clear();
    for (qsizetype i = 0; i < qsizetype(sections.size()); ++i) index.insert(fold(sections[i].name), i);
  }
  const Section *find(const QString &name) const {
    auto it = index.constFind(fold(name));
    return it == index.constEnd() ? nullptr : &sections[*it];
  }
  Section *find(const QString &name) {
    auto it = index.constFind(fold(name));
    return it == index.constEnd() ? nullptr : &sections[*it];
  }
};

IniFile::IniFile() : d_(std::make_unique<Data>()) {}
IniFile::IniFile(QString path) : path_(std::move(path)), d_(std::make_unique<Data>()) {}
IniFile::~IniFile() = default;
IniFile::IniFile(const IniFile &other) : path_(other.path_), d_(std::make_unique<Data>(*other.d_)) {}
IniFile &IniFile::operator=(const IniFile &other) {
  if (this != &other) {
    path_ = other.path_;
    d_ = std::make_unique<Data>(*other.d_);
  }
  return *this;
}
IniFile::IniFile(IniFile &&other) noexcept : path_(std::move(other.path_)), d_(std::move(other.d_)) {
  other.d_ = std::make_unique<Data>();
}
IniFile &IniFile::operator=(IniFile &&other) noexcept {
  if (this != &other) {
    path_ = std::move(other.path_);
    d_ = std::move(other.d_);
    other.d_ = std::make_unique<Data>();
  }
  return *this;
}

void IniFile::clear() { *d_ = Data(); }

bool IniFile::load() {
  clear();
  const QFileInfo info(path_);
  if (!info.exists() && !info.isSymLink()) return false;
  // A folder, device or pipe is no settings file (and a pipe would block the program).
  if (!info.isFile())
    throw IniFileError(QStringLiteral("O caminho não indica um arquivo comum: %1").arg(path_));
  QFile file(path_);
  if (!file.open(QIODevice::ReadOnly))
    throw IniFileError(QStringLiteral("Não foi possível abrir o arquivo para leitura: %1").arg(file.errorString()));
  if (file.size() > kMaxFileSize)
    throw IniFileError(QStringLiteral("O arquivo é grande demais para um arquivo de configurações (%1 bytes).")
                           .arg(file.size()));
  const QByteArray bytes = file.read(kMaxFileSize + 1);
  if (file.error() != QFileDevice::NoError)
    throw IniFileError(QStringLiteral("Não foi possível ler o arquivo: %1").arg(file.errorString()));
  parse(bytes);
  return true;
}

void IniFile::parse(const QByteArray &bytes) {
  clear();
  QString text = fromCp1252(bytes);
  text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
  text.replace(u'\r', u'\n');
  QStringList lines = text.split(u'\n');
  if (!lines.isEmpty() && lines.back().isEmpty()) lines.removeLast();  // the final line end

  Section *current = nullptr;
  for (const QString &line : lines) {
    const QString t = line.trimmed();
    if (t.startsWith(u'[')) {
      const qsizetype close = t.indexOf(u']');
      const QString name = close > 0 ? t.mid(1, close - 1).trimmed() : QString();
      if (!name.isEmpty()) {
        if (Section *existing = d_->find(name)) {
          current = existing;  // a repeated section continues the first one
        } else {
          d_->sections.push_back(Section{name, line, {}, {}});
          d_->index.insert(fold(name), qsizetype(d_->sections.size()) - 1);
          current = &d_->sections.back();
        }
        continue;
      }
    }
    Entry e;
    const qsizetype eq = t.indexOf(u'=');
    if (current && eq > 0 && !t.startsWith(u';') && !t.startsWith(u'#')) {
      e.isKey = true;
      e.key = t.left(eq).trimmed();
      e.value = line.mid(line.indexOf(u'=') + 1);
      e.isKey = !e.key.isEmpty();
    }
    if (!e.isKey) e.text = line;
    if (current) {
      current->entries.push_back(std::move(e));
      if (current->entries.back().isKey) {
        const QString k = fold(current->entries.back().key);
        if (!current->index.contains(k)) current->index.insert(k, qsizetype(current->entries.size()) - 1);
      }
    } else {
      d_->preamble.append(line);
    }
  }
}

QByteArray IniFile::toBytes() const {
  QString out;
  for (const QString &line : d_->preamble) out += line + QStringLiteral("\r\n");
  for (const Section &s : d_->sections) {
    out += (s.header.isEmpty() ? u'[' + s.name + u']' : s.header) + QStringLiteral("\r\n");
    for (const Entry &e : s.entries) out += (e.isKey ? e.key + u'=' + e.value : e.text) + QStringLiteral("\r\n");
  }
  return toCp1252(out);
}

void IniFile::save() const {
  if (path_.isEmpty()) throw IniFileError(QStringLiteral("O arquivo de configurações não tem nome."));
  QSaveFile file(path_);
  // Unbuffered: a buffered write that fails at commit time is not always noticed by QSaveFile.
  if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
    throw IniFileError(QStringLiteral("Não foi possível criar o arquivo: %1").arg(file.errorString()));
  const QByteArray bytes = toBytes();
  if (file.write(bytes) != bytes.size() || file.error() != QFileDevice::NoError) {
    const QString why = file.errorString();
    file.cancelWriting();
    throw IniFileError(QStringLiteral("Não foi possível gravar o arquivo: %1").arg(why));
  }
  if (!file.commit())
    throw IniFileError(QStringLiteral("Não foi possível gravar o arquivo: %1").arg(file.errorString()));
}

QString IniFile::readString(const QString &section, const QString &key, const QString &defaultValue) const {
  const Section *s = d_->find(section);
  const Entry *e = s ? s->find(key) : nullptr;
  return e ? unquote(e->value) : defaultValue;
}

int IniFile::readInteger(const QString &section, const QString &key, int defaultValue) const {
  const Section *s = d_->find(section);
  const Entry *e = s ? s->find(key) : nullptr;
  if (!e) return defaultValue;
  QString v = unquote(e->value).trimmed();
  bool negative = false;
  if (v.startsWith(u'-') || v.startsWith(u'+')) {
    negative = v.front() == u'-';
    v.remove(0, 1);
  }
  int base = 10;
  if (v.startsWith(QStringLiteral("0x"), Qt::CaseInsensitive)) {
    base = 16;
    v.remove(0, 2);
  } else if (v.startsWith(u'$')) {
    base = 16;
    v.remove(0, 1);
  }
  if (v.isEmpty() || v.front() == u'+' || v.front() == u'-') return defaultValue;
  bool ok = false;
  const qint64 magnitude = v.toLongLong(&ok, base);
  if (!ok) return defaultValue;
  const qint64 value = negative ? -magnitude : magnitude;
  // Hexadecimal is a bit pattern: 0xFFFFFFFF reads as -1, as a 32-bit integer would.
  if (base == 16 && !negative && value <= qint64(UINT_MAX)) return int(quint32(value));
  if (value < INT_MIN || value > INT_MAX) return defaultValue;
  return int(value);
}

bool IniFile::readBool(const QString &section, const QString &key, bool defaultValue) const {
  return readInteger(section, key, defaultValue ? 1 : 0) != 0;
}

void IniFile::writeString(const QString &section, const QString &key, const QString &value) {
  checkSectionName(section);
  checkKeyName(key);
  Section *s = d_->find(section);
  if (!s) {
    // A blank line before a new section, unless the file ends with one already.
    if (!d_->sections.empty()) {
      Section &last = d_->sections.back();
      if (last.entries.empty() || last.entries.back().isKey || !last.entries.back().text.trimmed().isEmpty())
        last.entries.push_back(Entry{});
    } else if (!d_->preamble.isEmpty() && !d_->preamble.back().trimmed().isEmpty()) {
      d_->preamble.append(QString());
    }
    d_->sections.push_back(Section{section.trimmed(), {}, {}, {}});
    d_->index.insert(fold(section), qsizetype(d_->sections.size()) - 1);
    s = &d_->sections.back();
  }
  const QString stored = storableValue(value);
  auto it = s->index.constFind(fold(key));
  if (it != s->index.constEnd()) {
    s->entries[*it].value = stored;
    return;
  }
  // After the last line of the section that is not blank.
  qsizetype at = qsizetype(s->entries.size());
  while (at > 0 && !s->entries[at - 1].isKey && s->entries[at - 1].text.trimmed().isEmpty()) --at;
  s->entries.insert(s->entries.begin() + at, Entry{true, key.trimmed(), stored, {}});
  s->reindex();
}

void IniFile::writeInteger(const QString &section, const QString &key, int value) {
  writeString(section, key, QString::number(value));
}

void IniFile::writeBool(const QString &section, const QString &key, bool value) {
  writeString(section, key, value ? QStringLiteral("1") : QStringLiteral("0"));
}

void IniFile::eraseSection(const QString &section) {
  auto it = d_->index.constFind(fold(section));
  if (it == d_->index.constEnd()) return;
  d_->sections.erase(d_->sections.begin() + *it);
  d_->reindex();
}

void IniFile::deleteKey(const QString &section, const QString &key) {
  Section *s = d_->find(section);
  if (!s || !s->find(key)) return;
  const QString k = fold(key);
  std::erase_if(s->entries, [&](const Entry &e) { return e.isKey && fold(e.key) == k; });
  s->reindex();
}

QStringList IniFile::sections() const {
  QStringList out;
  for (const Section &s : d_->sections) out.append(s.name);
  return out;
}

QStringList IniFile::keys(const QString &section) const {
  QStringList out;
  if (const Section *s = d_->find(section))
    for (qsizetype i = 0; i < qsizetype(s->entries.size()); ++i)
      if (s->entries[i].isKey && s->index.value(fold(s->entries[i].key)) == i) out.append(s->entries[i].key);
  return out;
}

QList<QPair<QString, QString>> IniFile::pairs(const QString &section) const {
  QList<QPair<QString, QString>> out;
  if (const Section *s = d_->find(section))
    for (qsizetype i = 0; i < qsizetype(s->entries.size()); ++i)
      if (s->entries[i].isKey && s->index.value(fold(s->entries[i].key)) == i)
        out.append({s->entries[i].key, unquote(s->entries[i].value)});
  return out;
}

bool IniFile::sectionExists(const QString &section) const { return d_->find(section) != nullptr; }

bool IniFile::valueExists(const QString &section, const QString &key) const {
  const Section *s = d_->find(section);
  return s && s->find(key);
}

}  // namespace vl
