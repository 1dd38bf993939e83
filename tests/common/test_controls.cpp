#include <gtest/gtest.h>

#include "support/qt_printers.h"

#include <QEnterEvent>
#include <QHBoxLayout>
#include <QPainter>
#include <QSignalSpy>
#include <QTest>
#include <QVBoxLayout>

#include "common/hot_button.h"
#include "common/link_label.h"
#include "common/panel_gradient.h"
#include "support/qt_application.h"
#include "support/render.h"

using namespace vl;

namespace {

void sendEnter(QWidget &w) {
  QEnterEvent e(QPointF(w.width() / 2.0, w.height() / 2.0), QPointF(), QPointF());
  QCoreApplication::sendEvent(&w, &e);
}

void sendLeave(QWidget &w) {
  QEvent e(QEvent::Leave);
  QCoreApplication::sendEvent(&w, &e);
}

// Counts pixels close to a colour.
int pixelsLike(const QImage &img, const QColor &c, int tolerance = 40) {
  int n = 0;
  for (int y = 0; y < img.height(); ++y)
    for (int x = 0; x < img.width(); ++x) {
      const QColor p = img.pixelColor(x, y);
      if (qAbs(p.red() - c.red()) + qAbs(p.green() - c.green()) + qAbs(p.blue() - c.blue()) <= tolerance) ++n;
    }
  return n;
}

// An arrow picture on a magenta key colour, without alpha, as bitmap glyphs come.
QPixmap arrowGlyph() {
  QImage img(11, 11, QImage::Format_RGB32);
  img.fill(QColor(255, 0, 255));
  QPainter p(&img);
  p.setPen(Qt::NoPen);
  p.setBrush(QColor(0, 160, 0));
  const QPoint arrow[] = {{2, 5}, {7, 1}, {7, 4}, {10, 4}, {10, 6}, {7, 6}, {7, 9}};
  p.drawPolygon(arrow, 7);
  p.end();
  return QPixmap::fromImage(img);
}

}  // namespace

class Controls : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { vltest::application(); }
};

TEST_F(Controls, LinkLabelDefaults) {
  TBV_LinkLabel label("Conteúdo");
  EXPECT_EQ(label.colorEnabled(), QColor(Qt::blue));
  EXPECT_EQ(label.colorDisabled(), QColor(Qt::gray));
  EXPECT_EQ(label.colorHot(), QColor(Qt::blue));
  EXPECT_FALSE(label.alwaysUnderline());
  EXPECT_EQ(label.textMargin(), 0);
  EXPECT_EQ(label.property("ColorEnabled").value<QColor>(), QColor(Qt::blue));
  EXPECT_TRUE(label.setProperty("Margin", 6));
  EXPECT_EQ(label.textMargin(), 6);
}

