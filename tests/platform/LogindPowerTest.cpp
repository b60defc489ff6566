#include "QtTestEnvironment.h"
#include "platform/Power.h"

#include <QCoreApplication>
#include <QDBusConnection>
#include <QDBusContext>
#include <QDBusMessage>
#include <QDeadlineTimer>
#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

namespace {

::testing::Environment* const kApp = tvx::test::registerQtApp<QCoreApplication>();

// A stand-in for systemd-logind's Manager that records each call with its arguments.
class FakeLogind : public QObject, protected QDBusContext {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.freedesktop.login1.Manager")
public:
    std::vector<std::string> calls;
    bool refuse = false;

public slots:
    QString CanPowerOff() {
        calls.push_back("CanPowerOff" + flag());
        if (refuse) sendErrorReply(QDBusError::AccessDenied, QStringLiteral("not allowed here"));
        return QStringLiteral("yes");
    }
    void PowerOff(bool interactive) {
        calls.push_back(std::string("PowerOff(") + (interactive ? "true" : "false") + ")" + flag());
        if (refuse)
            sendErrorReply(QStringLiteral("org.freedesktop.login1.NotAllowed"),
                           QStringLiteral("refused by test"));
    }

private:
    // Whether the caller allowed an authorisation prompt.
    std::string flag() const { return message().isInteractiveAuthorizationAllowed() ? " interactive" : ""; }
};

// A private bus: dbus-daemon with a temporary configuration, stopped at the end of the test.
class PrivateBus {
public:
    PrivateBus() {
        const QString config = dir_.filePath(QStringLiteral("bus.conf"));
        QFile f(config);
        if (!f.open(QIODevice::WriteOnly)) return;
        f.write(QStringLiteral(
                    "<!DOCTYPE busconfig PUBLIC \"-//freedesktop//DTD D-Bus Bus Configuration 1.0//EN\"\n"
                    " \"http://www.freedesktop.org/standards/dbus/1.0/busconfig.dtd\">\n"
                    "<busconfig><type>session</type><listen>unix:dir=%1</listen>"
                    "<auth>EXTERNAL</auth><policy context=\"default\"><allow send_destination=\"*\"/>"
                    "<allow receive_sender=\"*\"/><allow own=\"*\"/></policy></busconfig>\n")
                    .arg(dir_.path())
                    .toUtf8());
        f.close();
        daemon_.start(QStringLiteral("dbus-daemon"),
                      {QStringLiteral("--config-file=") + config, QStringLiteral("--print-address"),
                       QStringLiteral("--nofork")});
        if (!daemon_.waitForStarted(5000)) return;
        const QDeadlineTimer deadline(5000);
        while (!daemon_.canReadLine() && !deadline.hasExpired()) daemon_.waitForReadyRead(100);
        address_ = QString::fromUtf8(daemon_.readLine()).trimmed();
    }
    ~PrivateBus() {
        daemon_.terminate();
        if (!daemon_.waitForFinished(3000)) daemon_.kill();
        daemon_.waitForFinished(3000);
    }
    const QString& address() const { return address_; }

private:
    QTemporaryDir dir_;
    QProcess daemon_;
    QString address_;
};

class LogindPower : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_FALSE(bus.address().isEmpty()) << "dbus-daemon did not start";
        ASSERT_FALSE(bus.address().contains(QStringLiteral("system_bus_socket")));
        service = QDBusConnection::connectToBus(bus.address(), QStringLiteral("fake-logind"));
        ASSERT_TRUE(service.isConnected());
        ASSERT_TRUE(service.registerService(QStringLiteral("org.freedesktop.login1")));
        ASSERT_TRUE(service.registerObject(QStringLiteral("/org/freedesktop/login1"), &logind,
                                           QDBusConnection::ExportAllSlots));
        power = platform::makeLogindPower(bus.address().toStdString());
    }
    void TearDown() override {
        power.reset();
        QDBusConnection::disconnectFromBus(QStringLiteral("fake-logind"));
    }
    // Runs the event loop until the stand-in has seen n calls and their replies have come back.
    void waitForCalls(std::size_t n) {
        const QDeadlineTimer deadline(5000);
        while (logind.calls.size() < n && !deadline.hasExpired())
            QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
        const QDeadlineTimer settle(200);
        while (!settle.hasExpired()) QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    }

    PrivateBus bus;
    FakeLogind logind;
    QDBusConnection service{QString()};
    std::unique_ptr<platform::IPower> power;
};

using Calls = std::vector<std::string>;

TEST_F(LogindPower, PlainRequestAllowsAuthorisation) {
    power->requestShutdown();
    waitForCalls(1);
    EXPECT_EQ(logind.calls, Calls{"PowerOff(true) interactive"});
}

TEST_F(LogindPower, ForcedPathAsksTheRightThenPowersOffWithoutPrompt) {
    power->acquireShutdownRight();
    power->forcePowerOff();
    waitForCalls(2);
    EXPECT_EQ(logind.calls, (Calls{"CanPowerOff", "PowerOff(false)"}));
}

TEST_F(LogindPower, RefusalIsRetriedAndReportedOnce) {
    logind.refuse = true;
    ::testing::internal::CaptureStderr();
    for (int tick = 0; tick < 3; ++tick) {
        power->acquireShutdownRight();
        power->forcePowerOff();
        waitForCalls(2 * (tick + 1));
    }
    const std::string err = ::testing::internal::GetCapturedStderr();
    EXPECT_EQ(logind.calls.size(), 6u);
    EXPECT_EQ(logind.calls.back(), "PowerOff(false)");
    std::size_t lines = 0;
    for (std::size_t at = err.find("refused"); at != std::string::npos; at = err.find("refused", at + 1))
        ++lines;
    EXPECT_EQ(lines, 1u) << err;
    EXPECT_NE(err.find("org.freedesktop.DBus.Error.AccessDenied"), std::string::npos) << err;
}

TEST_F(LogindPower, AcceptedRequestsWriteNothing) {
    ::testing::internal::CaptureStderr();
    power->requestShutdown();
    waitForCalls(1);
    EXPECT_EQ(::testing::internal::GetCapturedStderr(), "");
}

TEST(LogindPowerWithoutService, MissingLogindIsReportedOnceAndNeverThrows) {
    PrivateBus bus;
    ASSERT_FALSE(bus.address().isEmpty());
    auto power = platform::makeLogindPower(bus.address().toStdString());
    ::testing::internal::CaptureStderr();
    for (int i = 0; i < 3; ++i) {
        EXPECT_NO_THROW(power->requestShutdown());
        EXPECT_NO_THROW(power->forcePowerOff());
    }
    const QDeadlineTimer settle(1000);
    while (!settle.hasExpired()) QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    const std::string err = ::testing::internal::GetCapturedStderr();
    EXPECT_NE(err.find("ServiceUnknown"), std::string::npos) << err;
    EXPECT_EQ(err.find("refused"), err.rfind("refused")) << err;
    power.reset();
}

}  // namespace

#include "LogindPowerTest.moc"
