#include "test_metafile_support.h"

#include <QCoreApplication>

namespace vl::test {

double differingShare(const QImage &a, const QImage &b, int threshold) {
  if (a.size() != b.size() || a.isNull()) return 1.0;
  const QImage x = a.convertToFormat(QImage::Format_RGB32), y = b.convertToFormat(QImage::Format_RGB32);
  qint64 differing = 0;
  for (int row = 0; row < x.height(); ++row) {
    const QRgb *p = reinterpret_cast<const QRgb *>(x.constScanLine(row));
    const QRgb *q = reinterpret_cast<const QRgb *>(y.constScanLine(row));
    for (int col = 0; col < x.width(); ++col)
      if (!near(p[col], q[col], threshold)) ++differing;
  }
  return double(differing) / (qint64(x.width()) * x.height());
}

QString saveRender(const QImage &image, const QString &name) {
  QDir dir(QCoreApplication::applicationDirPath());
  dir.mkpath(QStringLiteral("metafile_renders"));
  const QString path = dir.filePath(QStringLiteral("metafile_renders/%1.png").arg(name));
  image.save(path);
  return path;
}

}  // namespace vl::test
