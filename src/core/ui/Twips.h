#pragma once

#include <cmath>

// The one twips <-> pixel formula; each front end only supplies its screen's logical DPI.
namespace ui {

inline constexpr double kTwipsPerInch = 1440.0;

// Rounded to the nearest pixel, halves away from zero (96 DPI: 15 twips a pixel).
inline int twipsToPixels(double twips, double logicalDpi) {
    return static_cast<int>(std::lround(twips * logicalDpi / kTwipsPerInch));
}

inline double twipsPerPixel(double logicalDpi) {
    return kTwipsPerInch / logicalDpi;
}

inline double pixelsToTwips(int pixels, double logicalDpi) {
    return pixels * twipsPerPixel(logicalDpi);
}

}  // namespace ui
