#include "shell/rich_zoom.h"

#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextEdit>

namespace vl {

namespace {

constexpr int kBaseSizeProperty = QTextFormat::UserProperty + 0x5A1;
constexpr char kZoomNumerator[] = "vlZoomNumerator";
constexpr char kZoomDenominator[] = "vlZoomDenominator";

double scaled(double size, ZoomRatio ratio) {
  return ratio.natural() ? size : size * ratio.numerator / ratio.denominator;
}

}  // namespace

bool applyZoom(QTextEdit *view, ZoomRatio ratio) {
  if (!view) return false;
  view->setProperty(kZoomNumerator, ratio.numerator);
  view->setProperty(kZoomDenominator, ratio.denominator);
  QTextDocument *document = view->document();
  // The document's default size is the base of fragments without an explicit size.
  double defaultBase = document->property("vlBaseDefaultSize").toDouble();
  if (defaultBase <= 0) {
    defaultBase = document->defaultFont().pointSizeF() > 0 ? document->defaultFont().pointSizeF() : 10.0;
    document->setProperty("vlBaseDefaultSize", defaultBase);
  }
  QFont defaultFont = document->defaultFont();
  defaultFont.setPointSizeF(scaled(defaultBase, ratio));
  document->setDefaultFont(defaultFont);

  QTextCursor cursor(document);
  cursor.beginEditBlock();
  for (QTextBlock block = document->begin(); block.isValid(); block = block.next()) {
    for (auto it = block.begin(); !it.atEnd(); ++it) {
      const QTextFragment fragment = it.fragment();
      if (!fragment.isValid()) continue;
      QTextCharFormat format = fragment.charFormat();
      double base = format.doubleProperty(kBaseSizeProperty);
      if (base <= 0) {
        if (!format.hasProperty(QTextFormat::FontPointSize)) continue;  // follows the default font
        base = format.fontPointSize();
        format.setProperty(kBaseSizeProperty, base);
      }
      format.setFontPointSize(scaled(base, ratio));
      cursor.setPosition(fragment.position());
      cursor.setPosition(fragment.position() + fragment.length(), QTextCursor::KeepAnchor);
      cursor.setCharFormat(format);
    }
  }
  cursor.endEditBlock();
  document->setModified(false);
  return true;
}

ZoomRatio viewZoom(const QTextEdit *view) {
  if (!view) return {};
  return {view->property(kZoomNumerator).toInt(), view->property(kZoomDenominator).toInt()};
}

}  // namespace vl
