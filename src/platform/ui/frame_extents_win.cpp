#include "platform/ui/FrameExtents.h"

#include <QWidget>

namespace platform {

// Windows knows a window's frame as soon as the window exists.
QMargins frameExtentsBeforeMapping(QWidget* window) {
    window->winId();
    const QRect inner = window->geometry();
    const QRect outer = window->frameGeometry();
    return {inner.left() - outer.left(), inner.top() - outer.top(), outer.right() - inner.right(),
            outer.bottom() - inner.bottom()};
}

}  // namespace platform
