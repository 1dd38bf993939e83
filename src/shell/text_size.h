#pragma once
// The five text size levels: zoom ratios, scaled font sizes, stepping and menu texts.
#include <QString>

namespace vl {

struct ZoomRatio {
  int numerator = 0;  // 0/0 means the natural size
  int denominator = 0;
  bool natural() const { return numerator == 0 || denominator == 0; }
};

class TextSizeLevels {
 public:
  static constexpr int Count = 5;
  static constexpr int DefaultLevel = 2;

  static ZoomRatio ratio(int level);
  // The integer nearest to base × N ÷ D, a half going to the even neighbour.
  static int scaledSize(int baseSize, int level);
  // The level the text size button selects from `level`: one larger, wrapping from 0 to 4.
  static int nextLarger(int level);
  static int clamp(int level);
  static QString caption(int level);  // with its "&"
  // "Alterar tamanho do texto: Máxima" style hint of a size item.
  static QString itemHint(int level, const QString &commandCaption);
};

}  // namespace vl
