#include <gtest/gtest.h>

#include "support/qt_printers.h"

#include <QApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QStatusBar>
#include <QTabWidget>
#include <QTextEdit>
#include <QToolBar>
#include <QToolButton>
#include <QToolTip>
#include <QTreeView>
#include <QVBoxLayout>

#include "common/hot_button.h"
#include "common/link_label.h"
#include "common/panel_gradient.h"
#include "support/qt_application.h"
#include "support/render.h"
#include "userdata/look.h"
#include "userdata/settings.h"

using namespace vl;

namespace {

// A small window laid out like the main window's frame, with every kind of target.
struct Mock {
  QWidget window;
  TBv_PanelGradient *title = new TBv_PanelGradient;
  TBv_PanelGradient *leftPane = new TBv_PanelGradient;
  QTabWidget *tabs = new QTabWidget;
  QTreeView *tree = new QTreeView;
  QTextEdit *text = new QTextEdit;
  QToolBar *toolBar = new QToolBar;
  TBV_hotButton *hot = new TBV_hotButton;
  TBV_LinkLabel *link = new TBV_LinkLabel(QStringLiteral("Conteúdo"));
  QStatusBar *status = new QStatusBar;
  QLabel *statusMsg = new QLabel(QStringLiteral("Pronto"));
  int textSizeCalls = 0;
  bool otherThreeD = false;

  Mock() {
    auto *v = new QVBoxLayout(&window);
    toolBar->addAction(QStringLiteral("Voltar"));
    toolBar->addAction(QStringLiteral("Avançar"));
    v->addWidget(toolBar);
    title->setCaption(QStringLiteral("Placas de regulamentação"));
    title->setMinimumHeight(28);
    title->setAlignment(Qt::AlignLeft);
    title->setTextMargin(6);
    v->addWidget(title);
    auto *h = new QHBoxLayout;
    auto *left = new QVBoxLayout(leftPane);
    left->addWidget(link);
    tabs->addTab(tree, QStringLiteral("Conteúdo"));
    left->addWidget(tabs);
    left->addWidget(hot);
    h->addWidget(leftPane, 1);
    text->setPlainText(QStringLiteral("O condutor deve parar o veículo."));
    h->addWidget(text, 2);
    v->addLayout(h);
    status->addWidget(statusMsg, 1);
    v->addWidget(status);
    window.resize(480, 300);
  }

  LookTargets targets() {
    LookTargets t;
    t.mainWindow = &window;
    t.panels = {leftPane};
    t.titleGradients = {title};
    t.textAreas = {tree, text};
    t.toolBars = {toolBar};
    t.hotButtons = {hot};
    t.statusBar = status;
    t.statusPanels = {statusMsg};
    t.leftPaneTabs = tabs;
    t.pageLinks = {link};
    t.otherWindows = {[this](bool threeD) { otherThreeD = threeD; }};
    t.reapplyTextSize = [this] { ++textSizeCalls; };
    return t;
  }
};

}  // namespace

TEST(Look, ColoursOfBothLooks) {
  const QPalette system = QPalette(QColor(200, 200, 200));
  Settings s;
  s.colorBack = 0x0000FF;  // red
  s.fontColor = 0x00FF00;
  LookColours flat = lookColours(s, system);
  EXPECT_TRUE(flat.flat);
  EXPECT_EQ(flat.frame, QColor(255, 0, 0));
  EXPECT_EQ(flat.panel, QColor(Qt::white));
  EXPECT_EQ(flat.window, QColor(Qt::white));
  EXPECT_EQ(flat.panelText, QColor(0, 255, 0));
  EXPECT_EQ(flat.gradientInitial, QColor(192, 220, 192));
  EXPECT_EQ(flat.gradientFinal, QColor(Qt::white));
  EXPECT_FALSE(flat.gradientBold);
  s.flat = false;
  LookColours threeD = lookColours(s, system);
  EXPECT_FALSE(threeD.flat);
  EXPECT_EQ(threeD.frame, system.color(QPalette::Button));
  EXPECT_EQ(threeD.window, system.color(QPalette::Base));
  EXPECT_EQ(threeD.panelText, system.color(QPalette::ButtonText));
  EXPECT_EQ(threeD.gradientInitial, system.color(QPalette::Dark));
  EXPECT_TRUE(threeD.gradientBold);
}

TEST(Look, AppliesFlatAndThreeD) {
  vltest::application();
  Mock m;
  m.window.show();
  Settings s;
  ApplyLook(m.targets(), s);
  EXPECT_EQ(m.textSizeCalls, 1);
  EXPECT_EQ(m.leftPane->bevelOuter(), TBv_PanelGradient::Bevel::None);
  EXPECT_EQ(m.leftPane->borderStyle(), TBv_PanelGradient::Border::Single);
  EXPECT_EQ(m.title->colorInitial(), QColor(192, 220, 192));
  EXPECT_EQ(m.title->colorFinal(), QColor(Qt::white));
  EXPECT_FALSE(m.title->font().bold());
  EXPECT_EQ(m.window.palette().color(QPalette::Window), QColor(175, 211, 175));
  EXPECT_EQ(m.tree->palette().color(QPalette::Base), QColor(Qt::white));
  EXPECT_EQ(m.text->frameShape(), QFrame::NoFrame);
  EXPECT_TRUE(m.hot->hotStyle());
  EXPECT_FALSE(m.tabs->tabBar()->isVisible());
  EXPECT_TRUE(m.link->isVisible());
  EXPECT_FALSE(m.otherThreeD);
  for (QToolButton *b : m.toolBar->findChildren<QToolButton *>())
    if (b->isVisible()) {
      EXPECT_EQ(b->cursor().shape(), Qt::PointingHandCursor);
    }
  EXPECT_EQ(m.status->height(), statusBarHeightFor(QToolTip::font()));
  EXPECT_EQ(statusBarHeightFor(QToolTip::font()), QFontMetrics(QToolTip::font()).boundingRect("Ãgç").height() + 6);
  const QImage flatImage = vltest::render(m.window, "look_flat");
  EXPECT_EQ(QColor(flatImage.pixel(2, m.window.height() / 2)), QColor(175, 211, 175));

  s.flat = false;
  ApplyLook(m.targets(), s);
  const QPalette system = QApplication::palette();
  EXPECT_EQ(m.leftPane->bevelOuter(), TBv_PanelGradient::Bevel::Raised);
  EXPECT_EQ(m.leftPane->borderStyle(), TBv_PanelGradient::Border::None);
  EXPECT_EQ(m.title->colorInitial(), system.color(QPalette::Dark));
  EXPECT_TRUE(m.title->font().bold());
  EXPECT_EQ(m.window.palette().color(QPalette::Window), system.color(QPalette::Button));
  EXPECT_EQ(m.text->frameShape(), QFrame::StyledPanel);
  EXPECT_FALSE(m.hot->hotStyle());
  EXPECT_TRUE(m.tabs->tabBar()->isVisible());
  EXPECT_FALSE(m.link->isVisible());
  EXPECT_TRUE(m.otherThreeD);
  for (QToolButton *b : m.toolBar->findChildren<QToolButton *>())
    if (b->isVisible()) {
      EXPECT_EQ(b->cursor().shape(), Qt::ArrowCursor);
    }
  vltest::render(m.window, "look_3d");
}
