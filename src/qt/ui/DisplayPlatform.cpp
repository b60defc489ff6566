#include "qt/ui/DisplayPlatform.h"

#include <QGuiApplication>

namespace ui {

bool preferX11(const EnvironmentLookup& env) {
    if (!env("QT_QPA_PLATFORM").isEmpty()) return false;
    const bool wayland = !env("WAYLAND_DISPLAY").isEmpty() || env("XDG_SESSION_TYPE") == "wayland";
    return wayland && !env("DISPLAY").isEmpty();
}

void chooseDisplayPlatform() {
    if (preferX11([](const char* name) { return qgetenv(name); })) qputenv("QT_QPA_PLATFORM", "xcb");
}

bool windowsCannotBePlaced() {
    return QGuiApplication::platformName().startsWith(QLatin1String("wayland"));
}

}  // namespace ui
