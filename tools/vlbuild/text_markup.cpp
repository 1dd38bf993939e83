#include "text_markup.h"

#include <QStringList>
#include <QTextBlockFormat>
#include <QTextCharFormat>
#include <QTextCursor>

namespace vl::build {

QString topicFontFamily()
{
    return QStringLiteral("Arial");
}

namespace {

enum class BlockStyle { Paragraph, Heading1, Heading2, Item };

struct PendingBlock {
    BlockStyle style = BlockStyle::Paragraph;
    QString text;
    int line = 0;
};

const QColor headingColor(0x1F, 0x3A, 0x68);

class Renderer {
public:
    Renderer(const QString &path) : path_(path), doc_(std::make_unique<QTextDocument>()), cursor_(doc_.get())
    {
        QFont font(topicFontFamily());
        font.setPointSize(topicFontPointSize);
        doc_->setDefaultFont(font);
    }

    void add(const PendingBlock &block)
    {
        QTextBlockFormat bf;
        QTextCharFormat cf;
        cf.setFontFamilies({topicFontFamily()});
        cf.setFontPointSize(topicFontPointSize);
        bf.setBottomMargin(6);
        QString text = block.text;
        switch (block.style) {
        case BlockStyle::Heading1:
            cf.setFontPointSize(14);
            cf.setFontWeight(QFont::Bold);
            cf.setForeground(headingColor);
            bf.setTopMargin(4);
            break;
        case BlockStyle::Heading2:
            cf.setFontPointSize(12);
            cf.setFontWeight(QFont::Bold);
            cf.setForeground(headingColor);
            bf.setTopMargin(6);
            break;
        case BlockStyle::Item:
            bf.setLeftMargin(24);
            bf.setTextIndent(-12);
            bf.setBottomMargin(3);
            text = QStringLiteral("\u2022 ") + text;
            break;
        case BlockStyle::Paragraph:
            break;
        }
        if (first_) {
            cursor_.setBlockFormat(bf);
            cursor_.setBlockCharFormat(cf);
            first_ = false;
        } else {
            cursor_.insertBlock(bf, cf);
        }
        insertInline(text, cf, block.line);
    }

    std::unique_ptr<QTextDocument> take() { return std::move(doc_); }

private:
    // Inline formatting: toggles for **, *, __; link markup copied verbatim.
    void insertInline(const QString &text, const QTextCharFormat &base, int line)
    {
        bool bold = false, italic = false, underline = false;
        QString run;
        auto flush = [&] {
            if (run.isEmpty())
                return;
            QTextCharFormat f = base;
            if (bold)
                f.setFontWeight(QFont::Bold);
            if (italic)
                f.setFontItalic(true);
            if (underline)
                f.setFontUnderline(true);
            cursor_.insertText(run, f);
            run.clear();
        };
        for (qsizetype i = 0; i < text.size(); ++i) {
            const QChar c = text[i];
            if (c == QLatin1Char('\\') && i + 1 < text.size()) {
                run += text[++i];
            } else if (c == QLatin1Char('~') && i + 1 < text.size() && text[i + 1] == QChar(0x00AB)) {
                const qsizetype close = text.indexOf(QChar(0x00BB), i);
                const qsizetype end = close < 0 ? text.size() : close + 1;
                run += text.mid(i, end - i);
                i = end - 1;
            } else if (text.mid(i, 2) == QLatin1String("**")) {
                flush();
                bold = !bold;
                ++i;
            } else if (text.mid(i, 2) == QLatin1String("__")) {
                flush();
                underline = !underline;
                ++i;
            } else if (c == QLatin1Char('*')) {
                flush();
                italic = !italic;
            } else {
                run += c;
            }
        }
        flush();
        const char *open = bold ? "**" : italic ? "*" : underline ? "__" : nullptr;
        if (open)
            throw BuildError({path_, line}, QStringLiteral("'%1' aberto e não fechado neste parágrafo")
                                                .arg(QString::fromLatin1(open)));
    }

    QString path_;
    std::unique_ptr<QTextDocument> doc_;
    QTextCursor cursor_;
    bool first_ = true;
};

}  // namespace

RenderedText renderMarkup(const QString &path, const QString &source)
{
    Renderer renderer(path);
    PendingBlock pending;
    bool open = false;
    auto finish = [&] {
        if (open)
            renderer.add(pending);
        open = false;
    };
    const QStringList lines = source.split(QLatin1Char('\n'));
    for (int i = 0; i < lines.size(); ++i) {
        QString line = lines[i];
        if (line.endsWith(QLatin1Char('\r')))
            line.chop(1);
        const QString trimmed = line.trimmed();
        const int lineNo = i + 1;
        if (trimmed.isEmpty()) {
            finish();
            continue;
        }
        if (line.contains(QLatin1Char('\t')))
            throw BuildError({path, lineNo}, QStringLiteral("use espaços, não tabulações"));
        auto start = [&](BlockStyle style, const QString &text) {
            finish();
            pending = {style, text, lineNo};
            open = true;
        };
        if (line.startsWith(QLatin1String("## ")))
            start(BlockStyle::Heading2, trimmed.mid(3).trimmed());
        else if (line.startsWith(QLatin1String("# ")))
            start(BlockStyle::Heading1, trimmed.mid(2).trimmed());
        else if (line.startsWith(QLatin1String("- ")))
            start(BlockStyle::Item, trimmed.mid(2).trimmed());
        else if (open && pending.style == BlockStyle::Item && line.startsWith(QLatin1String("  ")))
            pending.text += QLatin1Char(' ') + trimmed;
        else if (open && pending.style == BlockStyle::Paragraph)
            pending.text += QLatin1Char(' ') + trimmed;
        else if (line[0].isSpace())
            throw BuildError({path, lineNo}, QStringLiteral("linha recuada fora de um item de lista"));
        else
            start(BlockStyle::Paragraph, trimmed);
        if (open && (pending.style == BlockStyle::Heading1 || pending.style == BlockStyle::Heading2)) {
            if (pending.text.isEmpty())
                throw BuildError({path, lineNo}, QStringLiteral("título vazio"));
            finish();
        }
    }
    finish();
    RenderedText out;
    out.document = renderer.take();
    out.plainText = out.document->toPlainText();
    return out;
}

}  // namespace vl::build
