#include "qt/ui/WidgetTrace.h"

#include "core/trace/Trace.h"

#include <QString>
#include <QWidget>

namespace ui {

void traceGeometry(std::string_view event, const QString& name, const QWidget* widget) {
    if (!widget || !trace::enabled()) return;
    const QPoint p = widget->mapToGlobal(QPoint(0, 0));
    trace::write(event, QStringLiteral("geometry %1 %2 %3 %4 %5")
                            .arg(name)
                            .arg(p.x())
                            .arg(p.y())
                            .arg(widget->width())
                            .arg(widget->height())
                            .toStdString());
}

}  // namespace ui
