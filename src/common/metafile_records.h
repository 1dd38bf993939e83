#pragma once
// Record numbers and GDI constants of Windows metafiles (WMF and EMF).
#include <cstdint>

namespace vl::mf {

// WMF record functions (the high byte is the parameter count of the classic records).
namespace wmf {
enum : quint16 {
  Eof = 0x0000,
  RealizePalette = 0x0035,
  SetPalEntries = 0x0037,
  SaveDc = 0x001E,
  SetBkMode = 0x0102,
  SetMapMode = 0x0103,
  SetRop2 = 0x0104,
  SetRelAbs = 0x0105,
  SetPolyFillMode = 0x0106,
  SetStretchBltMode = 0x0107,
  SetTextCharExtra = 0x0108,
  RestoreDc = 0x0127,
  InvertRegion = 0x012A,
  PaintRegion = 0x012B,
  SelectClipRegion = 0x012C,
  SelectObject = 0x012D,
  SetTextAlign = 0x012E,
  ResizePalette = 0x0139,
  DibCreatePatternBrush = 0x0142,
  SetLayout = 0x0149,
  DeleteObject = 0x01F0,
  CreatePatternBrush = 0x01F9,
  SetBkColor = 0x0201,
  SetTextColor = 0x0209,
  SetTextJustification = 0x020A,
  SetWindowOrg = 0x020B,
  SetWindowExt = 0x020C,
  SetViewportOrg = 0x020D,
  SetViewportExt = 0x020E,
  OffsetWindowOrg = 0x020F,
  OffsetViewportOrg = 0x0211,
  LineTo = 0x0213,
  MoveTo = 0x0214,
  OffsetClipRgn = 0x0220,
  FillRegion = 0x0228,
  SetMapperFlags = 0x0231,
  SelectPalette = 0x0234,
  CreatePalette = 0x00F7,
  CreatePenIndirect = 0x02FA,
  CreateFontIndirect = 0x02FB,
  CreateBrushIndirect = 0x02FC,
  Polygon = 0x0324,
  Polyline = 0x0325,
  ScaleWindowExt = 0x0410,
  ScaleViewportExt = 0x0412,
  ExcludeClipRect = 0x0415,
  IntersectClipRect = 0x0416,
  Ellipse = 0x0418,
  FloodFill = 0x0419,
  Rectangle = 0x041B,
  SetPixel = 0x041F,
  FrameRegion = 0x0429,
  AnimatePalette = 0x0436,
  TextOut = 0x0521,
  PolyPolygon = 0x0538,
  ExtFloodFill = 0x0548,
  RoundRect = 0x061C,
  PatBlt = 0x061D,
  Escape = 0x0626,
  CreateRegion = 0x06FF,
  Arc = 0x0817,
  Pie = 0x081A,
  Chord = 0x0830,
  BitBlt = 0x0922,
  DibBitBlt = 0x0940,
  ExtTextOut = 0x0A32,
  StretchBlt = 0x0B23,
  DibStretchBlt = 0x0B41,
  SetDibToDev = 0x0D33,
  StretchDib = 0x0F43,
};
constexpr quint32 PlaceableKey = 0x9AC6CDD7u;
}  // namespace wmf

// EMF record types.
namespace emr {
enum : quint32 {
  Header = 1, PolyBezier = 2, Polygon = 3, Polyline = 4, PolyBezierTo = 5, PolylineTo = 6,
  PolyPolyline = 7, PolyPolygon = 8, SetWindowExtEx = 9, SetWindowOrgEx = 10, SetViewportExtEx = 11,
  SetViewportOrgEx = 12, SetBrushOrgEx = 13, Eof = 14, SetPixelV = 15, SetMapperFlags = 16,
  SetMapMode = 17, SetBkMode = 18, SetPolyFillMode = 19, SetRop2 = 20, SetStretchBltMode = 21,
  SetTextAlign = 22, SetTextColor = 24, SetBkColor = 25, OffsetClipRgn = 26, MoveToEx = 27,
  ExcludeClipRect = 29, IntersectClipRect = 30, ScaleViewportExtEx = 31, ScaleWindowExtEx = 32,
  SaveDc = 33, RestoreDc = 34, SetWorldTransform = 35, ModifyWorldTransform = 36, SelectObject = 37,
  CreatePen = 38, CreateBrushIndirect = 39, DeleteObject = 40, AngleArc = 41, Ellipse = 42,
  Rectangle = 43, RoundRect = 44, Arc = 45, Chord = 46, Pie = 47, SelectPalette = 48,
  CreatePalette = 49, LineTo = 54, ArcTo = 55, PolyDraw = 56, SetArcDirection = 57,
  SetMiterLimit = 58, BeginPath = 59, EndPath = 60, CloseFigure = 61, FillPath = 62,
  StrokeAndFillPath = 63, StrokePath = 64, FlattenPath = 65, WidenPath = 66, SelectClipPath = 67,
  AbortPath = 68, GdiComment = 70, ExtSelectClipRgn = 75, BitBlt = 76, StretchBlt = 77,
  SetDiBitsToDevice = 80, StretchDiBits = 81, ExtCreateFontIndirectW = 82, ExtTextOutA = 83,
  ExtTextOutW = 84, PolyBezier16 = 85, Polygon16 = 86, Polyline16 = 87, PolyBezierTo16 = 88,
  PolylineTo16 = 89, PolyPolyline16 = 90, PolyPolygon16 = 91, PolyDraw16 = 92,
  CreateMonoBrush = 93, CreateDibPatternBrushPt = 94, ExtCreatePen = 95, SmallTextOut = 108,
};
constexpr quint32 Signature = 0x464D4520u;  // " EMF"
constexpr quint32 StockObject = 0x80000000u;
}  // namespace emr

// GDI values shared by both formats.
namespace gdi {
enum MapMode { MmText = 1, MmLoMetric, MmHiMetric, MmLoEnglish, MmHiEnglish, MmTwips, MmIsotropic, MmAnisotropic };
enum BkMode { Transparent = 1, Opaque = 2 };
enum FillMode { Alternate = 1, Winding = 2 };
enum PenStyle {
  PsSolid = 0, PsDash, PsDot, PsDashDot, PsDashDotDot, PsNull, PsInsideFrame, PsUserStyle, PsAlternate,
  PsStyleMask = 0x000F,
  PsEndCapSquare = 0x0100, PsEndCapFlat = 0x0200, PsEndCapMask = 0x0F00,
  PsJoinBevel = 0x1000, PsJoinMiter = 0x2000, PsJoinMask = 0xF000,
  PsGeometric = 0x00010000,
};
enum BrushStyle { BsSolid = 0, BsNull = 1, BsHatched = 2, BsPattern = 3, BsDibPattern = 5, BsDibPatternPt = 6 };
enum HatchStyle { HsHorizontal = 0, HsVertical, HsFDiagonal, HsBDiagonal, HsCross, HsDiagCross };
enum TextAlign {
  TaUpdateCp = 0x0001, TaRight = 0x0002, TaCenter = 0x0006, TaHorizMask = 0x0006,
  TaBottom = 0x0008, TaBaseline = 0x0018, TaVertMask = 0x0018,
};
enum ExtTextOptions { EtoOpaque = 0x0002, EtoClipped = 0x0004, EtoGlyphIndex = 0x0010, EtoNoRect = 0x0100, EtoSmallChars = 0x0200, EtoPdy = 0x2000 };
enum Rop2 { R2Black = 1, R2Not = 6, R2XorPen = 7, R2Nop = 11, R2CopyPen = 13, R2White = 16 };
enum RasterOp : quint32 {
  SrcCopy = 0x00CC0020, SrcPaint = 0x00EE0086, SrcAnd = 0x008800C6, SrcInvert = 0x00660046,
  PatCopy = 0x00F00021, PatInvert = 0x005A0049, DstInvert = 0x00550009, Blackness = 0x00000042,
  Whiteness = 0x00FF0062,
};
enum ArcDirection { CounterClockwise = 1, Clockwise = 2 };
enum RegionMode { RgnAnd = 1, RgnOr = 2, RgnXor = 3, RgnDiff = 4, RgnCopy = 5 };
enum ColorUsage { DibRgbColors = 0, DibPalColors = 1 };
}  // namespace gdi

}  // namespace vl::mf