TEST_F(Controls, LinkLabelIsHotOnlyOverItsText) {
  TBV_LinkLabel label("Favoritos");
  label.setTextMargin(10);
  label.setColorEnabled(QColor(0, 0, 200));
  label.setColorHot(QColor(220, 0, 0));
  label.resize(200, 24);
  label.show();
  const QImage cold = vltest::render(label, "link_label_cold");
  const QRect text = label.textRect();
  ASSERT_FALSE(text.isEmpty());
  EXPECT_GE(text.left(), 10);  // shifted by the margin
  EXPECT_LT(text.right(), 150);

  struct Move { QPoint at; bool hot; } moves[] = {
      {text.center(), true},
      {QPoint(text.right() + 20, text.center().y()), false},  // inside the control, beside the text
      {QPoint(text.left() + 1, text.center().y()), true},
      {QPoint(3, text.center().y()), false},  // in the margin
  };
  for (const Move &m : moves) {
    QTest::mouseMove(&label, m.at);
    EXPECT_EQ(label.isHot(), m.hot) << m.at.x();
    EXPECT_EQ(label.cursor().shape(), m.hot ? Qt::PointingHandCursor : Qt::ArrowCursor) << m.at.x();
  }
  QTest::mouseMove(&label, text.center());
  ASSERT_TRUE(label.isHot());
  const QImage hot = vltest::render(label, "link_label_hot");
  EXPECT_EQ(pixelsLike(cold, QColor(220, 0, 0)), 0);
  EXPECT_GT(pixelsLike(hot, QColor(220, 0, 0)), 10);
  EXPECT_EQ(pixelsLike(hot, QColor(0, 0, 200)), 0);
  // Underlined while hot: a row below the glyphs is mostly in the text colour.
  EXPECT_GT(pixelsLike(hot.copy(text), QColor(220, 0, 0)), pixelsLike(cold.copy(text), QColor(0, 0, 200)));

  sendLeave(label);
  EXPECT_FALSE(label.isHot());
  QTest::mouseMove(&label, text.center());
  label.setEnabled(false);
  EXPECT_FALSE(label.isHot());
  EXPECT_EQ(label.cursor().shape(), Qt::ArrowCursor);
  const QImage disabled = vltest::render(label, "link_label_disabled");
  EXPECT_GT(pixelsLike(disabled, QColor(Qt::gray), 30), 10);
  EXPECT_EQ(pixelsLike(disabled, QColor(220, 0, 0)), 0);
}

TEST_F(Controls, LinkLabelClicks) {
  TBV_LinkLabel label("Sair");
  label.resize(100, 20);
  label.show();
  QSignalSpy clicked(&label, &TBV_LinkLabel::clicked);
  QTest::mouseClick(&label, Qt::LeftButton, {}, QPoint(80, 10));
  QTest::mouseClick(&label, Qt::RightButton, {}, QPoint(5, 10));
  EXPECT_EQ(clicked.count(), 1);
  label.setEnabled(false);
  QTest::mouseClick(&label, Qt::LeftButton, {}, QPoint(5, 10));
  EXPECT_EQ(clicked.count(), 1);
}

TEST_F(Controls, LinkLabelAlwaysUnderline) {
  TBV_LinkLabel plain("Link"), underlined("Link");
  underlined.setAlwaysUnderline(true);
  for (TBV_LinkLabel *l : {&plain, &underlined}) {
    l->resize(80, 22);
    l->setColorEnabled(QColor(0, 0, 200));
    l->show();
  }
  const int a = pixelsLike(vltest::render(plain), QColor(0, 0, 200));
  const int b = pixelsLike(vltest::render(underlined, "link_label_underlined"), QColor(0, 0, 200));
  EXPECT_GT(b, a);
}

TEST_F(Controls, PanelGradientFillsBetweenTheColours) {
  TBv_PanelGradient panel;
  EXPECT_EQ(panel.fillMode(), TBv_PanelGradient::Fill::Vertical);
  EXPECT_EQ(panel.textLayout(), TBv_PanelGradient::TextLayout::Center);
  EXPECT_EQ(panel.colorInitial(), panel.palette().color(QPalette::Dark));
  EXPECT_EQ(panel.colorFinal(), panel.palette().color(QPalette::Button));
  panel.setColorInitial(QColor(192, 220, 192));
  panel.setColorFinal(QColor(255, 255, 255));
  panel.setBevelOuter(TBv_PanelGradient::Bevel::None);
  panel.resize(120, 60);
  struct Case { TBv_PanelGradient::Fill fill; QPoint start, end; const char *name; } cases[] = {
      {TBv_PanelGradient::Fill::Vertical, {60, 0}, {60, 59}, "panel_vertical"},
      {TBv_PanelGradient::Fill::Horizontal, {0, 30}, {119, 30}, "panel_horizontal"},
  };
  for (const Case &c : cases) {
    panel.setFillMode(c.fill);
    const QImage img = vltest::render(panel, c.name);
    EXPECT_EQ(pixelsLike(img.copy(QRect(c.start, QSize(1, 1))), QColor(192, 220, 192), 12), 1) << c.name;
    EXPECT_EQ(pixelsLike(img.copy(QRect(c.end, QSize(1, 1))), QColor(255, 255, 255), 12), 1) << c.name;
    // Across the fill direction the colour does not change.
    const QPoint across = c.fill == TBv_PanelGradient::Fill::Vertical ? QPoint(10, 30) : QPoint(60, 5);
    const QPoint across2 = c.fill == TBv_PanelGradient::Fill::Vertical ? QPoint(110, 30) : QPoint(60, 55);
    EXPECT_EQ(img.pixel(across), img.pixel(across2)) << c.name;
  }
  panel.setColorFinal(QColor(192, 220, 192));
  const QImage plain = vltest::render(panel);
  EXPECT_EQ(pixelsLike(plain, QColor(192, 220, 192), 0), 120 * 60);
}

