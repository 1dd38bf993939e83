#include "shell/toolbar_icons.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

#include <cmath>
#include <functional>

namespace vl {

namespace {

const QColor kInk(40, 60, 90);
const QColor kAccent(128, 0, 0);

QIcon paint(const std::function<void(QPainter &)> &draw) {
  QPixmap pixmap(18, 18);
  pixmap.fill(Qt::transparent);
  QPainter painter(&pixmap);
  painter.setRenderHint(QPainter::Antialiasing);
  draw(painter);
  return QIcon(pixmap);
}

QPolygonF arrow(bool left) {
  if (left) return QPolygonF({QPointF(2, 9), QPointF(9, 3), QPointF(9, 6.5), QPointF(16, 6.5), QPointF(16, 11.5), QPointF(9, 11.5), QPointF(9, 15)});
  return QPolygonF({QPointF(16, 9), QPointF(9, 3), QPointF(9, 6.5), QPointF(2, 6.5), QPointF(2, 11.5), QPointF(9, 11.5), QPointF(9, 15)});
}

QPainterPath star(QPointF c, double r) {
  QPainterPath path;
  for (int i = 0; i < 10; ++i) {
    const double a = -M_PI / 2 + i * M_PI / 5;
    const double rr = i % 2 == 0 ? r : r * 0.45;
    const QPointF p(c.x() + rr * std::cos(a), c.y() + rr * std::sin(a));
    i == 0 ? path.moveTo(p) : path.lineTo(p);
  }
  path.closeSubpath();
  return path;
}

void page(QPainter &g, QRectF r) {
  g.setPen(QPen(kInk, 1));
  g.setBrush(Qt::white);
  g.drawRect(r);
}

}  // namespace

QIcon commandIcon(const QString &name) {
  if (name == u"actionBack" || name == u"actionNavPrior")
    return paint([](QPainter &g) { g.setPen(kInk); g.setBrush(QColor(70, 130, 200)); g.drawPolygon(arrow(true)); });
  if (name == u"actionNavNext")
    return paint([](QPainter &g) { g.setPen(kInk); g.setBrush(QColor(70, 130, 200)); g.drawPolygon(arrow(false)); });
  if (name == u"actionAddToFavorites")
    return paint([](QPainter &g) { g.setPen(QColor(150, 100, 0)); g.setBrush(QColor(250, 200, 30)); g.drawPath(star({9, 9.5}, 8)); });
  if (name == u"actionLocate")
    return paint([](QPainter &g) {
      g.setPen(QPen(kInk, 1.4));
      g.drawLine(3, 3, 3, 15);
      g.drawLine(3, 5, 8, 5);
      g.drawLine(3, 10, 8, 10);
      g.drawLine(3, 15, 8, 15);
      g.setBrush(QColor(70, 130, 200));
      g.drawRect(QRectF(9, 8, 7, 4));
    });
  if (name == u"actionPrint")
    return paint([](QPainter &g) {
      page(g, QRectF(5.5, 1.5, 7, 6));
      g.setBrush(QColor(170, 170, 170));
      g.drawRoundedRect(QRectF(1.5, 7.5, 15, 6), 1.5, 1.5);
      page(g, QRectF(5.5, 11.5, 7, 5));
    });
  if (name == u"actionSetReaded" || name == u"actionResetReaded")
    return paint([name](QPainter &g) {
      page(g, QRectF(3.5, 1.5, 11, 15));
      g.setPen(QPen(name == u"actionSetReaded" ? QColor(0, 140, 0) : QColor(160, 160, 160), 2.2));
      g.drawPolyline(QPolygonF({QPointF(5.5, 9), QPointF(8, 12), QPointF(13, 5)}));
    });
  if (name == u"actionDoComment")
    return paint([](QPainter &g) {
      g.setPen(QColor(120, 100, 20));
      g.setBrush(QColor(255, 240, 150));
      QPainterPath bubble;
      bubble.addRoundedRect(QRectF(1.5, 2.5, 15, 10), 2, 2);
      bubble.moveTo(5, 12.5);
      bubble.lineTo(5, 16.5);
      bubble.lineTo(9, 12.5);
      g.drawPath(bubble.simplified());
    });
  if (name == u"actionSearch")
    return paint([](QPainter &g) {
      g.setPen(QPen(kInk, 1.6));
      g.setBrush(QColor(220, 235, 250));
      g.drawEllipse(QPointF(7.5, 7.5), 5, 5);
      g.setPen(QPen(kInk, 2.6));
      g.drawLine(QPointF(11, 11), QPointF(16, 16));
    });
  if (name == u"actionCopySel" || name == u"actionCopyAll")
    return paint([](QPainter &g) {
      page(g, QRectF(2.5, 1.5, 9, 11));
      page(g, QRectF(6.5, 5.5, 9, 11));
    });
  if (name == u"actionShowSet")
    return paint([](QPainter &g) {
      g.setPen(QPen(Qt::white, 1));
      g.setBrush(QColor(200, 30, 30));
      g.drawEllipse(QPointF(5, 5), 4, 4);
      g.setBrush(QColor(250, 200, 0));
      g.drawPolygon(QPolygonF({QPointF(13, 1), QPointF(17, 5), QPointF(13, 9), QPointF(9, 5)}));
      g.setBrush(QColor(30, 90, 180));
      g.drawRect(QRectF(1, 10, 7, 7));
      g.setBrush(QColor(30, 140, 60));
      g.drawRect(QRectF(10, 10, 7, 7));
    });
  if (name == u"actionSectPrior" || name == u"actionSectNext")
    return paint([name](QPainter &g) {
      g.setPen(kInk);
      g.setBrush(QColor(70, 130, 200));
      if (name == u"actionSectPrior")
        g.drawPolygon(QPolygonF({QPointF(9, 2), QPointF(16, 10), QPointF(2, 10)}));
      else
        g.drawPolygon(QPolygonF({QPointF(9, 16), QPointF(16, 8), QPointF(2, 8)}));
      g.setPen(QPen(kInk, 1.5));
      g.drawLine(3, name == u"actionSectPrior" ? 14 : 4, 15, name == u"actionSectPrior" ? 14 : 4);
    });
  if (name == u"actionTextSize")
    return paint([](QPainter &g) {
      QFont font(QStringLiteral("Serif"));
      font.setBold(true);
      font.setPixelSize(15);
      g.setFont(font);
      g.setPen(kAccent);
      g.drawText(QRectF(0, 1, 11, 17), Qt::AlignCenter, QStringLiteral("A"));
      font.setPixelSize(9);
      g.setFont(font);
      g.drawText(QRectF(10, 6, 8, 12), Qt::AlignCenter, QStringLiteral("A"));
    });
  if (name == u"actionSpeech")
    return paint([](QPainter &g) {
      g.setPen(kInk);
      g.setBrush(QColor(90, 90, 90));
      g.drawPolygon(QPolygonF({QPointF(2, 7), QPointF(5, 7), QPointF(9, 3), QPointF(9, 15), QPointF(5, 11), QPointF(2, 11)}));
      g.setBrush(Qt::NoBrush);
      g.setPen(QPen(QColor(70, 130, 200), 1.4));
      g.drawArc(QRectF(7, 5, 6, 8), -60 * 16, 120 * 16);
      g.drawArc(QRectF(7, 2, 10, 14), -60 * 16, 120 * 16);
    });
  return {};
}

}  // namespace vl
