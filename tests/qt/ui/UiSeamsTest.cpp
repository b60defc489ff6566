#include "qt/ui/DisplayPlatform.h"
#include "qt/ui/FirstExpose.h"
#include "qt/ui/JapaneseFonts.h"
#include "qt/ui/MenuBarStyle.h"
#include "qt/ui/QtJapanese.h"
#include "qt/ui/SessionBus.h"

#include "QtTestApp.h"
#include "StandInFaces.h"

#include <QApplication>
#include <QFontMetrics>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QWindow>

#include <map>
#include <memory>
#include <set>
#include <string>
#include <vector>

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

// The drill's style keeps the desktop's look and every icon but the never-shown overflow button's.
TEST(MenuBarStyle, ChangesOnlyTheOverflowButtonsIcon) {
    MenuBarStyle style;
    ASSERT_FALSE(QApplication::style()->standardIcon(QStyle::SP_MessageBoxInformation).isNull());
    EXPECT_EQ(style.baseStyle()->name(), QApplication::style()->name());
    EXPECT_TRUE(style.standardIcon(QStyle::SP_ToolBarHorizontalExtensionButton).isNull());
    for (const QStyle::StandardPixmap icon :
         {QStyle::SP_MessageBoxInformation, QStyle::SP_MessageBoxWarning, QStyle::SP_MessageBoxCritical,
          QStyle::SP_ToolBarVerticalExtensionButton, QStyle::SP_TitleBarCloseButton}) {
        EXPECT_EQ(style.standardIcon(icon).isNull(), QApplication::style()->standardIcon(icon).isNull())
            << icon;
    }
}

// Each stand-in asks for one installed face, and that face alone draws every caption kind the windows
// show: with one face asked for, a missing glyph would be drawn from some other font.
TEST(JapaneseFonts, OneInstalledFaceHoldsEveryGlyphTheWindowsShow) {
    const QString texts = QStringLiteral(
        "数字読上げ　英⇒日シャットダウン指定吹き出しを表示しない日 - 英 の間隔を長くする／縮める"
        "範囲指定桁指定一十百千万億兆（Ｔａｌｌｙｖｏｘ－Ｎｕｍｂｅｒ）"
        "0123456789,.%あと 5.0 分でTallyvox-Number終了聞き取りテスト誤答率");
    for (const auto& [font, faces] :
         {std::pair{gothicFont(12), kGothicFaces}, {pGothicFont(12), kPGothicFaces}}) {
        expectOneInstalledFace(font, faces);
        const QFontMetrics fm(font);
        for (const QChar c : texts)
            EXPECT_TRUE(fm.inFont(c))
                << font.families().front().toStdString() << " lacks U+" << std::hex << int(c.unicode());
    }
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

TEST(SessionBus, AbsentOnlyWhenTheLibraryCouldFindNoBusAndNoLauncher) {
    const struct {
        std::map<std::string, QByteArray> env;
        std::set<QByteArray> files;
        bool absent;
    } cases[] = {
        {{{"XDG_RUNTIME_DIR", "/run/user/1000"}, {"PATH", "/usr/local/bin:/usr/bin"}}, {}, true},
        {{{"DBUS_SESSION_BUS_ADDRESS", "unix:path=/run/user/1000/bus"}}, {}, false},
        {{{"XDG_RUNTIME_DIR", "/run/user/1000"}}, {"/run/user/1000/bus"}, false},
        {{{"PATH", "/opt/bin"}}, {"/usr/bin/dbus-launch"}, false},  // the library's own
        {{{"PATH", "/usr/local/bin:/opt/bin"}}, {"/opt/bin/dbus-launch"}, false},
        {{}, {"/bin/dbus-launch"}, false},                     // PATH unset: /bin and /usr/bin
        {{{"PATH", "/opt/bin::"}}, {"./dbus-launch"}, false},  // an empty entry: the current folder
    };
    for (const auto& c : cases) {
        const auto has = [&](const QByteArray& path) { return c.files.count(path) > 0; };
        EXPECT_EQ(sessionBusIsAbsent({environment(c.env), has, has}), c.absent) << c.files.size() << " files";
    }
}

TEST(DisplayPlatform, OnlyAWaylandPlatformCannotPlaceWindows) {
    EXPECT_EQ(windowsCannotBePlaced(), QGuiApplication::platformName().startsWith(QStringLiteral("wayland")));
    EXPECT_FALSE(windowsCannotBePlaced()) << "tests run offscreen";
}

TEST(AfterFirstExpose, RunsOnceAfterThePaintedExposeAndNeverWithoutItsContext) {
    for (const bool contextGoesFirst : {false, true}) {
        QWidget window;
        auto context = std::make_unique<QObject>();
        std::vector<bool> runs;  // exposed when each ran
        afterFirstExpose(window, *context, [&] { runs.push_back(window.windowHandle()->isExposed()); });
        QCoreApplication::processEvents();
        if (contextGoesFirst) context.reset();
        for (int shown = 0; shown < 2; ++shown) {
            window.hide();
            window.show();
            ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
        }
        QTest::qWait(20);
        EXPECT_EQ(runs, contextGoesFirst ? std::vector<bool>{} : std::vector<bool>{true});
    }
}

}  // namespace
}  // namespace ui
