#pragma once
// A picture control that reveals a new picture over the old one with an animated transition.
// The transition is chosen by a style number; it advances by `step` percent per frame with
// `delayMs` between frames, and reveal() returns when the picture is complete.
#include <QImage>
#include <QWidget>

namespace vl {

class TransitionPicture : public QWidget {
  Q_OBJECT
 public:
  enum Effect { WipeRight, WipeDown, BoxOut, Blinds, Dissolve, EffectCount };

  explicit TransitionPicture(QWidget *parent = nullptr);

  void setTransition(int step, int delayMs);
  int step() const { return m_step; }
  int delay() const { return m_delay; }
  void setStyle(int style) { m_style = style; }
  int style() const { return m_style; }

  // Reveals `picture` with the current style, step and delay; blocks (pumping events) until done.
  void reveal(const QImage &picture);
  void reveal(const QImage &picture, int style, int step, int delayMs);
  // Shows a picture at once.
  void setPicture(const QImage &picture);
  QImage picture() const { return m_next; }
  int progress() const { return m_progress; }  // 0..100 of the running reveal, 100 when at rest

  static Effect effectOf(int style) { return static_cast<Effect>(((style % EffectCount) + EffectCount) % EffectCount); }
  // The part of a w×h picture that is visible at a progress of 0..100.
  static QRegion revealedRegion(Effect effect, int w, int h, int progress);

  QSize sizeHint() const override;

 protected:
  void paintEvent(QPaintEvent *event) override;

 private:
  QImage m_previous;
  QImage m_next;
  int m_style = 0;
  int m_step = 20;
  int m_delay = 20;
  int m_progress = 100;
};

}  // namespace vl
