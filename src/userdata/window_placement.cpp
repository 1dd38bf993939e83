#include "userdata/window_placement.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

#include "common/ini_file.h"

namespace vl {

void writeWindowPlacement(IniFile &ini, const QString &section, const WindowPlacement &p) {
  ini.writeInteger(section, "Win.State", p.state);
  ini.writeInteger(section, "Desktop.Width", p.desktop.width());
  ini.writeInteger(section, "Desktop.Height", p.desktop.height());
  if (p.hasBounds) {
    ini.writeInteger(section, "Win.Top", p.normalBounds.top());
    ini.writeInteger(section, "Win.Left", p.normalBounds.left());
    ini.writeInteger(section, "Win.Width", p.normalBounds.width());
    ini.writeInteger(section, "Win.Height", p.normalBounds.height());
  }
}

void writeExtraValues(IniFile &ini, const QString &section, const QList<ExtraValue> &extras) {
  for (const ExtraValue &e : extras) {
    if (const int *i = std::get_if<int>(&e.value)) ini.writeInteger(section, e.key, *i);
    else if (const bool *b = std::get_if<bool>(&e.value)) ini.writeBool(section, e.key, *b);
    else ini.writeString(section, e.key, std::get<QString>(e.value));
  }
}

void readExtraValues(const IniFile &ini, const QString &section, QList<ExtraValue> &extras) {
  for (ExtraValue &e : extras) {
    if (int *i = std::get_if<int>(&e.value)) *i = ini.readInteger(section, e.key, *i);
    else if (bool *b = std::get_if<bool>(&e.value)) *b = ini.readBool(section, e.key, *b);
    else e.value = ini.readString(section, e.key, std::get<QString>(e.value));
  }
}

PlacementDecision decidePlacement(const IniFile &ini, const QString &section, QSize screen, QRect current,
                                  int currentState) {
  PlacementDecision d;
  d.bounds = current;
  d.state = currentState;
  if (!ini.sectionExists(section)) return d;
  const int savedWidth = ini.readInteger(section, "Desktop.Width", screen.width());
  const int savedHeight = ini.readInteger(section, "Desktop.Height", screen.height());
  if (savedWidth > screen.width() || savedHeight > screen.height()) return d;
  d.use = true;
  const int top = ini.readInteger(section, "Win.Top", current.top());
  const int left = ini.readInteger(section, "Win.Left", current.left());
  const int width = ini.readInteger(section, "Win.Width", current.width());
  const int height = ini.readInteger(section, "Win.Height", current.height());
  d.bounds = QRect(left, top, qMax(1, width), qMax(1, height));
  const int state = ini.readInteger(section, "Win.State", currentState);
  d.state = state == 2 ? 2 : 0;  // a minimised window comes back normal
  return d;
}

QRect keepOnScreen(QRect w, const QRect &a, bool flip) {
  const int areaRight = a.left() + a.width(), areaBottom = a.top() + a.height();
  if (w.left() < a.left()) w.moveLeft(a.left());
  if (w.top() < a.top()) w.moveTop(a.top());
  if (w.top() + w.height() > areaBottom) w.moveTop(flip ? w.top() - w.height() : areaBottom - w.height());
  if (w.left() + w.width() > areaRight) w.moveLeft(flip ? w.left() - w.width() : areaRight - w.width());
  return w;
}

QPoint centreOver(QPoint ownerTopLeft, QSize ownerClient, QSize window) {
  return QPoint((ownerClient.width() - window.width()) / 2 + ownerTopLeft.x(),
                (ownerClient.height() - window.height()) / 2 + ownerTopLeft.y());
}

QPoint centreIn(const QRect &area, QSize window) { return centreOver(area.topLeft(), area.size(), window); }

int windowStateCode(const QWidget *window) {
  if (window->isMaximized()) return 2;
  if (window->isMinimized()) return 1;
  return 0;
}

namespace {
QScreen *screenOf(const QWidget *window) {
  QScreen *s = window ? window->screen() : nullptr;
  return s ? s : QGuiApplication::primaryScreen();
}
}  // namespace

QRect workAreaOf(const QWidget *window) {
  QScreen *s = screenOf(window);
  return s ? s->availableGeometry() : QRect(0, 0, 1024, 768);
}

QSize screenSizeOf(const QWidget *window) {
  QScreen *s = screenOf(window);
  return s ? s->geometry().size() : QSize(1024, 768);
}

void SaveWindowPlacement(IniFile &ini, const QWidget *window, const QString &section, const QList<ExtraValue> &extras) {
  WindowPlacement p;
  p.state = windowStateCode(window);
  p.desktop = screenSizeOf(window);
  const QRect normal = p.state == 0 ? window->geometry() : window->normalGeometry();
  p.hasBounds = normal.isValid();
  p.normalBounds = normal;
  writeWindowPlacement(ini, section, p);
  writeExtraValues(ini, section, extras);
}

bool LoadWindowPlacement(const IniFile &ini, QWidget *window, const QString &section, QList<ExtraValue> &extras,
                         bool isMainWindow) {
  const PlacementDecision d =
      decidePlacement(ini, section, screenSizeOf(window), window->geometry(), windowStateCode(window));
  if (d.use) {
    window->setWindowState(window->windowState() & ~(Qt::WindowMinimized | Qt::WindowMaximized));
    window->setGeometry(d.bounds);
    if (d.state == 2) window->setWindowState(window->windowState() | Qt::WindowMaximized);
  } else if (isMainWindow) {
    window->move(centreIn(workAreaOf(window), window->frameGeometry().size()));
  }
  readExtraValues(ini, section, extras);
  return d.use;
}

QRect defaultMainWindowBounds(const QRect &area) {
  const QSize size(area.width() * 7 / 8, area.height() * 7 / 8);
  return QRect(centreIn(area, size), size);
}

void setDefaultMainWindowPlacement(QWidget *mainWindow) {
  const QRect bounds = defaultMainWindowBounds(workAreaOf(mainWindow));
  mainWindow->resize(bounds.size());
  mainWindow->move(bounds.topLeft());
}

void KeepOnScreen(QWidget *window, bool flip) {
  const QRect frame = window->frameGeometry();
  const QRect placed = keepOnScreen(frame, workAreaOf(window), flip);
  if (placed.topLeft() != frame.topLeft()) window->move(placed.topLeft());
}

void CentreOverWindow(const QWidget *owner, QWidget *window) {
  const QSize size = window->frameGeometry().size();
  if (owner) {
    const QPoint topLeft = owner->isWindow() ? owner->frameGeometry().topLeft() : owner->mapToGlobal(QPoint(0, 0));
    window->move(centreOver(topLeft, owner->size(), size));
  } else {
    window->move(centreIn(workAreaOf(window), size));
  }
}

}  // namespace vl
