#include "common/panel_gradient.h"

#include <QLinearGradient>
#include <QPainter>

namespace vl {

namespace {

void drawBevel(QPainter &p, QRect &r, TBv_PanelGradient::Bevel bevel, int width, const QPalette &pal) {
  if (bevel == TBv_PanelGradient::Bevel::None) return;
  const QColor light = pal.color(QPalette::Light);
  const QColor dark = pal.color(QPalette::Dark);
  const QColor topLeft = bevel == TBv_PanelGradient::Bevel::Raised ? light : dark;
  const QColor bottomRight = bevel == TBv_PanelGradient::Bevel::Raised ? dark : light;
  for (int i = 0; i < width && r.width() > 1 && r.height() > 1; ++i) {
    p.setPen(topLeft);
    p.drawLine(r.topLeft(), r.topRight());
    p.drawLine(r.topLeft(), r.bottomLeft());
    p.setPen(bottomRight);
    p.drawLine(r.bottomLeft(), r.bottomRight());
    p.drawLine(r.topRight(), r.bottomRight());
    r.adjust(1, 1, -1, -1);
  }
}

int bevelSize(TBv_PanelGradient::Bevel b, int width) { return b == TBv_PanelGradient::Bevel::None ? 0 : width; }

}  // namespace

TBv_PanelGradient::TBv_PanelGradient(QWidget *parent) : QWidget(parent) {
  const QPalette pal = palette();
  colorInitial_ = pal.color(QPalette::Dark);
  colorFinal_ = pal.color(QPalette::Button);
  color_ = pal.color(QPalette::Button);
  fontColor_ = pal.color(QPalette::ButtonText);
}

void TBv_PanelGradient::setCaption(const QString &caption) { caption_ = caption; update(); }
void TBv_PanelGradient::setColorInitial(const QColor &c) { colorInitial_ = c; update(); }
void TBv_PanelGradient::setColorFinal(const QColor &c) { colorFinal_ = c; update(); }
void TBv_PanelGradient::setFillMode(Fill mode) { fill_ = mode; update(); }
void TBv_PanelGradient::setTextLayout(TextLayout layout) { layout_ = layout; update(); }
void TBv_PanelGradient::setEllipsis(TextEllipsis e) { ellipsis_ = e; update(); }
void TBv_PanelGradient::setWordWrap(bool on) { wordWrap_ = on; update(); }
void TBv_PanelGradient::setTextMargin(int pixels) { textMargin_ = qMax(0, pixels); update(); }
void TBv_PanelGradient::setAlignment(Qt::Alignment a) { alignment_ = a & Qt::AlignHorizontal_Mask; update(); }
void TBv_PanelGradient::setBevelOuter(Bevel b) { bevelOuter_ = b; update(); }
void TBv_PanelGradient::setBevelInner(Bevel b) { bevelInner_ = b; update(); }
void TBv_PanelGradient::setBevelWidth(int w) { bevelWidth_ = qMax(1, w); update(); }
void TBv_PanelGradient::setBorderWidth(int w) { borderWidth_ = qMax(0, w); update(); }
void TBv_PanelGradient::setBorderStyle(Border b) { borderStyle_ = b; update(); }
void TBv_PanelGradient::setColor(const QColor &c) { color_ = c; update(); }
void TBv_PanelGradient::setFontColor(const QColor &c) { fontColor_ = c; update(); }

QRect TBv_PanelGradient::gradientRect() const {
  const int single = borderStyle_ == Border::Single ? 1 : 0;
  const int inset = single + bevelSize(bevelOuter_, bevelWidth_) + borderWidth_ + bevelSize(bevelInner_, bevelWidth_);
  return rect().adjusted(inset, inset, -inset, -inset);
}

QRect TBv_PanelGradient::captionRect(int *flags) const {
  QRect area = gradientRect();
  const Qt::Alignment h = alignment_ & Qt::AlignHorizontal_Mask;
  if (h & Qt::AlignLeft)
    area.adjust(textMargin_, 0, 0, 0);
  else if (h & Qt::AlignRight)
    area.adjust(0, 0, -textMargin_, 0);
  else
    area.adjust(textMargin_, 0, -textMargin_, 0);
  int f = int(h ? h : Qt::AlignHCenter);
  if (wordWrap_) {
    f |= Qt::TextWordWrap;
    // Measure the block first, then place it.
    const QRect block = fontMetrics().boundingRect(QRect(0, 0, qMax(1, area.width()), 100000), f, caption_);
    const int hgt = qMin(block.height(), area.height());
    if (layout_ == TextLayout::Center)
      area = QRect(area.left(), area.top() + (area.height() - hgt) / 2, area.width(), hgt);
    else if (layout_ == TextLayout::Bottom)
      area = QRect(area.left(), area.bottom() - hgt + 1, area.width(), hgt);
    f |= Qt::AlignTop;
  } else {
    f |= Qt::TextSingleLine;
    f |= layout_ == TextLayout::Top ? Qt::AlignTop : layout_ == TextLayout::Bottom ? Qt::AlignBottom : Qt::AlignVCenter;
  }
  if (flags) *flags = f;
  return area;
}

QSize TBv_PanelGradient::sizeHint() const {
  const QSize text = fontMetrics().size(Qt::TextSingleLine, caption_);
  const int frame = rect().width() - gradientRect().width();
  return QSize(text.width() + 2 * textMargin_ + frame + 8, text.height() + frame + 6);
}

void TBv_PanelGradient::paintEvent(QPaintEvent *) {
  QPainter p(this);
  QRect r = rect();
  const QPalette pal = palette();
  if (borderStyle_ == Border::Single) {
    p.setPen(pal.color(QPalette::Shadow));
    p.setBrush(Qt::NoBrush);
    p.drawRect(r.adjusted(0, 0, -1, -1));
    r.adjust(1, 1, -1, -1);
  }
  drawBevel(p, r, bevelOuter_, bevelWidth_, pal);
  if (borderWidth_ > 0) {
    p.fillRect(r, color_);
    r.adjust(borderWidth_, borderWidth_, -borderWidth_, -borderWidth_);
  }
  drawBevel(p, r, bevelInner_, bevelWidth_, pal);

  const QRect fillArea = gradientRect();
  if (colorInitial_ == colorFinal_) {
    p.fillRect(fillArea, colorInitial_);
  } else {
    const QPointF end = fill_ == Fill::Vertical ? QPointF(fillArea.left(), fillArea.bottom() + 1)
                                                : QPointF(fillArea.right() + 1, fillArea.top());
    QLinearGradient g(fillArea.topLeft(), end);
    g.setColorAt(0, colorInitial_);
    g.setColorAt(1, colorFinal_);
    p.fillRect(fillArea, g);
  }

  if (caption_.isEmpty()) return;
  int flags = 0;
  const QRect area = captionRect(&flags);
  QString text = caption_;
  if (ellipsis_ == TextEllipsis::End && !wordWrap_) text = fontMetrics().elidedText(caption_, Qt::ElideRight, area.width());
  p.setClipRect(fillArea);
  p.setFont(font());
  p.setPen(fontColor_);
  p.drawText(area, flags, text);
}

}  // namespace vl
