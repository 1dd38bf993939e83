#pragma once
// Saves a widget's offscreen rendering as a PNG when VL_RENDER_DIR names a folder (for looking at),
// enlarged VL_RENDER_SCALE times.
#include <QDir>
#include <QImage>
#include <QString>
#include <QWidget>

namespace vltest {

inline QImage render(QWidget &widget, const QString &name = {}) {
  widget.ensurePolished();
  const QImage image = widget.grab().toImage();
  const QString dir = qEnvironmentVariable("VL_RENDER_DIR");
  if (!dir.isEmpty() && !name.isEmpty()) {
    QDir().mkpath(dir);
    const int scale = qMax(1, qEnvironmentVariableIntValue("VL_RENDER_SCALE"));
    image.scaled(image.size() * scale, Qt::IgnoreAspectRatio, Qt::FastTransformation)
        .save(QDir(dir).filePath(name + ".png"));
  }
  return image;
}

}  // namespace vltest
