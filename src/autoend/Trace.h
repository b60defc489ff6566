#pragma once

class QString;
class QWidget;

namespace autoend::trace {

// A test hook for the end-to-end runs: when TVX_AUTOEND_TRACE names a file, the auto-end appends one
// line per visible change it makes to it. Without the variable nothing is written anywhere.
bool enabled();
void line(const QString& text);
// "geometry <name> <x> <y> <width> <height>", in global pixels.
void geometry(const QString& name, const QWidget* widget);

}  // namespace autoend::trace
