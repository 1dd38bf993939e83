// Text output of the playback device context.
#include <QFontMetricsF>
#include <QGuiApplication>
#include <QLineF>
#include <cmath>

#include "common/metafile_dc.h"
#include "common/metafile_records.h"

namespace vl::mf {
namespace {

qreal scaleAlong(const QTransform &t, qreal dx, qreal dy) { return t.map(QLineF(0, 0, dx, dy)).length(); }

}  // namespace

void MetafileDc::text(QPointF reference, const QString &text, quint32 options, const QRectF &rect,
                      const QList<qreal> &dx) {
  if (!qobject_cast<QGuiApplication *>(QCoreApplication::instance())) return;  // fonts need the GUI
  const QTransform t = fullTransform();
  const bool updateCp = state_.textAlign & gdi::TaUpdateCp;
  if (updateCp) reference = state_.position;
  const qreal yScale = scaleAlong(t, 0, 1);
  const qreal xScale = scaleAlong(t, 1, 0);
  if (yScale <= 0 || xScale <= 0) return;

  if ((options & gdi::EtoOpaque) && rect.isValid()) {
    painter_.setTransform(t);
    painter_.fillRect(rect.normalized(), state_.bkColor);
  }
  if (text.isEmpty()) return;
  const FontObject &fo = state_.font;
  QFont font(fo.face.isEmpty() ? QStringLiteral("Sans Serif") : fo.face);
  constexpr qreal Ref = 100.0;  // glyphs are laid out at 100 px and scaled
  font.setPixelSize(int(Ref));
  if (fo.weight > 0) font.setWeight(QFont::Weight(std::clamp(fo.weight, 100, 900)));
  font.setItalic(fo.italic);
  font.setUnderline(fo.underline);
  font.setStrikeOut(fo.strikeOut);
  font.setStyleHint(QFont::SansSerif);
  QFontMetricsF fm(font);
  qreal emDevice;
  if (fo.height < 0) emDevice = -fo.height * yScale;
  else if (fo.height > 0) emDevice = fo.height * yScale * Ref / std::max(fm.ascent() + fm.descent(), 1.0);
  else emDevice = 16.0;
  if (!std::isfinite(emDevice) || emDevice < 0.2 || emDevice > 20000) return;
  const qreal k = emDevice / Ref;

  // Advances in the 100 px layout.
  QList<qreal> advances;
  qreal width = 0;
  const bool useDx = dx.size() >= text.size();
  for (qsizetype i = 0; i < text.size(); ++i) {
    const qreal a = useDx ? dx[i] * xScale / k : fm.horizontalAdvance(text[i]);
    advances.append(a);
    width += a;
  }
  if (!useDx) width = fm.horizontalAdvance(text);

  qreal x = 0, y = 0;
  switch (state_.textAlign & gdi::TaHorizMask) {
    case gdi::TaRight: x = -width; break;
    case gdi::TaCenter: x = -width / 2; break;
    default: break;
  }
  switch (state_.textAlign & gdi::TaVertMask) {
    case gdi::TaBottom: y = -fm.descent(); break;
    case gdi::TaBaseline: break;
    default: y = fm.ascent(); break;
  }

  QTransform tt;
  const QPointF origin = t.map(reference);
  tt.translate(origin.x(), origin.y());
  tt.rotate(-fo.escapement / 10.0);
  tt.scale(k, k);

  painter_.save();
  if ((options & gdi::EtoClipped) && rect.isValid()) {
    painter_.setTransform(t);
    painter_.setClipRect(rect.normalized(), Qt::IntersectClip);
  }
  painter_.setTransform(tt);
  painter_.setCompositionMode(QPainter::CompositionMode_SourceOver);
  painter_.setRenderHint(QPainter::TextAntialiasing, true);
  if (state_.bkMode == gdi::Opaque && !(options & gdi::EtoOpaque))
    painter_.fillRect(QRectF(x, y - fm.ascent(), width, fm.ascent() + fm.descent()), state_.bkColor);
  painter_.setFont(font);
  painter_.setPen(state_.textColor);
  if (useDx) {
    qreal cx = x;
    for (qsizetype i = 0; i < text.size(); ++i) {
      painter_.drawText(QPointF(cx, y), QString(text[i]));
      cx += advances[i];
    }
  } else {
    painter_.drawText(QPointF(x, y), text);
  }
  painter_.restore();
  if (updateCp) state_.position.rx() += width * k / xScale;
}

}  // namespace vl::mf
