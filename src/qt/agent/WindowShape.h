#pragma once

#include <QGuiApplication>
#include <QRegion>
#include <QWidget>

namespace agent {

// X11 without a compositor paints see-through pixels black; a shape keeps them out of the window.
// Elsewhere the compositor blends them, and some platforms cannot shape windows at all.
inline void shapeWindow(QWidget& window, const QRegion& shape) {
    if (QGuiApplication::platformName() == QLatin1String("xcb")) window.setMask(shape);
}

}  // namespace agent
