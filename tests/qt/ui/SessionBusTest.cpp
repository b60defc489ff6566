#include "qt/ui/SessionBus.h"

#include <QCoreApplication>
#include <QDBusConnection>
#include <QTemporaryDir>

#include <map>
#include <set>
#include <string>

#include <gtest/gtest.h>
#include <pthread.h>
#include <unistd.h>

namespace ui {
namespace {

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
        const auto env = [&](const char* name) { return c.env.count(name) ? c.env.at(name) : QByteArray(); };
        EXPECT_EQ(sessionBusIsAbsent({env, has, has}), c.absent)
            << c.files.size() << " files, " << c.env.size();
    }
}

int forks = 0;

TEST(SessionBus, AnAbsentBusIsSettledWithoutAForkAndTheEnvironmentStays) {
    if (::access("/usr/bin/dbus-launch", X_OK) == 0) GTEST_SKIP() << "dbus-launch may find a bus here";
    QTemporaryDir runtime;
    qunsetenv("DBUS_SESSION_BUS_ADDRESS");
    qputenv("XDG_RUNTIME_DIR", runtime.path().toLocal8Bit());
    qputenv("PATH", runtime.path().toLocal8Bit());
    qputenv("DISPLAY", ":99");  // the library looks for dbus-launch only with a display
    pthread_atfork([] { ++forks; }, nullptr, nullptr);
    int argc = 1;
    char name[] = "tvx_qt_session_bus_test";
    char* argv[] = {name, nullptr};
    const QCoreApplication app(argc, argv);

    settleAbsentSessionBus();
    EXPECT_TRUE(qgetenv("DBUS_SESSION_BUS_ADDRESS").isNull());
    EXPECT_FALSE(QDBusConnection::sessionBus().isConnected());
    EXPECT_EQ(forks, 0) << "Qt keeps the failed attempt and never repeats it";
}

}  // namespace
}  // namespace ui
