#pragma once
// Saved window placements ("Win.*" and "Desktop.*" keys) and keeping windows on the screen.
#include <QList>
#include <QRect>
#include <QString>

#include <variant>

class QWidget;

namespace vl {

class IniFile;

// A typed value a window keeps in its placement section besides the placement keys.
struct ExtraValue {
  QString key;
  std::variant<int, bool, QString> value;  // the default when read, the result afterwards
};

// What is saved of a window.
struct WindowPlacement {
  int state = 0;  // 0 normal, 1 minimised, 2 maximised
  QSize desktop;  // screen size when saved
  bool hasBounds = false;
  QRect normalBounds;  // the restored rectangle
};

void writeWindowPlacement(IniFile &ini, const QString &section, const WindowPlacement &p);
void writeExtraValues(IniFile &ini, const QString &section, const QList<ExtraValue> &extras);
void readExtraValues(const IniFile &ini, const QString &section, QList<ExtraValue> &extras);

// Whether a saved placement applies, and which bounds and state it gives.
struct PlacementDecision {
  bool use = false;  // false: keep the window's own placement (the main window is then centred)
  QRect bounds;
  int state = 0;
};

// The saved placement is used when the section exists and the saved screen size (default: the
// current one) is not larger than `screen` in either direction. Missing keys keep the current values.
PlacementDecision decidePlacement(const IniFile &ini, const QString &section, QSize screen, QRect currentBounds,
                                  int currentState);

// The window moved inside the work area; with flip, a window that sticks out at the bottom or right
// goes to the other side of its anchor point instead.
QRect keepOnScreen(QRect window, const QRect &workArea, bool flip);

// The window's top-left corner centred over an owner (its frame top-left and client size).
QPoint centreOver(QPoint ownerTopLeft, QSize ownerClient, QSize window);
QPoint centreIn(const QRect &workArea, QSize window);

// -- On real windows --

int windowStateCode(const QWidget *window);  // 0 normal, 1 minimised, 2 maximised
QRect workAreaOf(const QWidget *window);      // available geometry of the window's screen
QSize screenSizeOf(const QWidget *window);

// Writes the window's state, the screen size and its normal bounds, then the extra values.
void SaveWindowPlacement(IniFile &ini, const QWidget *window, const QString &section,
                         const QList<ExtraValue> &extras = {});
// Applies a saved placement (see decidePlacement); a maximised one sets the normal bounds and
// maximises; otherwise a main window is centred in the work area. Then reads the extra values.
// Returns whether the saved placement was used.
bool LoadWindowPlacement(const IniFile &ini, QWidget *window, const QString &section, QList<ExtraValue> &extras,
                         bool isMainWindow = false);

// The main window's size before its saved placement is read: 7/8 of the work area, centred.
QRect defaultMainWindowBounds(const QRect &workArea);
void setDefaultMainWindowPlacement(QWidget *mainWindow);

void KeepOnScreen(QWidget *window, bool flip);
// Centres the window over its owner, or in the work area when there is none.
void CentreOverWindow(const QWidget *owner, QWidget *window);

}  // namespace vl
