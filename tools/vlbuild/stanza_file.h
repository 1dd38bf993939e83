#pragma once
// The line format shared by the module, contents and table sources:
//
//   # a comment (a '#' in the first column)
//   key = value
//       a line that starts with white space continues the value above
//   [header] title      starts a stanza; the keys below belong to it
//
// Keys before the first stanza form the preamble.
#include "build_error.h"

#include <QList>
#include <QString>
#include <optional>

namespace vl::build {

struct StanzaEntry {
    QString key;
    QString value;
    SourcePlace place;
};

struct Stanza {
    QString header;  // text between the brackets, trimmed
    QString title;   // text after the closing bracket, trimmed
    SourcePlace place;
    QList<StanzaEntry> entries;

    const StanzaEntry *find(const QString &key) const;  // first entry with this key (ignoring case)
    QList<const StanzaEntry *> findAll(const QString &key) const;
};

struct StanzaFile {
    QString path;
    Stanza preamble;  // header empty, place line 0
    QList<Stanza> stanzas;
};

// Parses text already read from `path` (used in messages).
StanzaFile parseStanzaText(const QString &path, const QString &text);
// Reads a UTF-8 file; `displayPath` names it in messages.
QString readSourceText(const QString &filePath, const QString &displayPath);
StanzaFile readStanzaFile(const QString &filePath, const QString &displayPath);

// Rejects keys the reader of a stanza does not know.
void requireKnownKeys(const Stanza &stanza, const QStringList &known);
// The one value of a key; duplicates are an error. Missing -> nullopt.
std::optional<StanzaEntry> singleEntry(const Stanza &stanza, const QString &key);

}  // namespace vl::build
