#include "common/window_utils.h"

#include <QApplication>
#include <QWidget>

#include <stdexcept>

namespace vl {

namespace {
constexpr int kFlashMilliseconds = 5 * 600;  // five blinks
}

int RunningMainWindows(const QWidget *mainWindow) {
  if (!mainWindow) throw std::logic_error("RunningMainWindows: the program has no main window");
  const QString cls = QString::fromLatin1(mainWindow->metaObject()->className());
  int count = 0;
  for (const QWidget *w : QApplication::topLevelWidgets())
    if (QString::fromLatin1(w->metaObject()->className()).compare(cls, Qt::CaseInsensitive) == 0) ++count;
  return count;
}

void FlashTaskbar(QWidget *window, bool on) {
  if (!window) return;
  // An alert of 1 ms replaces a running one and clears it at once.
  QApplication::alert(window, on ? kFlashMilliseconds : 1);
}

double opacityForPercent(int percent) {
  if (percent > 100) return 1.0;
  return double(qMax(0, percent) * 255 / 100) / 255.0;
}

void SetWindowOpacity(QWidget *window, int percent) {
  if (window) window->setWindowOpacity(opacityForPercent(percent));
}

}  // namespace vl
