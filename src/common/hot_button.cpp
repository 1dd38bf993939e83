#include "common/hot_button.h"

#include <QBitmap>
#include <QEnterEvent>
#include <QPainter>
#include <QPainterPath>

namespace vl {

namespace {

constexpr qreal kCornerRadius = 3.0;

QPainterPath framePath(const QRectF &r, TBV_hotButton::Corners corners) {
  const qreal k = kCornerRadius;
  QPainterPath path;
  auto corner = [&](TBV_hotButton::Corner c) { return corners.testFlag(c) ? k : 0.0; };
  const qreal tl = corner(TBV_hotButton::TopLeft), tr = corner(TBV_hotButton::TopRight);
  const qreal bl = corner(TBV_hotButton::BottomLeft), br = corner(TBV_hotButton::BottomRight);
  path.moveTo(r.left() + tl, r.top());
  path.lineTo(r.right() - tr, r.top());
  if (tr > 0) path.quadTo(r.topRight(), QPointF(r.right(), r.top() + tr));
  path.lineTo(r.right(), r.bottom() - br);
  if (br > 0) path.quadTo(r.bottomRight(), QPointF(r.right() - br, r.bottom()));
  path.lineTo(r.left() + bl, r.bottom());
  if (bl > 0) path.quadTo(r.bottomLeft(), QPointF(r.left(), r.bottom() - bl));
  path.lineTo(r.left(), r.top() + tl);
  if (tl > 0) path.quadTo(r.topLeft(), QPointF(r.left() + tl, r.top()));
  path.closeSubpath();
  return path;
}

QPixmap silhouette(const QPixmap &glyph, const QColor &colour) {
  QImage img = glyph.toImage().convertToFormat(QImage::Format_ARGB32);
  for (int y = 0; y < img.height(); ++y) {
    auto *line = reinterpret_cast<QRgb *>(img.scanLine(y));
    for (int x = 0; x < img.width(); ++x)
      line[x] = qRgba(colour.red(), colour.green(), colour.blue(), qAlpha(line[x]));
  }
  QPixmap out = QPixmap::fromImage(img);
  out.setDevicePixelRatio(glyph.devicePixelRatio());
  return out;
}

}  // namespace

TBV_hotButton::TBV_hotButton(QWidget *parent) : QAbstractButton(parent) {
  resize(19, 19);
  setCursor(Qt::PointingHandCursor);
  setFocusPolicy(Qt::NoFocus);
  setAttribute(Qt::WA_Hover);
}

void TBV_hotButton::setGlyph(const QPixmap &pixmap) { glyph_ = pixmap; updateGeometry(); update(); }
void TBV_hotButton::setDisabledGlyph(const QPixmap &pixmap) { disabledGlyph_ = pixmap; update(); }
void TBV_hotButton::setHotStyle(bool on) { hotStyle_ = on; update(); }
void TBV_hotButton::setMonoGlyphInHotStyle(bool on) { mono_ = on; update(); }
void TBV_hotButton::setTransparent(bool on) { transparent_ = on; setAttribute(Qt::WA_TranslucentBackground, on); update(); }
void TBV_hotButton::setTransparentGlyph(bool on) { transparentGlyph_ = on; update(); }
void TBV_hotButton::setRoundCorners(Corners corners) { corners_ = corners; update(); }
void TBV_hotButton::setHeldDown(bool down) { heldDown_ = down; update(); }

QSize TBV_hotButton::sizeHint() const {
  if (glyph_.isNull()) return QSize(19, 19);
  const QSize g = glyph_.deviceIndependentSize().toSize();
  return QSize(qMax(19, g.width() + 6), qMax(19, g.height() + 6));
}

TBV_hotButton::GlyphLook TBV_hotButton::glyphLook() const {
  if (hotStyle_) {
    if (mono_ && !hot_) return isEnabled() ? GlyphLook::DarkSilhouette : GlyphLook::GraySilhouette;
    return GlyphLook::Colour;
  }
  if (!isEnabled() && !disabledGlyph_.isNull()) return GlyphLook::DisabledPicture;
  return GlyphLook::Colour;
}

TBV_hotButton::FrameLook TBV_hotButton::frameLook() const {
  const bool pressed = heldDown_ || (isDown() && isEnabled());
  if (hotStyle_ && !hot_ && !heldDown_) return FrameLook::None;
  return pressed ? FrameLook::Lowered : FrameLook::Raised;
}

QPixmap TBV_hotButton::preparedGlyph(const QPixmap &source) const {
  if (source.isNull() || !transparentGlyph_ || source.hasAlphaChannel()) return source;
  const QImage img = source.toImage();
  const QRgb key = img.pixel(0, img.height() - 1);
  QPixmap out = source;
  out.setMask(QBitmap::fromImage(img.createMaskFromColor(key, Qt::MaskInColor)));
  return out;
}

void TBV_hotButton::paintEvent(QPaintEvent *) {
  QPainter p(this);
  p.setRenderHint(QPainter::Antialiasing, false);
  const QPalette pal = palette();
  const QRectF frameRect = QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5);
  const QPainterPath path = framePath(frameRect, corners_);
  if (!transparent_) {
    p.setRenderHint(QPainter::Antialiasing, true);
    p.fillPath(path, pal.color(QPalette::Button));
  }

