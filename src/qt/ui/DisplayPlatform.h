#pragma once

#include <QByteArray>

#include <functional>

namespace ui {

// The environment as the choice below reads it; tests hand in their own.
using EnvironmentLookup = std::function<QByteArray(const char* name)>;

// True when the program should ask Qt for its X11 platform: a Wayland session with XWayland
// running, where only X11 lets a client put the character at screen coordinates. A platform the
// user chose (QT_QPA_PLATFORM) is always kept.
bool preferX11(const EnvironmentLookup& env);

// Applies preferX11 to this process's environment; call before the application object exists.
void chooseDisplayPlatform();

// After start-up: true when windows cannot be placed at screen coordinates (a Wayland platform).
bool windowsCannotBePlaced();

}  // namespace ui
