#pragma once
// A label that behaves like a link: hand cursor, hot colour and underline while the pointer is
// over its text.
#include <QColor>
#include <QWidget>

namespace vl {

class TBV_LinkLabel : public QWidget {
  Q_OBJECT
  Q_PROPERTY(QString text READ text WRITE setText)
  Q_PROPERTY(Qt::Alignment alignment READ alignment WRITE setAlignment)
  Q_PROPERTY(QColor ColorEnabled READ colorEnabled WRITE setColorEnabled)
  Q_PROPERTY(QColor ColorDisabled READ colorDisabled WRITE setColorDisabled)
  Q_PROPERTY(QColor ColorHot READ colorHot WRITE setColorHot)
  Q_PROPERTY(bool AlwaysUnderline READ alwaysUnderline WRITE setAlwaysUnderline)
  Q_PROPERTY(int Margin READ textMargin WRITE setTextMargin)

 public:
  explicit TBV_LinkLabel(QWidget *parent = nullptr);
  explicit TBV_LinkLabel(const QString &text, QWidget *parent = nullptr);

  QString text() const { return text_; }
  void setText(const QString &text);
  Qt::Alignment alignment() const { return alignment_; }
  void setAlignment(Qt::Alignment alignment);

  QColor colorEnabled() const { return colorEnabled_; }
  void setColorEnabled(const QColor &c);
  QColor colorDisabled() const { return colorDisabled_; }
  void setColorDisabled(const QColor &c);
  QColor colorHot() const { return colorHot_; }
  void setColorHot(const QColor &c);
  bool alwaysUnderline() const { return alwaysUnderline_; }
  void setAlwaysUnderline(bool on);
  int textMargin() const { return margin_; }
  void setTextMargin(int pixels);

  // True while the pointer is over the text (never while disabled).
  bool isHot() const { return hot_; }
  // The rectangle the text covered when last painted.
  QRect textRect() const { return textRect_; }

  QSize sizeHint() const override;
  QSize minimumSizeHint() const override;

 signals:
  void clicked();

 protected:
  void paintEvent(QPaintEvent *event) override;
  void mouseMoveEvent(QMouseEvent *event) override;
  void mousePressEvent(QMouseEvent *event) override;
  void mouseReleaseEvent(QMouseEvent *event) override;
  void leaveEvent(QEvent *event) override;
  void resizeEvent(QResizeEvent *event) override;
  void changeEvent(QEvent *event) override;

 private:
  QRect computeTextRect() const;
  void setHot(bool hot);

  QString text_;
  Qt::Alignment alignment_ = Qt::AlignLeft | Qt::AlignVCenter;
  QColor colorEnabled_ = Qt::blue;
  QColor colorDisabled_ = Qt::gray;
  QColor colorHot_ = Qt::blue;
  bool alwaysUnderline_ = false;
  int margin_ = 0;
  bool hot_ = false;
  bool pressed_ = false;
  QRect textRect_;
};

}  // namespace vl
