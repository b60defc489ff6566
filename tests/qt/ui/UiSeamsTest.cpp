#include "qt/ui/DisplayPlatform.h"
#include "qt/ui/QtJapanese.h"

#include "QtTestApp.h"

#include <QApplication>
#include <QMessageBox>
#include <QPushButton>

#include <map>
#include <string>

#include <gtest/gtest.h>

namespace ui {
namespace {

QString label(QMessageBox& box, QMessageBox::StandardButton which) {
    return box.button(which)->text().remove(QLatin1Char('&'));
}

TEST(QtJapanese, StandardButtonsReadJapanese) {
    ASSERT_TRUE(installQtJapanese()) << "no qt_ja in " << qtTranslationsDir().toStdString()
                                     << " (install qt6-translations-l10n: scripts/install-deps.sh)";
    QMessageBox box(QMessageBox::NoIcon, QStringLiteral("t"), QStringLiteral("?"),
                    QMessageBox::Yes | QMessageBox::No | QMessageBox::Ok);
    EXPECT_TRUE(label(box, QMessageBox::Yes).startsWith(QStringLiteral("はい")))
        << label(box, QMessageBox::Yes).toStdString();
    EXPECT_TRUE(label(box, QMessageBox::No).startsWith(QStringLiteral("いいえ")))
        << label(box, QMessageBox::No).toStdString();
    EXPECT_TRUE(label(box, QMessageBox::Ok).startsWith(QStringLiteral("OK")));
}

EnvironmentLookup environment(std::map<std::string, QByteArray> vars) {
    return [vars = std::move(vars)](const char* name) {
        const auto it = vars.find(name);
        return it == vars.end() ? QByteArray() : it->second;
    };
}

TEST(DisplayPlatform, WaylandSessionsUseXWaylandWhenItRunsAndUserChoicesStand) {
    // Plasma or GNOME on Wayland with XWayland: X11, so that the character can be placed.
    EXPECT_TRUE(preferX11(environment({{"WAYLAND_DISPLAY", "wayland-0"}, {"DISPLAY", ":0"}})));
    EXPECT_TRUE(preferX11(environment({{"XDG_SESSION_TYPE", "wayland"}, {"DISPLAY", ":1"}})));
    // No X server to turn to: Qt's own choice, and the program says it cannot place the character.
    EXPECT_FALSE(preferX11(environment({{"WAYLAND_DISPLAY", "wayland-0"}})));
    // An X11 session, or a platform the user asked for, is left alone.
    EXPECT_FALSE(preferX11(environment({{"XDG_SESSION_TYPE", "x11"}, {"DISPLAY", ":0"}})));
    EXPECT_FALSE(preferX11(
        environment({{"WAYLAND_DISPLAY", "wayland-0"}, {"DISPLAY", ":0"}, {"QT_QPA_PLATFORM", "wayland"}})));
    EXPECT_FALSE(preferX11(environment({})));
}

TEST(DisplayPlatform, OnlyAWaylandPlatformCannotPlaceWindows) {
    EXPECT_EQ(windowsCannotBePlaced(), QGuiApplication::platformName().startsWith(QStringLiteral("wayland")));
    EXPECT_FALSE(windowsCannotBePlaced()) << "tests run offscreen";
}

}  // namespace
}  // namespace ui
