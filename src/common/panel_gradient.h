#pragma once
// A panel with bevels, a linear gradient background and a caption.
#include <QColor>
#include <QWidget>

namespace vl {

class TBv_PanelGradient : public QWidget {
  Q_OBJECT
 public:
  enum class Bevel { None, Lowered, Raised };
  enum class Border { None, Single };
  enum class Fill { Vertical, Horizontal };
  enum class TextLayout { Top, Center, Bottom };
  enum class TextEllipsis { None, End };
  Q_ENUM(Bevel)
  Q_ENUM(Border)
  Q_ENUM(Fill)
  Q_ENUM(TextLayout)
  Q_ENUM(TextEllipsis)

 private:
  Q_PROPERTY(QString Caption READ caption WRITE setCaption)
  Q_PROPERTY(QColor ColorInitial READ colorInitial WRITE setColorInitial)
  Q_PROPERTY(QColor ColorFinal READ colorFinal WRITE setColorFinal)
  Q_PROPERTY(Fill FillMode READ fillMode WRITE setFillMode)
  Q_PROPERTY(TextLayout Layout READ textLayout WRITE setTextLayout)
  Q_PROPERTY(TextEllipsis Ellipsis READ ellipsis WRITE setEllipsis)
  Q_PROPERTY(bool WordWrap READ wordWrap WRITE setWordWrap)
  Q_PROPERTY(int TextMargin READ textMargin WRITE setTextMargin)
  Q_PROPERTY(Qt::Alignment Alignment READ alignment WRITE setAlignment)
  Q_PROPERTY(Bevel BevelOuter READ bevelOuter WRITE setBevelOuter)
  Q_PROPERTY(Bevel BevelInner READ bevelInner WRITE setBevelInner)
  Q_PROPERTY(int BevelWidth READ bevelWidth WRITE setBevelWidth)
  Q_PROPERTY(int BorderWidth READ borderWidth WRITE setBorderWidth)
  Q_PROPERTY(Border BorderStyle READ borderStyle WRITE setBorderStyle)
  Q_PROPERTY(QColor Color READ color WRITE setColor)
  Q_PROPERTY(QColor FontColor READ fontColor WRITE setFontColor)

 public:
  explicit TBv_PanelGradient(QWidget *parent = nullptr);

  QString caption() const { return caption_; }
  void setCaption(const QString &caption);
  // Defaults: the palette's button-shadow (Dark) and button-face (Button) colours.
  QColor colorInitial() const { return colorInitial_; }
  void setColorInitial(const QColor &c);
  QColor colorFinal() const { return colorFinal_; }
  void setColorFinal(const QColor &c);
  Fill fillMode() const { return fill_; }
  void setFillMode(Fill mode);
  TextLayout textLayout() const { return layout_; }
  void setTextLayout(TextLayout layout);
  TextEllipsis ellipsis() const { return ellipsis_; }
  void setEllipsis(TextEllipsis e);
  bool wordWrap() const { return wordWrap_; }
  void setWordWrap(bool on);
  int textMargin() const { return textMargin_; }
  void setTextMargin(int pixels);
  // Horizontal placement of the caption: left, right or centred (the default).
  Qt::Alignment alignment() const { return alignment_; }
  void setAlignment(Qt::Alignment a);

  Bevel bevelOuter() const { return bevelOuter_; }
  void setBevelOuter(Bevel b);
  Bevel bevelInner() const { return bevelInner_; }
  void setBevelInner(Bevel b);
  int bevelWidth() const { return bevelWidth_; }
  void setBevelWidth(int w);
  int borderWidth() const { return borderWidth_; }
  void setBorderWidth(int w);
  Border borderStyle() const { return borderStyle_; }
  void setBorderStyle(Border b);
  // The panel colour: the border between the bevels.
  QColor color() const { return color_; }
  void setColor(const QColor &c);
  QColor fontColor() const { return fontColor_; }
  void setFontColor(const QColor &c);

  // The area the gradient fills and the caption is placed in.
  QRect gradientRect() const;
  // Where the caption goes inside gradientRect(), and with which flags.
  QRect captionRect(int *flags = nullptr) const;

  QSize sizeHint() const override;

 protected:
  void paintEvent(QPaintEvent *event) override;

 private:
  QString caption_;
  QColor colorInitial_, colorFinal_, color_, fontColor_;
  Fill fill_ = Fill::Vertical;
  TextLayout layout_ = TextLayout::Center;
  TextEllipsis ellipsis_ = TextEllipsis::None;
  bool wordWrap_ = false;
  int textMargin_ = 0;
  Qt::Alignment alignment_ = Qt::AlignHCenter;
  Bevel bevelOuter_ = Bevel::Raised;
  Bevel bevelInner_ = Bevel::None;
  int bevelWidth_ = 1;
  int borderWidth_ = 0;
  Border borderStyle_ = Border::None;
};

}  // namespace vl
