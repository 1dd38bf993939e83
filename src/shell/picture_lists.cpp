#include "shell/picture_lists.h"

#include <QBitmap>
#include <QImage>
#include <QPainter>
#include <QPainterPath>

#include <cmath>

namespace vl {

namespace {

const QColor kMaroon(128, 0, 0);

QPixmap canvas(int w, int h) {
  QPixmap pixmap(w, h);
  pixmap.fill(Qt::transparent);
  return pixmap;
}

// Heading: a closed folder.
QPixmap drawHeading() {
  QPixmap p = canvas(20, 16);
  QPainter g(&p);
  g.setRenderHint(QPainter::Antialiasing);
  g.setPen(QColor(150, 110, 20));
  g.setBrush(QColor(245, 200, 80));
  g.drawRect(QRectF(3.5, 4.5, 14, 9));
  g.drawRect(QRectF(3.5, 2.5, 6, 2));
  return p;
}

// Text: a page with lines.
QPixmap drawText() {
  QPixmap p = canvas(20, 16);
  QPainter g(&p);
  g.setPen(QColor(90, 90, 90));
  g.setBrush(Qt::white);
  g.drawRect(5, 1, 10, 14);
  g.setPen(QColor(60, 90, 160));
  for (int y = 4; y <= 12; y += 2) g.drawLine(7, y, 13, y);
  return p;
}

// Table: a small grid.
QPixmap drawTable() {
  QPixmap p = canvas(20, 16);
  QPainter g(&p);
  g.setPen(QColor(40, 90, 40));
  g.setBrush(QColor(225, 245, 225));
  g.drawRect(2, 2, 15, 11);
  g.fillRect(3, 3, 14, 3, QColor(90, 160, 90));
  g.drawLine(2, 6, 17, 6);
  g.drawLine(2, 9, 17, 9);
  g.drawLine(8, 2, 8, 13);
  return p;
}

// Exam: a sheet with a check mark.
QPixmap drawExam() {
  QPixmap p = canvas(20, 16);
  QPainter g(&p);
  g.setRenderHint(QPainter::Antialiasing);
  g.setPen(QColor(90, 90, 90));
  g.setBrush(Qt::white);
  g.drawRect(QRectF(4.5, 1.5, 11, 13));
  g.setPen(QPen(kMaroon, 2));
  g.drawPolyline(QPolygonF({QPointF(6.5, 8), QPointF(9, 11), QPointF(14, 4)}));
  return p;
}

// Hot image: a framed landscape with a spot.
QPixmap drawHotImage() {
  QPixmap p = canvas(20, 16);
  QPainter g(&p);
  g.setRenderHint(QPainter::Antialiasing);
  g.setPen(QColor(70, 70, 70));
  g.setBrush(QColor(200, 225, 250));
  g.drawRect(QRectF(1.5, 2.5, 16, 11));
  g.setBrush(QColor(80, 150, 70));
  g.setPen(Qt::NoPen);
  g.drawPolygon(QPolygonF({QPointF(2, 13), QPointF(8, 7), QPointF(12, 11), QPointF(17, 6), QPointF(17, 13)}));
  g.setBrush(QColor(230, 40, 40));
  g.drawEllipse(QPointF(13, 6), 2, 2);
  return p;
}

QPixmap drawState(bool read, bool favorite) {
  QPixmap p = canvas(16, 16);
  QPainter g(&p);
  g.setRenderHint(QPainter::Antialiasing);
  if (read) {
    g.setPen(QPen(QColor(0, 128, 0), 2.2));
    g.drawPolyline(QPolygonF({QPointF(2, 8), QPointF(6, 12), QPointF(14, 3)}));
  }
  if (favorite) {
    QPainterPath star;
    const QPointF c = read ? QPointF(11.5, 11.5) : QPointF(8, 8);
    const double r = read ? 4.5 : 7;
    for (int i = 0; i < 10; ++i) {
      const double a = -M_PI / 2 + i * M_PI / 5;
      const double rr = (i % 2 == 0) ? r : r * 0.45;
      const QPointF pt(c.x() + rr * std::cos(a), c.y() + rr * std::sin(a));
      i == 0 ? star.moveTo(pt) : star.lineTo(pt);
    }
    star.closeSubpath();
    g.setPen(QColor(160, 110, 0));
    g.setBrush(QColor(250, 200, 30));
    g.drawPath(star);
  }
  return p;
}

QPixmap drawComment() {
  QPixmap p = canvas(16, 16);
  QPainter g(&p);
  g.setRenderHint(QPainter::Antialiasing);
  g.setPen(QColor(120, 100, 20));
  g.setBrush(QColor(255, 240, 150));
  QPainterPath bubble;
  bubble.addRoundedRect(QRectF(1.5, 1.5, 13, 9), 2, 2);
  bubble.moveTo(4, 10.5);
  bubble.lineTo(4, 14.5);
  bubble.lineTo(8, 10.5);
  g.drawPath(bubble.simplified());
  return p;
}

}  // namespace

PictureLists::PictureLists() {
  m_contents = {drawHeading(), drawText(), drawTable(), drawExam(), drawHotImage()};
  m_offset = static_cast<int>(m_contents.size()) - static_cast<int>(m_titles.size());
  m_states = {drawState(true, false), drawState(false, true), drawState(true, true)};
  m_comment = drawComment();
}

QPixmap PictureLists::contentsPicture(int index) const {
  return index >= 0 && index < contentsCount() ? m_contents[index] : QPixmap();
}

QPixmap PictureLists::titlePictureFor(int imageIndex) const {
  const int index = imageIndex - m_offset;
  return index >= 0 && index < titleCount() ? m_titles[index] : QPixmap();
}

QPixmap PictureLists::statePicture(int index) const {
  return index >= 0 && index < m_states.size() ? m_states[index] : QPixmap();
}

int PictureLists::addTopicPictures(const QByteArray &treeBitmap, const QByteArray &titleBitmap) {
  if (treeBitmap.isEmpty() || titleBitmap.isEmpty()) return -1;
  const QPixmap tree = transparentBitmap(treeBitmap);
  const QPixmap title = transparentBitmap(titleBitmap);
  if (tree.isNull() || title.isNull()) return -1;
  m_titles.append(title.scaled(24, 24, Qt::KeepAspectRatio, Qt::SmoothTransformation));
  m_contents.append(tree.scaled(20, 16, Qt::KeepAspectRatio, Qt::SmoothTransformation));
  return contentsCount() - 1;
}

void PictureLists::truncate(int contentsCount, int titleCount) {
  while (m_contents.size() > contentsCount) m_contents.removeLast();
  while (m_titles.size() > titleCount) m_titles.removeLast();
}

QPixmap PictureLists::transparentBitmap(const QByteArray &bitmap) {
  QImage image;
  if (!image.loadFromData(bitmap, "BMP") || image.isNull()) return {};
  image = image.convertToFormat(QImage::Format_RGB888);
  QPixmap pixmap = QPixmap::fromImage(image);
  const QColor key = image.pixelColor(0, image.height() - 1);
  pixmap.setMask(pixmap.createMaskFromColor(key, Qt::MaskInColor));
  return pixmap;
}

}  // namespace vl
