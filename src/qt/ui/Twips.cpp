#include "qt/ui/Twips.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

namespace ui {

double screenLogicalDpi() {
    const QScreen* s = QGuiApplication::primaryScreen();
    return s ? s->logicalDotsPerInch() : 96.0;
}

void setGeometryTwips(QWidget* w, double left, double top, double width, double height) {
    const double dpi = screenLogicalDpi();
    w->setGeometry(twipsToPixels(left, dpi), twipsToPixels(top, dpi), twipsToPixels(width, dpi),
                   twipsToPixels(height, dpi));
}

}  // namespace ui
