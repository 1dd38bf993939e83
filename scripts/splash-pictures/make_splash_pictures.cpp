// Paints the three splash pictures: the program's name over a road with a traffic light whose
// lamp changes from red (opening picture) to yellow and green (closing pictures).
#include <QGuiApplication>
#include <QImage>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QString>

#include <cstdio>

namespace {

constexpr int W = 480, H = 300;

void road(QPainter &g) {
  QLinearGradient sky(0, 0, 0, H * 0.55);
  sky.setColorAt(0, QColor(120, 170, 225));
  sky.setColorAt(1, QColor(225, 238, 250));
  g.fillRect(0, 0, W, H, sky);
  g.fillRect(QRectF(0, H * 0.55, W, H * 0.45), QColor(110, 165, 90));
  // the road in perspective
  const QPointF vanish(W * 0.5, H * 0.55);
  QPolygonF asphalt({QPointF(W * 0.47, H * 0.55), QPointF(W * 0.53, H * 0.55), QPointF(W * 0.95, H), QPointF(W * 0.05, H)});
  g.setPen(Qt::NoPen);
  g.setBrush(QColor(70, 70, 75));
  g.drawPolygon(asphalt);
  g.setPen(QPen(Qt::white, 3));
  g.drawLine(QPointF(W * 0.47, H * 0.55), QPointF(W * 0.05, H));
  g.drawLine(QPointF(W * 0.53, H * 0.55), QPointF(W * 0.95, H));
  // dashed centre line
  g.setPen(Qt::NoPen);
  g.setBrush(QColor(250, 200, 0));
  for (double t = 0.08; t < 1.0; t += 0.16) {
    const double t2 = t + 0.07;
    const auto at = [&](double u, double dx) {
      const double y = vanish.y() + (H - vanish.y()) * u * u;
      const double half = 1 + 5 * u * u;
      return QPointF(vanish.x() + dx * half, y);
    };
    g.drawPolygon(QPolygonF({at(t, -1), at(t, 1), at(t2, 1), at(t2, -1)}));
  }
}

void trafficLight(QPainter &g, int lit) {
  g.setPen(Qt::NoPen);
  g.setBrush(QColor(60, 60, 60));
  g.drawRect(QRectF(W * 0.88, H * 0.60, 8, H * 0.40));
  g.setBrush(QColor(30, 30, 30));
  g.drawRoundedRect(QRectF(W * 0.88 - 18, H * 0.40, 44, 104), 6, 6);
  const QColor on[3] = {QColor(235, 40, 30), QColor(250, 190, 0), QColor(40, 200, 70)};
  for (int i = 0; i < 3; ++i) {
    g.setBrush(i == lit ? on[i] : on[i].darker(400));
    g.drawEllipse(QPointF(W * 0.88 + 4, H * 0.40 + 18 + i * 34), 13, 13);
  }
}

void warningSign(QPainter &g) {
  const QPointF c(W * 0.12, H * 0.66);
  g.setPen(Qt::NoPen);
  g.setBrush(QColor(90, 90, 90));
  g.drawRect(QRectF(c.x() - 3, c.y(), 6, H * 0.32));
  QPolygonF diamond({c + QPointF(0, -34), c + QPointF(34, 0), c + QPointF(0, 34), c + QPointF(-34, 0)});
  g.setPen(QPen(Qt::black, 3));
  g.setBrush(QColor(250, 200, 0));
  g.drawPolygon(diamond);
  g.setPen(QPen(Qt::black, 5, Qt::SolidLine, Qt::RoundCap));
  g.drawLine(c + QPointF(0, -14), c + QPointF(0, 8));
  g.drawPoint(c + QPointF(0, 19));
}

void title(QPainter &g) {
  QFont font(QStringLiteral("DejaVu Sans"));
  font.setBold(true);
  font.setPixelSize(58);
  g.setFont(font);
  const QRectF box(0, H * 0.08, W, 80);
  QPainterPath path;
  const QFontMetricsF metrics(font);
  const QString name = QStringLiteral("Vialume");
  const double x = (W - metrics.horizontalAdvance(name)) / 2;
  path.addText(QPointF(x, box.top() + metrics.ascent()), font, name);
  g.setPen(QPen(Qt::white, 6, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
  g.setBrush(Qt::NoBrush);
  g.drawPath(path);
  g.setPen(Qt::NoPen);
  g.setBrush(QColor(128, 0, 0));
  g.drawPath(path);
  QFont small(QStringLiteral("DejaVu Sans"));
  small.setPixelSize(17);
  g.setFont(small);
  g.setPen(QColor(40, 40, 60));
  g.drawText(QRectF(0, box.bottom() + 2, W, 24), Qt::AlignCenter, QStringLiteral("Enciclopédia do Trânsito Brasileiro"));
}

}  // namespace

int main(int argc, char **argv) {
  qputenv("QT_QPA_PLATFORM", "offscreen");
  QGuiApplication app(argc, argv);
  const QString folder = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral(".");
  for (int number = 1; number <= 3; ++number) {
    QImage image(W, H, QImage::Format_RGB32);
    QPainter g(&image);
    g.setRenderHint(QPainter::Antialiasing);
    road(g);
    warningSign(g);
    trafficLight(g, number - 1);
    title(g);
    g.end();
    const QString path = folder + QStringLiteral("/splash-%1.jpg").arg(number);
    if (!image.save(path, "JPG", 82)) {
      std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
      return 1;
    }
  }
  return 0;
}
