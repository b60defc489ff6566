#pragma once

#include "core/ui/Twips.h"

class QWidget;

namespace ui {

// The logical DPI of the primary screen (96 when there is none).
double screenLogicalDpi();

// Places w at (left, top) with size (width, height), all in twips, within its parent.
void setGeometryTwips(QWidget* w, double left, double top, double width, double height);

}  // namespace ui
