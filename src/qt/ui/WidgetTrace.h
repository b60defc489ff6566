#pragma once

#include <string_view>

class QString;
class QWidget;

namespace ui {

// Writes "<event> geometry <name> <x> <y> <width> <height>" (global pixels) to the program's trace,
// so that an end-to-end run finds a control it cannot read off the screen.
void traceGeometry(std::string_view event, const QString& name, const QWidget* widget);

}  // namespace ui