TEST_F(Controls, PanelGradientBevelsAndBorder) {
  TBv_PanelGradient panel;
  panel.resize(100, 40);
  struct Case { TBv_PanelGradient::Bevel outer, inner; int border; TBv_PanelGradient::Border style; int inset; } cases[] = {
      {TBv_PanelGradient::Bevel::Raised, TBv_PanelGradient::Bevel::None, 0, TBv_PanelGradient::Border::None, 1},
      {TBv_PanelGradient::Bevel::None, TBv_PanelGradient::Bevel::None, 0, TBv_PanelGradient::Border::Single, 1},
      {TBv_PanelGradient::Bevel::Raised, TBv_PanelGradient::Bevel::Lowered, 2, TBv_PanelGradient::Border::None, 4},
      {TBv_PanelGradient::Bevel::None, TBv_PanelGradient::Bevel::None, 0, TBv_PanelGradient::Border::None, 0},
  };
  for (const Case &c : cases) {
    panel.setBevelOuter(c.outer);
    panel.setBevelInner(c.inner);
    panel.setBorderWidth(c.border);
    panel.setBorderStyle(c.style);
    EXPECT_EQ(panel.gradientRect(), panel.rect().adjusted(c.inset, c.inset, -c.inset, -c.inset)) << c.inset;
  }
  panel.setBevelOuter(TBv_PanelGradient::Bevel::Raised);
  panel.setBevelInner(TBv_PanelGradient::Bevel::Lowered);
  panel.setBorderWidth(2);
  panel.setColor(QColor(200, 0, 0));
  panel.setColorInitial(QColor(0, 0, 255));
  panel.setColorFinal(QColor(0, 0, 255));
  const QImage img = vltest::render(panel, "panel_bevels");
  EXPECT_EQ(img.pixel(0, 20), panel.palette().color(QPalette::Light).rgb());   // raised outer: light left edge
  EXPECT_EQ(img.pixel(99, 20), panel.palette().color(QPalette::Dark).rgb());   // dark right edge
  EXPECT_EQ(img.pixel(1, 20), qRgb(200, 0, 0));                        // the border in the panel colour
  EXPECT_EQ(img.pixel(3, 20), panel.palette().color(QPalette::Dark).rgb());    // lowered inner: dark left edge
  EXPECT_EQ(img.pixel(50, 20), qRgb(0, 0, 255));
}

