#include "qt/ui/WholeLines.h"

#include <QFontMetrics>
#include <QGuiApplication>
#include <QLabel>
#include <QMessageBox>
#include <QScreen>

#include <algorithm>

namespace ui {

void keepLinesWhole(QMessageBox& box) {
    box.setTextFormat(Qt::PlainText);
    auto* label = box.findChild<QLabel*>(QStringLiteral("qt_msgbox_label"));
    if (!label) return;
    const QFontMetrics fm(label->font());
    int widest = 0;
    const QStringList lines = box.text().split(QLatin1Char('\n'));
    for (const QString& line : lines)
        widest = std::max(widest, fm.horizontalAdvance(QString(line).remove(QLatin1Char('\r'))));
    const QScreen* screen = box.screen() ? box.screen() : QGuiApplication::primaryScreen();
    // QMessageBox lets itself grow to the screen's width on screens up to 1024 pixels, else to
    // 480 pixels less (at most 1000); the label gets that less the box's margins.
    const int screenWidth = screen ? screen->availableGeometry().width() : 1024;
    const int room = (screenWidth <= 1024 ? screenWidth : std::min(screenWidth - 480, 1000)) - 60;
    // A little slack for rounding in the label's own layout.
    label->setMinimumWidth(std::min(widest + 4, room));
}

}  // namespace ui
