#include "cell_converter.h"

#include "common/cp1252_qt.h"
#include "toc_source.h"
#include "speech_synth.h"
#include "wave_synth.h"

#include <QBuffer>
#include <QFile>
#include <QImage>
#include <QPainter>
#include <QFileInfo>
#include <QSvgRenderer>

namespace vl::build {

void requireCp1252(const QString &text, const SourcePlace &place)
{
    if (vl::fromCp1252(vl::toCp1252(text)) == text)
        return;
    for (QChar c : text)
        if (vl::fromCp1252(vl::toCp1252(QString(c))) != QString(c))
            throw BuildError(place, QStringLiteral("o caractere '%1' (U+%2) não existe no código 1252")
                                        .arg(c)
                                        .arg(c.unicode(), 4, 16, QLatin1Char('0')));
}

QByteArray svgBitmap(const QString &svgPath, QSize size, const QColor &background, bool transparentKey)
{
    // Drawn antialiased on a transparent canvas, centred and keeping its proportions.
    QImage canvas(size, QImage::Format_ARGB32_Premultiplied);
    canvas.fill(Qt::transparent);
    QPainter painter(&canvas);
    painter.setRenderHint(QPainter::Antialiasing);
    QSvgRenderer renderer(svgPath);
    QSizeF fitted = QSizeF(renderer.defaultSize()).scaled(QSizeF(size), Qt::KeepAspectRatio);
    if (fitted.isEmpty())
        fitted = QSizeF(size);
    renderer.render(&painter, QRectF(QPointF((size.width() - fitted.width()) / 2, (size.height() - fitted.height()) / 2), fitted));
    painter.end();
    // Flattened: over white, and with a key colour the program makes transparent, over that
    // colour only where the picture leaves the pixel (mostly) uncovered, so edges stay clean.
    QImage image(size, QImage::Format_RGB888);
    for (int y = 0; y < size.height(); ++y)
        for (int x = 0; x < size.width(); ++x) {
            const QColor c = canvas.pixelColor(x, y);
            const double a = c.alphaF();
            if (transparentKey && a < 0.5) {
                image.setPixelColor(x, y, background);
                continue;
            }
            const QColor under = transparentKey ? QColor(Qt::white) : background;
            image.setPixelColor(x, y, QColor::fromRgbF(float(c.redF() * a + under.redF() * (1 - a)),
                                                       float(c.greenF() * a + under.greenF() * (1 - a)),
                                                       float(c.blueF() * a + under.blueF() * (1 - a))));
        }
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "BMP");
    return bytes;
}

CellConverter::CellConverter(const ContentSources &sources, const Converters &converters)
    : sources_(sources), converters_(converters)
{
}

QString CellConverter::existingFile(const QString &path, const SourcePlace &place, const QString &what) const
{
    if (path.isEmpty())
        throw BuildError(place, QStringLiteral("falta o caminho do arquivo"));
    if (QDir::isAbsolutePath(path) || QDir::cleanPath(path).startsWith(QLatin1String("..")))
        throw BuildError(place, QStringLiteral("o caminho '%1' deve ser relativo à pasta do conteúdo").arg(path));
    const QString abs = sources_.absolutePath(path);
    if (!QFileInfo(abs).isFile())
        throw BuildError(place, QStringLiteral("%1 '%2' não existe").arg(what, path));
    return abs;
}

QString CellConverter::svgFile(const QString &path, const SourcePlace &place) const
{
    const QString abs = existingFile(path, place, QStringLiteral("a figura"));
    if (!path.endsWith(QLatin1String(".svg"), Qt::CaseInsensitive))
        throw BuildError(place, QStringLiteral("a figura '%1' deve ser um arquivo .svg").arg(path));
    QSvgRenderer check(abs);
    if (!check.isValid())
        throw BuildError(place, QStringLiteral("a figura '%1' não é um SVG válido").arg(path));
    return abs;
}

QByteArray CellConverter::picture(const QString &path, const SourcePlace &place) const
{
    const QString abs = svgFile(path, place);
    try {
        return converters_.wmf(abs);
    } catch (const std::exception &e) {
        throw BuildError(place, QStringLiteral("não consegui converter '%1' em WMF: %2").arg(path, QString::fromUtf8(e.what())));
    }
}