TEST_F(Controls, PanelGradientCaptionPlacement) {
  TBv_PanelGradient panel;
  panel.setBevelOuter(TBv_PanelGradient::Bevel::None);
  panel.setCaption("Sinalização de regulamentação");
  panel.resize(300, 80);
  panel.setTextMargin(12);
  struct Case { Qt::Alignment align; TBv_PanelGradient::TextLayout layout; QRect expected; int vflag; } cases[] = {
      {Qt::AlignLeft, TBv_PanelGradient::TextLayout::Top, QRect(12, 0, 288, 80), Qt::AlignTop},
      {Qt::AlignRight, TBv_PanelGradient::TextLayout::Bottom, QRect(0, 0, 288, 80), Qt::AlignBottom},
      {Qt::AlignHCenter, TBv_PanelGradient::TextLayout::Center, QRect(12, 0, 276, 80), Qt::AlignVCenter},
  };
  for (const Case &c : cases) {
    panel.setAlignment(c.align);
    panel.setTextLayout(c.layout);
    int flags = 0;
    EXPECT_EQ(panel.captionRect(&flags), c.expected);
    EXPECT_TRUE(flags & c.vflag);
    EXPECT_TRUE(flags & Qt::TextSingleLine);
  }
  // Word-wrapped text is measured and placed as a block.
  panel.resize(120, 200);
  panel.setWordWrap(true);
  panel.setAlignment(Qt::AlignHCenter);
  panel.setTextLayout(TBv_PanelGradient::TextLayout::Center);
  const QRect centred = panel.captionRect();
  EXPECT_GT(centred.height(), panel.fontMetrics().height());  // more than one line
  EXPECT_NEAR(centred.center().y(), 100, 2);
  panel.setTextLayout(TBv_PanelGradient::TextLayout::Bottom);
  EXPECT_EQ(panel.captionRect().bottom(), 199);
  panel.setTextLayout(TBv_PanelGradient::TextLayout::Top);
  EXPECT_EQ(panel.captionRect().top(), 0);

  // Rendered: the caption in the font colour over the gradient.
  TBv_PanelGradient title;
  title.setColorInitial(QColor(192, 220, 192));
  title.setColorFinal(Qt::white);
  title.setFontColor(Qt::black);
  title.setBevelOuter(TBv_PanelGradient::Bevel::None);
  title.setBorderStyle(TBv_PanelGradient::Border::Single);
  title.setAlignment(Qt::AlignLeft);
  title.setTextMargin(8);
  title.setEllipsis(TBv_PanelGradient::TextEllipsis::End);
  title.setCaption("Placas de advertência e regulamentação do trânsito brasileiro");
  title.resize(220, 28);
  const QImage img = vltest::render(title, "panel_title");
  EXPECT_GT(pixelsLike(img.copy(8, 2, 200, 24), Qt::black, 60), 20);
  EXPECT_EQ(pixelsLike(img.copy(2, 2, 5, 24), Qt::black, 60), 0);  // the margin stays clear
}

TEST_F(Controls, HotButtonStates) {
  TBV_hotButton button;
  EXPECT_EQ(button.size(), QSize(19, 19));
  EXPECT_EQ(button.cursor().shape(), Qt::PointingHandCursor);
  EXPECT_TRUE(button.hotStyle());
  EXPECT_TRUE(button.monoGlyphInHotStyle());
  EXPECT_FALSE(button.isTransparent());
  EXPECT_TRUE(button.transparentGlyph());
  EXPECT_EQ(button.roundCorners(), TBV_hotButton::AllCorners);
  EXPECT_TRUE(button.setProperty("MonoGlyphInHotSyle", false));
  EXPECT_FALSE(button.monoGlyphInHotStyle());
  button.setMonoGlyphInHotStyle(true);
  button.setGlyph(arrowGlyph());
  button.show();

  using G = TBV_hotButton::GlyphLook;
  using F = TBV_hotButton::FrameLook;
  EXPECT_EQ(button.glyphLook(), G::DarkSilhouette);
  EXPECT_EQ(button.frameLook(), F::None);
  sendEnter(button);
  EXPECT_TRUE(button.isHot());
  EXPECT_EQ(button.glyphLook(), G::Colour);
  EXPECT_EQ(button.frameLook(), F::Raised);
  button.setDown(true);
  EXPECT_EQ(button.frameLook(), F::Lowered);
  button.setDown(false);
  sendLeave(button);
  EXPECT_FALSE(button.isHot());
  EXPECT_EQ(button.frameLook(), F::None);
  button.setHeldDown(true);
  EXPECT_EQ(button.frameLook(), F::Lowered);
  button.setHeldDown(false);

  sendEnter(button);
  button.setEnabled(false);
  EXPECT_FALSE(button.isHot());
  EXPECT_EQ(button.glyphLook(), G::GraySilhouette);
  sendEnter(button);
  EXPECT_FALSE(button.isHot());  // never hot while disabled

  button.setHotStyle(false);
  EXPECT_EQ(button.glyphLook(), G::Colour);
  button.setDisabledGlyph(arrowGlyph());
  EXPECT_EQ(button.glyphLook(), G::DisabledPicture);
  button.setEnabled(true);
  EXPECT_EQ(button.glyphLook(), G::Colour);
  EXPECT_EQ(button.frameLook(), F::Raised);  // without hot style the frame is always there
}

