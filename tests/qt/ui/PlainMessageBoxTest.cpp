#include "qt/ui/PlainMessageBox.h"

#include "QtTestApp.h"

#include <QApplication>
#include <QGuiApplication>
#include <QLabel>
#include <QScreen>

#include <gtest/gtest.h>

#include <memory>

namespace {

QString shownText(const QMessageBox& box) {
    for (const QLabel* label : box.findChildren<QLabel*>())
        if (label->objectName() == QLatin1String("qt_msgbox_label")) return label->text();
    return {};
}

// Hostile file text: markup that must stay markup, an image that must never load, and sizes that
// once made a box taller than the screen or took seconds to lay out.
TEST(PlainMessageBox, ShowsMarkupAsTextAndAlwaysFitsTheScreen) {
    const QRect room = QGuiApplication::primaryScreen()->availableGeometry();
    const QString cases[] = {
        QStringLiteral(
            "<b style='font-size:80pt;color:red'>BIG</b><a href='http://x'>x</a><img src='/tmp/f'>"),
        QStringLiteral("The file cannot be used:") + QString(500, QLatin1Char('\n')) + QStringLiteral("end"),
        QString(5 * 1024 * 1024, QLatin1Char('w')),
        QString(3000, QLatin1Char(' ')).replace(QLatin1Char(' '), QStringLiteral("word ")),
    };
    for (const QString& text : cases) {
        std::unique_ptr<QMessageBox> box(
            ui::newPlainMessageBox(QMessageBox::Critical, QStringLiteral("Tallyvox-Number"), text));
        EXPECT_EQ(box->textFormat(), Qt::PlainText);
        box->show();
        QApplication::processEvents();
        const QRect frame = box->frameGeometry();
        EXPECT_TRUE(room.contains(frame)) << frame.x() << "," << frame.y() << " " << frame.width() << "x"
                                          << frame.height() << " for text of " << text.size();
        EXPECT_LE(shownText(*box).size(), 20 * 401);
        box->hide();
    }
    std::unique_ptr<QMessageBox> html(
        ui::newPlainMessageBox(QMessageBox::Warning, QStringLiteral("t"), cases[0]));
    EXPECT_TRUE(shownText(*html).contains(QStringLiteral("<b style=")));
}

TEST(KeepOnScreen, PullsBackAndShrinksAWindowLargerThanTheScreen) {
    const QRect room = QGuiApplication::primaryScreen()->availableGeometry();
    QWidget window;
    window.setGeometry(room.right() + 300, room.bottom() + 300, room.width() * 3, room.height() * 2);
    window.show();
    ui::keepOnScreen(window);
    EXPECT_TRUE(room.contains(window.frameGeometry()));
}

}  // namespace
