#pragma once

#include <QMargins>

class QWidget;

namespace ui {

// The frame (left, top, right, bottom, in pixels) that the window manager will draw around the
// top-level window, known before the window is mapped so that it can be placed by its outer size
// without a visible jump. Creates the native window. Zero when nothing will frame it (a bare X
// server) or when the window manager does not answer in time.
QMargins frameExtentsBeforeMapping(QWidget* window);
// Asks for that frame now, without waiting: the answer is usually there by the time it is needed.
// Creates the native window.
void requestFrameExtents(QWidget* window);

}  // namespace ui
