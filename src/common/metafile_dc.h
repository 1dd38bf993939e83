#pragma once
// The playback device context shared by the WMF and EMF players: graphics state, save/restore,
// object table, coordinate mapping, clipping and the drawing operations onto a QPainter.
#include <QColor>
#include <QImage>
#include <QList>
#include <QPainter>
#include <QPainterPath>
#include <QPolygonF>
#include <QString>
#include <QTransform>
#include <variant>
#include <vector>

namespace vl::mf {

struct PenObject {
  quint32 style = 0;  // style, end cap, join and type bits
  qreal width = 0;    // logical units; 0 = one device pixel
  QColor color = Qt::black;
  QList<qreal> dashes;  // user style, logical units
};

struct BrushObject {
  int style = 0;
  QColor color = Qt::white;
  int hatch = 0;
  QImage pattern;
};

struct FontObject {
  qreal height = 0;  // < 0: character (em) height, > 0: cell height, 0: default
  qreal width = 0;
  int escapement = 0;  // tenths of a degree, counterclockwise
  int weight = 0;
  bool italic = false;
  bool underline = false;
  bool strikeOut = false;
  int charset = 0;
  QString face;
};

struct PaletteObject {
  QList<QRgb> colors;
};

struct RegionObject {};  // occupies a table slot; regions are not drawn

using GdiObject = std::variant<std::monostate, PenObject, BrushObject, FontObject, PaletteObject, RegionObject>;

struct DcState {
  PenObject pen;
  BrushObject brush;
  FontObject font;
  QList<QRgb> palette;
  QColor textColor = Qt::black;
  QColor bkColor = Qt::white;
  int bkMode = 2;
  int textAlign = 0;
  int fillMode = 1;
  int rop2 = 13;
  int mapMode = 1;
  int arcDirection = 1;
  qreal miterLimit = 10;
  QPointF windowOrg{0, 0};
  QPointF windowExt{1, 1};
  QPointF viewportOrg{0, 0};
  QPointF viewportExt{1, 1};
  QTransform world;
  QPointF position;
  bool hasClip = false;
  QPainterPath clip;  // in the painter's coordinates at playback start
};

enum class ArcKind { Arc, Pie, Chord, ArcTo };

class MetafileDc {
 public:
  // `deviceToPainter` maps the metafile's device space onto the painter's coordinates;
  // `deviceUnitsPerMm` scales the metric mapping modes.
  MetafileDc(QPainter &painter, const QTransform &deviceToPainter, qreal deviceUnitsPerMm);
  ~MetafileDc();
  MetafileDc(const MetafileDc &) = delete;
  MetafileDc &operator=(const MetafileDc &) = delete;

  DcState &state() { return state_; }
  const DcState &state() const { return state_; }

  // Colours: a COLORREF, possibly a palette index.
  QColor colorRef(quint32 value) const;

  // Object table. WMF places objects in the lowest free slot; EMF names the slot.
  int addObject(GdiObject object);
  void setObject(quint32 index, GdiObject object);
  void selectObject(quint32 index);
  void selectStockObject(quint32 id);
  void deleteObject(quint32 index);

  // Mapping.
  void setMapMode(int mode);
  void setWindowOrg(QPointF p) { state_.windowOrg = p; }
  void setWindowExt(QPointF e);
  void setViewportOrg(QPointF p) { state_.viewportOrg = p; }
  void setViewportExt(QPointF e);
  void scaleWindowExt(qreal xNum, qreal xDen, qreal yNum, qreal yDen);
  void scaleViewportExt(qreal xNum, qreal xDen, qreal yNum, qreal yDen);
  QTransform logicalToPainter() const;
  const QTransform &deviceToPainter() const { return base_; }

  void save();
  void restore(int which);

  // Clipping, in logical coordinates unless noted.
  void intersectClipRect(const QRectF &r);
  void excludeClipRect(const QRectF &r);
  void combineClip(const QPainterPath &painterPath, int regionMode);  // path in playback coordinates
  void resetClip();

  // Drawing, in logical coordinates.
  void moveTo(QPointF p);
  void lineTo(QPointF p);
  void polyline(const QPolygonF &points, bool fromCurrent);
  void polygon(const QPolygonF &points);
  void polyPolygon(const QList<QPolygonF> &polygons);
  void polyBezier(const QPolygonF &points, bool fromCurrent);
  void polyDraw(const QPolygonF &points, const QByteArray &types);
  void rectangle(const QRectF &box);
  void roundRect(const QRectF &box, QSizeF corner);
  void ellipse(const QRectF &box);
  void arc(const QRectF &box, QPointF start, QPointF end, ArcKind kind);
  void angleArc(QPointF center, qreal radius, qreal startDeg, qreal sweepDeg);
  void setPixel(QPointF p, const QColor &c);
  void text(QPointF reference, const QString &text, quint32 options, const QRectF &rect,
            const QList<qreal> &dx);
  void image(const QRectF &dest, const QImage &image, const QRectF &source, quint32 rop);
  void patBlt(const QRectF &dest, quint32 rop);

  // EMF path bracket.
  void beginPath();
  void endPath() { inPath_ = false; }
  void abortPath();
  void closeFigure();
  void fillPath(bool fill, bool stroke);
  void selectClipPath(int regionMode);

 private:
  QTransform fullTransform() const;
  void applyClip();
  void paint(QPainterPath path, bool fill, bool stroke);
  QPen makePen(const QTransform &t) const;
  QBrush makeBrush(const QBrush &base, const QTransform &t) const;
  void addToPath(const QPainterPath &shape, bool connect);
  QPainterPath arcPath(const QRectF &box, QPointF start, QPointF end, ArcKind kind, QPointF *arcEnd) const;

  QPainter &painter_;
  QTransform base_;
  qreal unitsPerMm_;
  DcState state_;
  std::vector<DcState> saved_;
  std::vector<GdiObject> objects_;
  bool inPath_ = false;
  QPainterPath path_;
};

}  // namespace vl::mf
