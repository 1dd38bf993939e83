#include "link_scan.h"

namespace vl::build {

static const QString openLink = QStringLiteral("~\u00AB");
static const QChar closeLink(0x00BB);

LinkScan scanLinks(const QString &text)
{
    LinkScan scan;
    qsizetype p = 0;
    while (true) {
        const qsizetype b = text.indexOf(openLink, p);
        if (b < 0)
            break;
        const qsizetype close = text.indexOf(closeLink, b);
        if (close < 0) {
            scan.malformed.append({b, QStringLiteral("link sem o '»' final")});
            break;
        }
        const qsizetype length = close + 1 - b;
        if (length < 6 || !text[b + 2].isDigit() || text[b + 2].unicode() > '9') {
            scan.malformed.append({b, length < 6 ? QStringLiteral("link curto demais: '%1'").arg(text.mid(b, length))
                                                 : QStringLiteral("link sem o dígito do tipo: '%1'")
                                                       .arg(text.mid(b, length))});
            p = b + 2;
            continue;
        }
        MarkupLink link;
        link.offset = b;
        link.length = length;
        link.digit = text[b + 2];
        const QString body = text.mid(b + 3, length - 4);
        const qsizetype tilde = body.indexOf(QLatin1Char('~'));
        if (tilde >= 1) {
            link.caption = body.mid(tilde + 1);
            const QString target = body.left(tilde);
            const qsizetype hash = target.indexOf(QLatin1Char('#'));
            if (hash >= 0) {
                link.identifier = target.left(hash);
                link.anchor = target.mid(hash + 1);
            } else {
                link.identifier = target;
            }
        } else {
            link.identifier = link.caption = body;
        }
        scan.links.append(link);
        p = close + 1;
    }
    for (qsizetype c = text.indexOf(QStringLiteral("~^")); c >= 0; c = text.indexOf(QStringLiteral("~^"), c + 2))
        scan.childLists.append(c);
    return scan;
}

int lineOfOffset(const QString &text, qsizetype offset)
{
    return int(QStringView(text).left(offset).count(QLatin1Char('\n'))) + 1;
}

bool containsWholeWord(const QString &text, const QString &word)
{
    if (word.isEmpty())
        return false;
    for (qsizetype i = text.indexOf(word); i >= 0; i = text.indexOf(word, i + 1)) {
        const bool startOk = i == 0 || !text[i - 1].isLetterOrNumber();
        const qsizetype end = i + word.size();
        const bool endOk = end >= text.size() || !text[end].isLetterOrNumber();
        if (startOk && endOk)
            return true;
    }
    return false;
}

}  // namespace vl::build
