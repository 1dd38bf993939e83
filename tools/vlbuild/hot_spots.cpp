#include "hot_spots.h"

#include "common/cp1252_qt.h"

#include <QRegularExpression>
#include <QStringList>
#include <QtEndian>

namespace vl::build {

static int coordinate(const QString &word, const SourcePlace &place)
{
    bool ok = false;
    const int v = word.toInt(&ok);
    if (!ok || v < 0 || v > 65535)
        throw BuildError(place, QStringLiteral("coordenada inválida '%1' (0 a 65535)").arg(word));
    return v;
}

QList<HotSpot> parseSpots(const QString &path, const QString &source)
{
    QList<HotSpot> spots;
    const QStringList lines = source.split(QLatin1Char('\n'));
    for (int i = 0; i < lines.size(); ++i) {
        const QString line = lines[i].trimmed();
        const SourcePlace place{path, i + 1};
        if (line.isEmpty() || line.startsWith(QLatin1Char('#')))
            continue;
        const qsizetype bar = line.indexOf(QLatin1Char('|'));
        const QString head = bar < 0 ? line : line.left(bar);
        HotSpot spot;
        spot.place = place;
        spot.text = bar < 0 ? QString() : line.mid(bar + 1).trimmed();
        const QStringList words = head.split(QRegularExpression(QStringLiteral("\\s+")), Qt::SkipEmptyParts);
        if (words.size() < 3)
            throw BuildError(place, QStringLiteral("esperava 'forma código coordenadas | texto'"));
        const QString shape = words[0].toLower();
        spot.code = words[1];
        if (spot.code.size() > 5)
            throw BuildError(place, QStringLiteral("código '%1' tem mais de 5 caracteres").arg(spot.code));
        const QStringList coords = words.mid(2);
        if (shape == QLatin1String("rect") || shape == QLatin1String("ellipse")) {
            spot.shape = shape == QLatin1String("rect") ? HotSpot::Rectangle : HotSpot::Ellipse;
            if (coords.size() != 4)
                throw BuildError(place, QStringLiteral("%1 precisa de 4 números: esquerda topo direita base").arg(shape));
            const QPoint a(coordinate(coords[0], place), coordinate(coords[1], place));
            const QPoint b(coordinate(coords[2], place), coordinate(coords[3], place));
            if (b.x() <= a.x() || b.y() <= a.y())
                throw BuildError(place, QStringLiteral("retângulo vazio: a direita e a base devem passar da esquerda e do topo"));
            spot.points = {a, b};
        } else if (shape == QLatin1String("poly")) {
            spot.shape = HotSpot::Polygon;
            for (const QString &pair : coords) {
                const QStringList xy = pair.split(QLatin1Char(','));
                if (xy.size() != 2)
                    throw BuildError(place, QStringLiteral("ponto '%1' deve ser x,y").arg(pair));
                spot.points.append(QPoint(coordinate(xy[0], place), coordinate(xy[1], place)));
            }
            if (spot.points.size() < 3)
                throw BuildError(place, QStringLiteral("um polígono precisa de ao menos 3 pontos"));
        } else {
            throw BuildError(place, QStringLiteral("forma desconhecida '%1' (válidas: rect, ellipse, poly)").arg(words[0]));
        }
        spots.append(spot);
    }
    if (spots.isEmpty())
        throw BuildError({path, 0}, QStringLiteral("o arquivo não define nenhuma área"));
    return spots;
}

static void putU16(QByteArray &out, quint16 v)
{
    char b[2];
    qToLittleEndian(v, b);
    out.append(b, 2);
}

static void putPadded(QByteArray &out, const QByteArray &bytes, int width)
{
    QByteArray field = bytes.left(width);
    field.append(QByteArray(width - field.size(), '\0'));
    out.append(field);
}

QByteArray appendSpotBlock(const QByteArray &picture, const QString &extension, const QList<HotSpot> &spots)
{
    QByteArray out = picture;
    const quint32 blockStart = quint32(out.size());
    out.append("VLhot", 5);
    putPadded(out, extension.toLower().toLatin1(), 5);
    putU16(out, quint16(spots.size()));
    for (const HotSpot &s : spots) {
        putU16(out, s.shape);
        putPadded(out, vl::toCp1252(s.code), 5);
        const QByteArray text = vl::toCp1252(s.text).left(65535);
        putU16(out, quint16(text.size()));
        out.append(text);
        if (s.shape == HotSpot::Polygon)
            putU16(out, quint16(s.points.size()));
        for (const QPoint &p : s.points) {
            putU16(out, quint16(p.x()));
            putU16(out, quint16(p.y()));
        }
    }
    char tail[4];
    qToLittleEndian(blockStart, tail);
    out.append(tail, 4);
    return out;
}

}  // namespace vl::build
