#pragma once
// The flat and 3-D looks of the main window and the windows it owns.
#include <QColor>
#include <QFont>
#include <QList>
#include <QPalette>

#include <functional>

class QStatusBar;
class QTabWidget;
class QToolBar;
class QWidget;

namespace vl {

struct Settings;
class TBV_hotButton;
class TBv_PanelGradient;

// The colours of one look: the configured ones in the flat look, the system's in the 3-D look.
struct LookColours {
  bool flat = true;
  QColor frame;      // frame, status bar, splitters
  QColor panel;      // panels, status panels
  QColor window;     // text windows, trees, grids, edit boxes
  QColor panelText;  // main panel font
  QColor gradientInitial, gradientFinal, gradientText;
  bool gradientBold = false;
};

LookColours lookColours(const Settings &settings, const QPalette &system);

// The height of the status bar for the hint font: the text "Ãgç" + 6 pixels.
int statusBarHeightFor(const QFont &hintFont);

// The widgets a look applies to; the main window fills in what it has.
struct LookTargets {
  QWidget *mainWindow = nullptr;                 // frame background; re-laid out at the end
  QList<TBv_PanelGradient *> panels;             // flat: no outer bevel, single border; 3-D: bevel, no border
  QList<QWidget *> plainPanels;                  // panels that are plain frames: same rule, panel colour
  QList<TBv_PanelGradient *> titleGradients;     // the title bar gradient
  QList<QWidget *> frameAreas;                   // splitters and other frame-coloured areas
  QList<QWidget *> textAreas;                    // trees, text viewers, grids, memo, search box; borderless when flat
  QList<QWidget *> windowPanels;                 // panels in the window colour (navigation buttons' panels)
  QList<QWidget *> invertedLabels;               // window colour on the frame colour (hot-image example name)
  QList<QToolBar *> toolBars;                    // hand cursor in the flat look
  QList<TBV_hotButton *> hotButtons;             // hot style in the flat look
  QStatusBar *statusBar = nullptr;               // frame colour, hint font, height
  QList<QWidget *> statusPanels;                 // message and gauge panels
  QTabWidget *leftPaneTabs = nullptr;            // tabs hidden in the flat look...
  QList<QWidget *> pageLinks;                    // ...where the page links are shown instead
  QList<std::function<void(bool threeD)>> otherWindows;  // dictionary, sign set, game, exam, ...
  std::function<void()> reapplyTextSize;
};

// Applies "Flat", the colours and the main panel font colour to the targets.
void ApplyLook(const LookTargets &targets, const Settings &settings);
// The same with explicit colours (and the system palette for the 3-D parts).
void applyLookColours(const LookTargets &targets, const LookColours &colours);

}  // namespace vl
