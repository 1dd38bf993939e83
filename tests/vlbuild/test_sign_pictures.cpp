// Every picture of the core module, rendered from its SVG source and through the WMF the builder
// stores, saved as PNG in the build folder (sign-renders/) and compared.
#include "common/metafile.h"
#include "common/svg_to_wmf.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QImage>
#include <QPainter>
#include <QSvgRenderer>
#include <gtest/gtest.h>

namespace {

QStringList pictureFiles()
{
    QStringList files;
    const QString root = qEnvironmentVariable("VL_SOURCE_DIR") + QStringLiteral("/content/core/pictures");
    QDirIterator it(root, {QStringLiteral("*.svg")}, QDir::Files, QDirIterator::Subdirectories);
    while (it.hasNext())
        files.append(it.next());
    files.sort();
    return files;
}

QImage renderSvg(const QByteArray &svg, QSize size)
{
    QImage image(size, QImage::Format_ARGB32);
    image.fill(Qt::white);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    QSvgRenderer(svg).render(&p, QRectF(QPointF(0, 0), QSizeF(size)));
    return image;
}

// Share of pixels whose colour differs clearly between the two renderings.
double differingShare(const QImage &a, const QImage &b)
{
    int differing = 0;
    for (int y = 0; y < a.height(); ++y)
        for (int x = 0; x < a.width(); ++x) {
            const QColor ca = a.pixelColor(x, y), cb = b.pixelColor(x, y);
            if (std::abs(ca.red() - cb.red()) + std::abs(ca.green() - cb.green()) + std::abs(ca.blue() - cb.blue()) > 120)
                ++differing;
        }
    return double(differing) / (a.width() * a.height());
}

}  // namespace

TEST(SignPictures, RenderTheSameFromSvgAndFromTheStoredWmf)
{
    const QStringList files = pictureFiles();
    ASSERT_GE(files.size(), 30) << "pictures not found under VL_SOURCE_DIR";
    QDir().mkpath(QStringLiteral("sign-renders"));
    const int cell = 120;
    const int columns = 8;
    QImage sheet(columns * cell * 2, int((files.size() + columns - 1) / columns) * cell, QImage::Format_ARGB32);
    sheet.fill(Qt::lightGray);
    QPainter sheetPainter(&sheet);
    for (int i = 0; i < files.size(); ++i) {
        QFile f(files[i]);
        ASSERT_TRUE(f.open(QIODevice::ReadOnly));
        const QByteArray svg = f.readAll();
        QString error;
        const QByteArray wmf = vl::svgToWmf(svg, {}, &error);
        ASSERT_FALSE(wmf.isEmpty()) << files[i].toStdString() << ": " << error.toStdString();
        const QSize size = QSvgRenderer(svg).defaultSize();
        EXPECT_EQ(vl::metafileNaturalSize(wmf).toSize(), size) << files[i].toStdString();
        const QImage direct = renderSvg(svg, size);
        const QImage stored = vl::renderMetafileImage(wmf, size, Qt::white).convertToFormat(QImage::Format_ARGB32);
        ASSERT_FALSE(stored.isNull()) << files[i].toStdString();
        const QString base = QFileInfo(files[i]).completeBaseName();
        stored.save(QStringLiteral("sign-renders/%1.png").arg(base));
        EXPECT_LT(differingShare(direct, stored), 0.03) << files[i].toStdString();
        const int x = (i % columns) * cell * 2, y = (i / columns) * cell;
        sheetPainter.drawImage(QRect(x + 2, y + 2, cell - 4, cell - 4), direct);
        sheetPainter.drawImage(QRect(x + cell + 2, y + 2, cell - 4, cell - 4), stored);
    }
    sheetPainter.end();
    sheet.save(QStringLiteral("sign-renders/all-signs.png"));
}
