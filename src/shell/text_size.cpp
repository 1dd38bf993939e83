#include "shell/text_size.h"

#include <QStringList>

#include "common/text_utils.h"

#include <algorithm>
#include <cstdlib>

namespace vl {

namespace {
constexpr ZoomRatio kRatios[TextSizeLevels::Count] = {{3, 2}, {10, 8}, {0, 0}, {8, 10}, {2, 3}};
}

ZoomRatio TextSizeLevels::ratio(int level) { return kRatios[clamp(level)]; }

int TextSizeLevels::scaledSize(int baseSize, int level) {
  const ZoomRatio r = ratio(level);
  if (r.natural()) return baseSize;
  const long long num = static_cast<long long>(baseSize) * r.numerator;
  const long long den = r.denominator;
  long long q = num / den;
  long long rem = num % den;
  if (rem < 0) {
    rem += den;
    --q;
  }
  if (2 * rem > den || (2 * rem == den && (q % 2 != 0))) ++q;
  return static_cast<int>(q);
}

int TextSizeLevels::nextLarger(int level) {
  level = clamp(level);
  return level == 0 ? Count - 1 : level - 1;
}

int TextSizeLevels::clamp(int level) { return std::clamp(level, 0, Count - 1); }

QString TextSizeLevels::caption(int level) {
  static const QStringList captions = {QStringLiteral("Má&xima"), QStringLiteral("M&aior"),
                                       QStringLiteral("Méd&ia"), QStringLiteral("M&enor"),
                                       QStringLiteral("Míni&ma")};
  return captions.at(clamp(level));
}

QString TextSizeLevels::itemHint(int level, const QString &commandCaption) {
  return CleanCaption(commandCaption, false) + QStringLiteral(": ") + CleanCaption(caption(level), false);
}

}  // namespace vl
