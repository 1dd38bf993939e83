#pragma once
// A flat picture button: in hot style it shows a frame only while the pointer is over it and its
// picture as a one-colour silhouette until then.
#include <QAbstractButton>
#include <QPixmap>

namespace vl {

class TBV_hotButton : public QAbstractButton {
  Q_OBJECT
 public:
  enum Corner { TopLeft = 0x1, TopRight = 0x2, BottomLeft = 0x4, BottomRight = 0x8, AllCorners = 0xF };
  Q_DECLARE_FLAGS(Corners, Corner)
  Q_FLAG(Corners)

 private:
  Q_PROPERTY(QPixmap Glyph READ glyph WRITE setGlyph)
  Q_PROPERTY(QPixmap DisabledGlyph READ disabledGlyph WRITE setDisabledGlyph)
  Q_PROPERTY(bool HotStyle READ hotStyle WRITE setHotStyle)
  Q_PROPERTY(bool MonoGlyphInHotSyle READ monoGlyphInHotStyle WRITE setMonoGlyphInHotStyle)
  Q_PROPERTY(bool Transparent READ isTransparent WRITE setTransparent)
  Q_PROPERTY(bool TransparentGlyph READ transparentGlyph WRITE setTransparentGlyph)
  Q_PROPERTY(Corners RoundCorners READ roundCorners WRITE setRoundCorners)
  Q_PROPERTY(bool Down READ isHeldDown WRITE setHeldDown)

 public:
  explicit TBV_hotButton(QWidget *parent = nullptr);

  QPixmap glyph() const { return glyph_; }
  void setGlyph(const QPixmap &pixmap);
  QPixmap disabledGlyph() const { return disabledGlyph_; }
  void setDisabledGlyph(const QPixmap &pixmap);
  bool hotStyle() const { return hotStyle_; }
  void setHotStyle(bool on);
  bool monoGlyphInHotStyle() const { return mono_; }
  void setMonoGlyphInHotStyle(bool on);
  bool isTransparent() const { return transparent_; }
  void setTransparent(bool on);
  // A picture without an alpha channel takes the colour of its bottom-left pixel as transparent.
  bool transparentGlyph() const { return transparentGlyph_; }
  void setTransparentGlyph(bool on);
  Corners roundCorners() const { return corners_; }
  void setRoundCorners(Corners corners);
  // Drawn pressed (lowered frame, picture shifted) even when the mouse is not pressing it.
  bool isHeldDown() const { return heldDown_; }
  void setHeldDown(bool down);

  bool isHot() const { return hot_; }

  // How the picture is drawn in the current state.
  enum class GlyphLook { Colour, DarkSilhouette, GraySilhouette, DisabledPicture };
  GlyphLook glyphLook() const;
  enum class FrameLook { None, Raised, Lowered };
  FrameLook frameLook() const;

  QSize sizeHint() const override;

 protected:
  void paintEvent(QPaintEvent *event) override;
  void enterEvent(QEnterEvent *event) override;
  void leaveEvent(QEvent *event) override;
  void changeEvent(QEvent *event) override;

 private:
  QPixmap preparedGlyph(const QPixmap &source) const;
  void setHot(bool hot);

  QPixmap glyph_, disabledGlyph_;
  bool hotStyle_ = true;
  bool mono_ = true;
  bool transparent_ = false;
  bool transparentGlyph_ = true;
  Corners corners_ = AllCorners;
  bool heldDown_ = false;
  bool hot_ = false;
};

}  // namespace vl

Q_DECLARE_OPERATORS_FOR_FLAGS(vl::TBV_hotButton::Corners)
