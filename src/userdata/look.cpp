#include "userdata/look.h"

#include <QAbstractScrollArea>
#include <QApplication>
#include <QFrame>
#include <QLayout>
#include <QStatusBar>
#include <QTabBar>
#include <QTabWidget>
#include <QToolBar>
#include <QToolButton>
#include <QToolTip>

#include "common/hot_button.h"
#include "common/panel_gradient.h"
#include "userdata/settings.h"

namespace vl {

namespace {

void paint(QWidget *w, const QColor &background, const QColor *text = nullptr) {
  if (!w) return;
  QPalette pal = w->palette();
  pal.setColor(QPalette::Window, background);
  pal.setColor(QPalette::Base, background);
  if (text) {
    pal.setColor(QPalette::WindowText, *text);
    pal.setColor(QPalette::Text, *text);
  }
  w->setPalette(pal);
  w->setAutoFillBackground(true);
  if (auto *area = qobject_cast<QAbstractScrollArea *>(w)) area->viewport()->setAutoFillBackground(true);
}

void setBorder(QWidget *w, bool border) {
  if (auto *frame = qobject_cast<QFrame *>(w)) frame->setFrameShape(border ? QFrame::StyledPanel : QFrame::NoFrame);
}

}  // namespace

LookColours lookColours(const Settings &s, const QPalette &system) {
  LookColours c;
  c.flat = s.flat;
  if (s.flat) {
    c.frame = s.colorBackValue();
    c.panel = s.colorPanelValue();
    c.window = s.colorWinValue();
    c.panelText = s.fontColorValue();
    c.gradientInitial = s.colorInitialPanelValue();
    c.gradientFinal = s.colorPanelValue();
    c.gradientText = s.fontColorValue();
    c.gradientBold = false;
  } else {
    c.frame = system.color(QPalette::Button);
    c.panel = system.color(QPalette::Button);
    c.window = system.color(QPalette::Base);
    c.panelText = system.color(QPalette::ButtonText);
    c.gradientInitial = system.color(QPalette::Dark);
    c.gradientFinal = system.color(QPalette::Button);
    c.gradientText = system.color(QPalette::HighlightedText);
    c.gradientBold = true;
  }
  return c;
}

int statusBarHeightFor(const QFont &hintFont) {
  return QFontMetrics(hintFont).boundingRect(QStringLiteral("Ãgç")).height() + 6;
}

void applyLookColours(const LookTargets &t, const LookColours &c) {
  const bool flat = c.flat;
  if (t.reapplyTextSize) t.reapplyTextSize();

  paint(t.mainWindow, c.frame);
  for (TBv_PanelGradient *p : t.panels) {
    p->setBevelOuter(flat ? TBv_PanelGradient::Bevel::None : TBv_PanelGradient::Bevel::Raised);
    p->setBorderStyle(flat ? TBv_PanelGradient::Border::Single : TBv_PanelGradient::Border::None);
    p->setColor(c.panel);
    p->setColorInitial(c.panel);
    p->setColorFinal(c.panel);
    p->setFontColor(c.panelText);
  }
  for (QWidget *w : t.plainPanels) {
    paint(w, c.panel, &c.panelText);
    if (auto *frame = qobject_cast<QFrame *>(w)) {
      frame->setFrameShape(flat ? QFrame::Box : QFrame::Panel);
      frame->setFrameShadow(flat ? QFrame::Plain : QFrame::Raised);
      frame->setLineWidth(1);
    }
  }
  for (TBv_PanelGradient *g : t.titleGradients) {
    g->setColorInitial(c.gradientInitial);
    g->setColorFinal(c.gradientFinal);
    g->setFontColor(c.gradientText);
    QFont f = g->font();
    f.setBold(c.gradientBold);
    g->setFont(f);
    g->setBevelOuter(flat ? TBv_PanelGradient::Bevel::None : TBv_PanelGradient::Bevel::Raised);
    g->setBorderStyle(flat ? TBv_PanelGradient::Border::Single : TBv_PanelGradient::Border::None);
  }
  for (QWidget *w : t.frameAreas) paint(w, c.frame);
  for (QWidget *w : t.textAreas) {
    paint(w, c.window);
    setBorder(w, !flat);
  }
  for (QWidget *w : t.windowPanels) paint(w, c.window);
  for (QWidget *w : t.invertedLabels) {
    const QColor text = c.window;
    paint(w, c.frame, &text);
  }
  for (QToolBar *bar : t.toolBars) {
    bar->setAutoFillBackground(!flat);
    for (QToolButton *b : bar->findChildren<QToolButton *>()) {
      if (flat)
        b->setCursor(Qt::PointingHandCursor);
      else
        b->unsetCursor();
      b->setAutoRaise(flat);
    }
  }
  for (TBV_hotButton *b : t.hotButtons) b->setHotStyle(flat);
  if (t.statusBar) {
    paint(t.statusBar, c.frame);
    const QFont hint = QToolTip::font();
    t.statusBar->setFont(hint);
    t.statusBar->setFixedHeight(statusBarHeightFor(hint));
  }
  for (QWidget *w : t.statusPanels) paint(w, c.panel, &c.panelText);
  if (t.leftPaneTabs) t.leftPaneTabs->tabBar()->setVisible(!flat);
  for (QWidget *w : t.pageLinks) w->setVisible(flat);
  for (const auto &window : t.otherWindows)
    if (window) window(!flat);
  if (t.mainWindow && t.mainWindow->layout()) t.mainWindow->layout()->activate();
}

void ApplyLook(const LookTargets &targets, const Settings &settings) {
  applyLookColours(targets, lookColours(settings, QApplication::palette()));
}

}  // namespace vl