  const FrameLook frame = frameLook();
  if (frame != FrameLook::None) {
    p.setRenderHint(QPainter::Antialiasing, true);
    const QColor light = pal.color(QPalette::Light), dark = pal.color(QPalette::Dark);
    // Raised: light top-left edge, dark bottom-right edge; lowered the other way round.
    const QColor topLeft = frame == FrameLook::Raised ? light : dark;
    const QColor bottomRight = frame == FrameLook::Raised ? dark : light;
    p.save();
    p.setClipRect(QRectF(0, 0, width(), height()));
    QLinearGradient edge(rect().topLeft(), rect().bottomRight());
    edge.setColorAt(0.0, topLeft);
    edge.setColorAt(0.49, topLeft);
    edge.setColorAt(0.51, bottomRight);
    edge.setColorAt(1.0, bottomRight);
    p.setPen(QPen(QBrush(edge), 1.0));
    p.setBrush(Qt::NoBrush);
    p.drawPath(path);
    p.restore();
  }

  const GlyphLook look = glyphLook();
  QPixmap pic = preparedGlyph(look == GlyphLook::DisabledPicture ? disabledGlyph_ : glyph_);
  if (pic.isNull()) return;
  if (look == GlyphLook::DarkSilhouette) pic = silhouette(pic, pal.color(QPalette::Active, QPalette::ButtonText));
  if (look == GlyphLook::GraySilhouette) pic = silhouette(pic, pal.color(QPalette::Dark));
  const QSize size = pic.deviceIndependentSize().toSize();
  QPoint at((width() - size.width()) / 2, (height() - size.height()) / 2);
  if (frame == FrameLook::Lowered) at += QPoint(1, 1);
  p.setRenderHint(QPainter::Antialiasing, false);
  p.drawPixmap(at, pic);
}

void TBV_hotButton::setHot(bool hot) {
  hot = hot && isEnabled();
  if (hot == hot_) return;
  hot_ = hot;
  update();
}

void TBV_hotButton::enterEvent(QEnterEvent *event) {
  setHot(true);
  QAbstractButton::enterEvent(event);
}

void TBV_hotButton::leaveEvent(QEvent *event) {
  setHot(false);
  QAbstractButton::leaveEvent(event);
}

void TBV_hotButton::changeEvent(QEvent *event) {
  if (event->type() == QEvent::EnabledChange) {
    if (!isEnabled()) setHot(false);
    update();
  }
  QAbstractButton::changeEvent(event);
}

}  // namespace vl
