#include "display/transition_picture.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QPainter>
#include <QPointer>
#include <QTimer>

#include <algorithm>

namespace vl {

TransitionPicture::TransitionPicture(QWidget *parent) : QWidget(parent) {
  setAttribute(Qt::WA_OpaquePaintEvent, false);
}

void TransitionPicture::setTransition(int step, int delayMs) {
  m_step = std::clamp(step, 1, 100);
  m_delay = std::max(0, delayMs);
}

void TransitionPicture::setPicture(const QImage &picture) {
  m_previous = picture;
  m_next = picture;
  m_progress = 100;
  update();
}

void TransitionPicture::reveal(const QImage &picture, int style, int step, int delayMs) {
  setStyle(style);
  setTransition(step, delayMs);
  reveal(picture);
}

void TransitionPicture::reveal(const QImage &picture) {
  m_previous = m_next;
  m_next = picture;
  QPointer<TransitionPicture> self(this);
  for (m_progress = 0; m_progress < 100;) {
    m_progress = std::min(100, m_progress + m_step);
    repaint();
    if (m_delay > 0) {
      QEventLoop loop;
      QTimer::singleShot(m_delay, &loop, &QEventLoop::quit);
      loop.exec(QEventLoop::ExcludeUserInputEvents);
    } else {
      QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    }
    if (!self) return;  // destroyed while pumping
  }
  m_previous = m_next;
}

QRegion TransitionPicture::revealedRegion(Effect effect, int w, int h, int progress) {
  progress = std::clamp(progress, 0, 100);
  if (progress == 100) return QRegion(0, 0, w, h);
  switch (effect) {
    case WipeRight: return QRegion(0, 0, w * progress / 100, h);
    case WipeDown: return QRegion(0, 0, w, h * progress / 100);
    case BoxOut: {
      const int bw = w * progress / 100, bh = h * progress / 100;
      return QRegion((w - bw) / 2, (h - bh) / 2, bw, bh);
    }
    case Blinds: {
      constexpr int kBand = 16;
      QRegion region;
      const int open = kBand * progress / 100;
      for (int y = 0; y < h; y += kBand) region += QRegion(0, y, w, open);
      return region;
    }
    case Dissolve:
    default: {
      // Cells of 16×16 in a fixed scrambled order appear one after another.
      constexpr int kCell = 16;
      const int cols = (w + kCell - 1) / kCell, rows = (h + kCell - 1) / kCell;
      const int cells = cols * rows;
      const int shown = cells * progress / 100;
      QRegion region;
      for (int i = 0; i < cells; ++i) {
        const unsigned order = (static_cast<unsigned>(i) * 2654435761u) % 1000u;
        if (order * static_cast<unsigned>(cells) / 1000u < static_cast<unsigned>(shown))
          region += QRegion((i % cols) * kCell, (i / cols) * kCell, kCell, kCell);
      }
      return region;
    }
  }
}

QSize TransitionPicture::sizeHint() const { return m_next.isNull() ? QSize(100, 100) : m_next.size(); }

void TransitionPicture::paintEvent(QPaintEvent *) {
  QPainter painter(this);
  const QRect area = rect();
  if (!m_previous.isNull()) painter.drawImage(area, m_previous);
  if (m_next.isNull()) return;
  painter.setClipRegion(revealedRegion(effectOf(m_style), area.width(), area.height(), m_progress));
  painter.drawImage(area, m_next);
}

}  // namespace vl
