#pragma once

#include <QObject>

#include <functional>

class QWidget;

namespace ui {

// Runs `then` once from the event loop, just after `window`'s first expose has been painted, so that
// work which can wait does not take the CPU from the window manager while it maps the window. Nothing
// runs if `context` goes first.
void afterFirstExpose(QWidget& window, QObject& context, std::function<void()> then);

}  // namespace ui
