#pragma once

class QWidget;

namespace platform {

inline constexpr double kTwipsPerInch = 1440.0;

// Converts a twips length to pixels at the given logical DPI (96 DPI: 15 twips a pixel).
int twipsToPixels(double twips, double logicalDpi);
double pixelsToTwips(int pixels, double logicalDpi);

// The logical DPI of the primary screen (96 when there is none).
double screenLogicalDpi();

// Places w at (left, top) with size (width, height), all in twips, within its parent.
void setGeometryTwips(QWidget* w, double left, double top, double width, double height);

} // namespace platform