CellValue CellConverter::blob(const FieldSource &field)
{
    const QString value = field.value;
    const qsizetype space = value.indexOf(QLatin1Char(' '));
    const QString kind = (space < 0 ? value : value.left(space)).toLower();
    const QString arg = space < 0 ? QString() : value.mid(space + 1).trimmed();
    if (kind == QLatin1String("svg"))
        return picture(arg, field.place);
    if (kind == QLatin1String("hot")) {
        const QByteArray wmf = picture(arg, field.place);
        const QString spotsPath = arg.left(arg.size() - 4) + QStringLiteral(".spots");
        const QString abs = existingFile(spotsPath, field.place, QStringLiteral("o arquivo de áreas"));
        const QList<HotSpot> spots = parseSpots(spotsPath, readSourceText(abs, spotsPath));
        QStringList &codes = spotCodes_[currentTable_.toUpper()];
        for (const HotSpot &s : spots) {
            requireCp1252(s.code + s.text, s.place);
            codes.append(s.code.trimmed().toUpper());
        }
        return appendSpotBlock(wmf, QStringLiteral("wmf"), spots);
    }
    if (kind == QLatin1String("bmp")) {
        // bmp PATH WIDTHxHEIGHT: the SVG drawn on white into a 24-bit bitmap file.
        const qsizetype cut = arg.lastIndexOf(QLatin1Char(' '));
        const QStringList size = arg.mid(cut + 1).split(QLatin1Char('x'));
        bool okW = false, okH = false;
        const int w = size.value(0).toInt(&okW), h = size.value(1).toInt(&okH);
        if (cut < 0 || size.size() != 2 || !okW || !okH || w < 1 || h < 1 || w > 256 || h > 256)
            throw BuildError(field.place, QStringLiteral("escreva 'bmp CAMINHO LARGURAxALTURA' (até 256x256)"));
        const QString path = arg.left(cut).trimmed();
        return svgBitmap(svgFile(path, field.place), QSize(w, h), Qt::white, false);
    }
    if (kind == QLatin1String("tone"))
        return synthesizeWave(parseToneSpec(arg, field.place));
    if (kind == QLatin1String("speech")) {
        if (arg.isEmpty())
            throw BuildError(field.place, QStringLiteral("escreva o texto a ser lido depois de 'speech'"));
        try {
            return synthesizeSpeech(arg);
        } catch (const std::exception &e) {
            throw BuildError(field.place, QString::fromUtf8(e.what()));
        }
    }
    if (kind == QLatin1String("text")) {
        const QString abs = existingFile(arg, field.place, QStringLiteral("o texto"));
        const QString source = readSourceText(abs, arg);
        requireCp1252(source, {arg, 0});
        return converters_.rtf(*renderMarkup(arg, source).document);
    }
    if (kind == QLatin1String("file")) {
        QFile f(existingFile(arg, field.place, QStringLiteral("o arquivo")));
        if (!f.open(QIODevice::ReadOnly))
            throw BuildError(field.place, QStringLiteral("não consegui ler '%1'").arg(arg));
        return f.readAll();
    }
    throw BuildError(field.place, QStringLiteral("valor de coluna blob deve começar por svg, hot, bmp, tone, speech, text ou file"));
}

CellValue CellConverter::convert(const ColumnSpec &column, const FieldSource &field)
{
    if (field.value.isEmpty())
        return std::monostate{};
    switch (column.type) {
    case ColumnType::String:
        requireCp1252(field.value, field.place);
        if (field.value.size() > column.size)
            throw BuildError(field.place, QStringLiteral("texto de %1 caracteres não cabe na coluna '%2' (tamanho %3)")
                                              .arg(field.value.size())
                                              .arg(column.name)
                                              .arg(column.size));
        return field.value;
    case ColumnType::Memo:
        requireCp1252(field.value, field.place);
        return field.value;
    case ColumnType::Integer:
        return std::int32_t(parseInteger(field.value, field.place));
    case ColumnType::Boolean:
        return parseYesNo(field.value, field.place);
    case ColumnType::Float: {
        bool ok = false;
        const double v = field.value.toDouble(&ok);
        if (!ok)
            throw BuildError(field.place, QStringLiteral("esperava um número e encontrei '%1'").arg(field.value));
        return v;
    }
    case ColumnType::Blob:
        return blob(field);
    }
    return std::monostate{};
}

}  // namespace vl::build
