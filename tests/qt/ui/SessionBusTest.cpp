#include "qt/ui/SessionBus.h"

#include <QCoreApplication>
#include <QDBusConnection>
#include <QTemporaryDir>

#include <map>
#include <set>
#include <string>
#include <vector>

#include <gtest/gtest.h>
#include <pthread.h>
#include <unistd.h>

namespace ui {
namespace {

TEST(SessionBus, AbsentOnlyWhenTheLibraryCouldFindNoBusAndNoLauncher) {
    struct Case {
        const char* what;
        std::map<std::string, QByteArray> env;
        std::set<QByteArray> files;
        bool absent;
    };
    const std::vector<Case> cases = {
        {"nothing to find", {{"PATH", "/usr/local/bin:/usr/bin"}}, {}, true},
        {"a runtime folder without a bus",
         {{"XDG_RUNTIME_DIR", "/run/user/1000"}, {"PATH", "/usr/bin"}},
         {},
         true},
        {"an address", {{"DBUS_SESSION_BUS_ADDRESS", "unix:path=/run/user/1000/bus"}}, {}, false},
        {"the user's bus socket", {{"XDG_RUNTIME_DIR", "/run/user/1000"}}, {"/run/user/1000/bus"}, false},
        {"the library's own dbus-launch", {{"PATH", "/opt/bin"}}, {"/usr/bin/dbus-launch"}, false},
        {"dbus-launch on PATH", {{"PATH", "/usr/local/bin:/opt/bin"}}, {"/opt/bin/dbus-launch"}, false},
        {"PATH unset searches /bin", {}, {"/bin/dbus-launch"}, false},
        {"an empty PATH entry is the current folder", {{"PATH", "/opt/bin::"}}, {"./dbus-launch"}, false},
    };
    for (const Case& c : cases) {
        const auto has = [&](const QByteArray& path) { return c.files.count(path) > 0; };
        const SessionBusClues clues{[&](const char* name) {
                                        const auto it = c.env.find(name);
                                        return it == c.env.end() ? QByteArray() : it->second;
                                    },
                                    has, has};
        EXPECT_EQ(sessionBusIsAbsent(clues), c.absent) << c.what;
    }
}

int forks = 0;

TEST(SessionBus, AnAbsentBusIsSettledWithoutAForkAndTheEnvironmentStays) {
    if (::access("/usr/bin/dbus-launch", X_OK) == 0) GTEST_SKIP() << "dbus-launch may find a bus here";
    QTemporaryDir runtime;
    QTemporaryDir emptyPath;
    qunsetenv("DBUS_SESSION_BUS_ADDRESS");
    qputenv("XDG_RUNTIME_DIR", runtime.path().toLocal8Bit());
    qputenv("PATH", emptyPath.path().toLocal8Bit());
    // The library looks for dbus-launch only with a display to start a bus for.
    qputenv("DISPLAY", ":99");
    pthread_atfork([] { ++forks; }, nullptr, nullptr);
    int argc = 1;
    char name[] = "tvx_qt_session_bus_test";
    char* argv[] = {name, nullptr};
    QCoreApplication app(argc, argv);

    settleAbsentSessionBus();
    EXPECT_EQ(forks, 0);
    EXPECT_TRUE(qgetenv("DBUS_SESSION_BUS_ADDRESS").isNull());
    EXPECT_FALSE(QDBusConnection::sessionBus().isConnected());
    EXPECT_EQ(forks, 0) << "Qt keeps the failed attempt and never repeats it";
}

}  // namespace
}  // namespace ui
