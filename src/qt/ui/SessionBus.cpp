#include "qt/ui/SessionBus.h"

#include <QDBusConnection>

#include <unistd.h>

namespace ui {
namespace {

constexpr const char* kAddressVariable = "DBUS_SESSION_BUS_ADDRESS";

}  // namespace

bool sessionBusIsAbsent(const SessionBusClues& clues) {
    if (!clues.env(kAddressVariable).isEmpty()) return false;
    const QByteArray runtime = clues.env("XDG_RUNTIME_DIR");
    if (!runtime.isEmpty() && clues.exists(runtime + "/bus")) return false;
    // The library runs the dbus-launch of its own folder, then searches PATH as execvp does: an unset
    // PATH means /bin and /usr/bin, an empty entry the current folder.
    if (clues.isExecutable("/usr/bin/dbus-launch")) return false;
    const QByteArray path = clues.env("PATH");
    for (const QByteArray& folder : (path.isNull() ? QByteArray("/bin:/usr/bin") : path).split(':')) {
        if (clues.isExecutable((folder.isEmpty() ? QByteArray(".") : folder) + "/dbus-launch")) return false;
    }
    return true;
}

void settleAbsentSessionBus() {
    const SessionBusClues here{[](const char* name) { return qgetenv(name); },
                               [](const QByteArray& path) { return ::access(path.constData(), F_OK) == 0; },
                               [](const QByteArray& path) { return ::access(path.constData(), X_OK) == 0; }};
    if (!sessionBusIsAbsent(here)) return;
    const QByteArray before = qgetenv(kAddressVariable);
    // An address of no known kind: the library refuses it without forking.
    qputenv(kAddressVariable, "disabled:");
    QDBusConnection::sessionBus();
    if (before.isNull())
        qunsetenv(kAddressVariable);
    else
        qputenv(kAddressVariable, before);
}

}  // namespace ui
