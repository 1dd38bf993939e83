#include "common/link_label.h"

#include <QMouseEvent>
#include <QPainter>

namespace vl {

namespace {
constexpr int kTextFlags = Qt::TextShowMnemonic | Qt::TextSingleLine;
}

TBV_LinkLabel::TBV_LinkLabel(QWidget *parent) : QWidget(parent) {
  setMouseTracking(true);
  setAttribute(Qt::WA_TranslucentBackground);
  setAutoFillBackground(false);
}

TBV_LinkLabel::TBV_LinkLabel(const QString &text, QWidget *parent) : TBV_LinkLabel(parent) { setText(text); }

void TBV_LinkLabel::setText(const QString &text) {
  text_ = text;
  textRect_ = computeTextRect();
  updateGeometry();
  update();
}

void TBV_LinkLabel::setAlignment(Qt::Alignment alignment) {
  alignment_ = alignment;
  update();
}

void TBV_LinkLabel::setColorEnabled(const QColor &c) { colorEnabled_ = c; update(); }
void TBV_LinkLabel::setColorDisabled(const QColor &c) { colorDisabled_ = c; update(); }
void TBV_LinkLabel::setColorHot(const QColor &c) { colorHot_ = c; update(); }
void TBV_LinkLabel::setAlwaysUnderline(bool on) { alwaysUnderline_ = on; update(); }

void TBV_LinkLabel::setTextMargin(int pixels) {
  margin_ = pixels;
  updateGeometry();
  update();
}

QRect TBV_LinkLabel::computeTextRect() const {
  const QRect area = contentsRect().adjusted(margin_, 0, 0, 0);
  return fontMetrics().boundingRect(area, int(alignment_) | kTextFlags, text_);
}

QSize TBV_LinkLabel::sizeHint() const {
  const QSize text = fontMetrics().size(kTextFlags, text_);
  const QMargins m = contentsMargins();
  return QSize(text.width() + margin_ + m.left() + m.right(), text.height() + m.top() + m.bottom());
}

QSize TBV_LinkLabel::minimumSizeHint() const { return sizeHint(); }

void TBV_LinkLabel::paintEvent(QPaintEvent *) {
  QPainter p(this);
  QFont f = font();
  f.setUnderline(hot_ || alwaysUnderline_);
  p.setFont(f);
  p.setPen(!isEnabled() ? colorDisabled_ : hot_ ? colorHot_ : colorEnabled_);
  const QRect area = contentsRect().adjusted(margin_, 0, 0, 0);
  p.drawText(area, int(alignment_) | kTextFlags, text_, &textRect_);
}

void TBV_LinkLabel::setHot(bool hot) {
  hot = hot && isEnabled();
  if (hot == hot_) return;
  hot_ = hot;
  if (hot_)
    setCursor(Qt::PointingHandCursor);
  else
    setCursor(Qt::ArrowCursor);
  update();
}

void TBV_LinkLabel::mouseMoveEvent(QMouseEvent *event) {
  if (textRect_.isNull()) textRect_ = computeTextRect();
  setHot(textRect_.contains(event->position().toPoint()));
  QWidget::mouseMoveEvent(event);
}

void TBV_LinkLabel::mousePressEvent(QMouseEvent *event) {
  pressed_ = event->button() == Qt::LeftButton;
  QWidget::mousePressEvent(event);
}

void TBV_LinkLabel::mouseReleaseEvent(QMouseEvent *event) {
  const bool click = pressed_ && event->button() == Qt::LeftButton && rect().contains(event->position().toPoint());
  pressed_ = false;
  QWidget::mouseReleaseEvent(event);
  if (click) emit clicked();
}

void TBV_LinkLabel::leaveEvent(QEvent *event) {
  setHot(false);
  QWidget::leaveEvent(event);
}

void TBV_LinkLabel::resizeEvent(QResizeEvent *event) {
  textRect_ = computeTextRect();
  QWidget::resizeEvent(event);
}

void TBV_LinkLabel::changeEvent(QEvent *event) {
  if (event->type() == QEvent::EnabledChange) {
    setHot(false);
    if (!isEnabled()) setCursor(Qt::ArrowCursor);
    update();
  } else if (event->type() == QEvent::FontChange) {
    textRect_ = computeTextRect();
    updateGeometry();
  }
  QWidget::changeEvent(event);
}

}  // namespace vl
