#pragma once
// Lengths: RTF measures in twips (1/1440 inch), QTextDocument in pixels at 96 dpi.
#include <cmath>

namespace vl::rtf {

constexpr double kTwipsPerPixel = 15.0;
constexpr double kHimetricPerPixel = 2540.0 / 96.0;

inline double twipsToPixels(double twips) { return twips / kTwipsPerPixel; }
inline int pixelsToTwips(double pixels) { return static_cast<int>(std::lround(pixels * kTwipsPerPixel)); }

}  // namespace vl::rtf