TEST_F(Controls, HotButtonPaintsSilhouetteAndColour) {
  QWidget host;
  auto *layout = new QHBoxLayout(&host);
  TBV_hotButton cold, hot, pressed, disabled, plain;
  const char *names[] = {"cold", "hot", "pressed", "disabled", "plain"};
  int i = 0;
  for (TBV_hotButton *b : {&cold, &hot, &pressed, &disabled, &plain}) {
    b->setGlyph(arrowGlyph());
    b->setFixedSize(19, 19);
    b->setObjectName(names[i++]);
    layout->addWidget(b);
  }
  host.show();
  sendEnter(hot);
  sendEnter(pressed);
  pressed.setDown(true);
  disabled.setEnabled(false);
  plain.setHotStyle(false);
  vltest::render(host, "hot_buttons");

  const QColor green(0, 160, 0), magenta(255, 0, 255);
  struct Case { TBV_hotButton *button; bool colour; } cases[] = {
      {&cold, false}, {&hot, true}, {&pressed, true}, {&disabled, false}, {&plain, true},
  };
  for (const Case &c : cases) {
    const QImage img = vltest::render(*c.button, QStringLiteral("hot_button_") + c.button->objectName());
    EXPECT_EQ(pixelsLike(img, magenta, 30), 0) << c.button->objectName().toStdString();  // key colour is transparent
    if (c.colour)
      EXPECT_GT(pixelsLike(img, green, 30), 15) << c.button->objectName().toStdString();
    else
      EXPECT_EQ(pixelsLike(img, green, 30), 0) << c.button->objectName().toStdString();
  }
  // The cold silhouette is dark, the disabled one lighter.
  const QImage coldImg = vltest::render(cold), disabledImg = vltest::render(disabled);
  EXPECT_GT(pixelsLike(coldImg, cold.palette().color(QPalette::Active, QPalette::ButtonText), 30), 15);
  EXPECT_GT(pixelsLike(disabledImg, disabled.palette().color(QPalette::Dark), 30), 15);

  // Pressed shifts the picture one pixel right and down.
  TBV_hotButton a, b;
  for (TBV_hotButton *x : {&a, &b}) {
    x->setHotStyle(false);
    x->setGlyph(arrowGlyph());
    x->setFixedSize(19, 19);
  }
  b.setHeldDown(true);
  auto greenBox = [&](const QImage &img) {
    QRect box;
    for (int y = 0; y < img.height(); ++y)
      for (int x = 0; x < img.width(); ++x)
        if (pixelsLike(img.copy(x, y, 1, 1), green, 30)) box |= QRect(x, y, 1, 1);
    return box;
  };
  EXPECT_EQ(greenBox(vltest::render(b)).topLeft(), greenBox(vltest::render(a)).topLeft() + QPoint(1, 1));

  // Transparent: no button-colour background.
  TBV_hotButton see;
  see.setTransparent(true);
  see.setFixedSize(19, 19);
  QImage bg(19, 19, QImage::Format_ARGB32_Premultiplied);
  bg.fill(Qt::transparent);
  see.render(&bg, QPoint(), QRegion(), QWidget::DrawChildren);
  EXPECT_EQ(qAlpha(bg.pixel(9, 9)), 0);
}
