#pragma once

#include <QFont>
#include <QSize>
#include <QStringList>

class QWidget;

namespace ui {

// The size a control needs to show text whole in font, as its style draws it (buttons, check and
// option boxes, labels, one-line text boxes). Labels that wrap are measured at their own width.
QSize neededSize(const QWidget* control, const QFont& font, const QString& text);

// The stand-in faces are wider than the originals: gives control the largest font, from its own size
// down in quarter points, in which every text of texts fits. Geometry is never touched.
// Returns how many points were taken off (0 when the design size fits).
double shrinkFontToFit(QWidget* control, const QStringList& texts);

}  // namespace ui
