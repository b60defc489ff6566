#include "qt/ui/SessionBus.h"

#include <QCoreApplication>
#include <QDBusConnection>
#include <QTemporaryDir>

#include <gtest/gtest.h>
#include <pthread.h>
#include <unistd.h>

namespace ui {
namespace {

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
