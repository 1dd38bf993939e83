#include "stanza_file.h"

#include <QFile>
#include <QStringList>

namespace vl::build {

const StanzaEntry *Stanza::find(const QString &key) const
{
    for (const StanzaEntry &e : entries)
        if (e.key.compare(key, Qt::CaseInsensitive) == 0)
            return &e;
    return nullptr;
}

QList<const StanzaEntry *> Stanza::findAll(const QString &key) const
{
    QList<const StanzaEntry *> found;
    for (const StanzaEntry &e : entries)
        if (e.key.compare(key, Qt::CaseInsensitive) == 0)
            found.append(&e);
    return found;
}

StanzaFile parseStanzaText(const QString &path, const QString &text)
{
    StanzaFile file;
    file.path = path;
    file.preamble.place = {path, 0};
    Stanza *current = &file.preamble;
    bool continuable = false;

    const QStringList lines = text.split(QLatin1Char('\n'));
    for (int i = 0; i < lines.size(); ++i) {
        QString line = lines[i];
        if (line.endsWith(QLatin1Char('\r')))
            line.chop(1);
        const SourcePlace place{path, i + 1};
        if (line.startsWith(QLatin1Char('#'))) {
            continuable = false;
            continue;
        }
        const QString trimmed = line.trimmed();
        if (trimmed.isEmpty()) {
            continuable = false;
            continue;
        }
        if (line[0].isSpace()) {
            if (!continuable)
                throw BuildError(place, QStringLiteral("linha recuada sem uma chave acima para continuar"));
            StanzaEntry &last = current->entries.last();
            last.value = last.value.isEmpty() ? trimmed : last.value + QLatin1Char(' ') + trimmed;
            continue;
        }
        if (line.startsWith(QLatin1Char('['))) {
            const qsizetype close = trimmed.indexOf(QLatin1Char(']'));
            if (close < 0)
                throw BuildError(place, QStringLiteral("cabeçalho sem o ']'"));
            file.stanzas.append(Stanza{trimmed.mid(1, close - 1).trimmed(), trimmed.mid(close + 1).trimmed(), place, {}});
            current = &file.stanzas.last();
            continuable = false;
            continue;
        }
        const qsizetype eq = line.indexOf(QLatin1Char('='));
        if (eq < 0)
            throw BuildError(place, QStringLiteral("esperava 'chave = valor' e encontrei '%1'").arg(trimmed));
        const QString key = line.left(eq).trimmed();
        if (key.isEmpty())
            throw BuildError(place, QStringLiteral("chave vazia antes do '='"));
        current->entries.append(StanzaEntry{key, line.mid(eq + 1).trimmed(), place});
        continuable = true;
    }
    return file;
}

QString readSourceText(const QString &filePath, const QString &displayPath)
{
    QFile f(filePath);
    if (!f.open(QIODevice::ReadOnly))
        throw BuildError({displayPath, 0}, QStringLiteral("não consegui abrir o arquivo: %1").arg(f.errorString()));
    const QByteArray bytes = f.readAll();
    const QString text = QString::fromUtf8(bytes);
    const qsizetype bad = text.indexOf(QChar(0xFFFD));
    if (bad >= 0) {
        const int line = int(text.left(bad).count(QLatin1Char('\n'))) + 1;
        throw BuildError({displayPath, line}, QStringLiteral("o arquivo não está em UTF-8 válido"));
    }
    return text.startsWith(QChar(0xFEFF)) ? text.mid(1) : text;
}

StanzaFile readStanzaFile(const QString &filePath, const QString &displayPath)
{
    return parseStanzaText(displayPath, readSourceText(filePath, displayPath));
}

void requireKnownKeys(const Stanza &stanza, const QStringList &known)
{
    for (const StanzaEntry &e : stanza.entries)
        if (!known.contains(e.key, Qt::CaseInsensitive))
            throw BuildError(e.place, QStringLiteral("chave desconhecida '%1' (válidas: %2)")
                                          .arg(e.key, known.join(QStringLiteral(", "))));
}

std::optional<StanzaEntry> singleEntry(const Stanza &stanza, const QString &key)
{
    const auto all = stanza.findAll(key);
    if (all.isEmpty())
        return std::nullopt;
    if (all.size() > 1)
        throw BuildError(all[1]->place, QStringLiteral("a chave '%1' aparece mais de uma vez (primeira na linha %2)")
                                            .arg(key)
                                            .arg(all[0]->place.line));
    return *all[0];
}

}  // namespace vl::build
