#include "platform/Power.h"

#include <QDBusConnection>
#include <QDBusError>
#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QObject>

#include <cstdio>
#include <functional>
#include <optional>

namespace platform {
namespace {

constexpr auto kService = "org.freedesktop.login1";
constexpr auto kPath = "/org/freedesktop/login1";
constexpr auto kInterface = "org.freedesktop.login1.Manager";

// systemd-logind's Manager object. Calls are asynchronous so that a slow or absent logind, or an
// authorisation prompt, never holds up the window's event loop; the bus keeps them in the order sent.
class LogindPower final : public IPower {
public:
    explicit LogindPower(std::function<QDBusConnection()> bus) : busSource_(std::move(bus)) {}

    void requestShutdown() override { send("PowerOff", {true}, true); }
    void acquireShutdownRight() override { send("CanPowerOff", {}, false); }
    void forcePowerOff() override { send("PowerOff", {false}, false); }

private:
    QDBusConnection& bus() {
        if (!bus_) bus_ = busSource_();
        return *bus_;
    }

    void send(const char* method, const QList<QVariant>& args, bool interactive) {
        QDBusMessage msg = QDBusMessage::createMethodCall(kService, kPath, kInterface, method);
        msg.setArguments(args);
        msg.setInteractiveAuthorizationAllowed(interactive);
        // No timeout of our own: an authorisation dialog may stay open for long.
        auto* watcher = new QDBusPendingCallWatcher(bus().asyncCall(msg, -1), &context_);
        QObject::connect(watcher, &QDBusPendingCallWatcher::finished, &context_,
                         [this](QDBusPendingCallWatcher* w) {
                             if (w->isError()) reportOnce(w->error());
                             w->deleteLater();
                         });
    }

    // Refusals repeat at every tick; one line is enough to explain why the machine stays up.
    void reportOnce(const QDBusError& error) {
        if (reported_) return;
        reported_ = true;
        std::fprintf(stderr, "Tallyvox-Number: the shutdown request was refused: %s: %s\n",
                     qPrintable(error.name()), qPrintable(error.message()));
        std::fflush(stderr);
    }

    std::function<QDBusConnection()> busSource_;
    std::optional<QDBusConnection> bus_;
    QObject context_;
    bool reported_ = false;
};

}  // namespace

std::unique_ptr<IPower> makeLogindPower(const std::string& busAddress) {
    const QString address = QString::fromStdString(busAddress);
    return std::make_unique<LogindPower>(
        [address] { return QDBusConnection::connectToBus(address, QStringLiteral("tvx-power ") + address); });
}

std::unique_ptr<IPower> makeSystemPower() {
    return std::make_unique<LogindPower>([] { return QDBusConnection::systemBus(); });
}

}  // namespace platform
