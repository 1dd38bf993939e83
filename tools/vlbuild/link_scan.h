#pragma once
// Finds the program's link markup in a topic text, with the same grammar the text viewer uses:
// "~«" digit body "»", body = target or target "~" caption, target = topic "#" anchor.
#include <QList>
#include <QString>

namespace vl::build {

struct MarkupLink {
    qsizetype offset = 0;  // of the "~«"
    qsizetype length = 0;  // up to and including the "»"
    QChar digit;
    QString identifier;
    QString anchor;
    QString caption;
};

struct MalformedLink {
    qsizetype offset = 0;
    QString reason;
};

struct LinkScan {
    QList<MarkupLink> links;
    QList<MalformedLink> malformed;
    QList<qsizetype> childLists;  // offsets of "~^" markers
};

LinkScan scanLinks(const QString &text);

// 1-based line of a character offset.
int lineOfOffset(const QString &text, qsizetype offset);

// Whether `word` occurs in `text` as a whole word (matching case).
bool containsWholeWord(const QString &text, const QString &word);

}  // namespace vl::build
