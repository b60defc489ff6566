#pragma once

#include "platform/Power.h"

#include <windows.h>

#include <memory>

namespace win32::drill {

// The whole program after WinMain: start-up, the main window and its message loop. power: the
// auto-end's shutdown requests, null for the machine's own.
int runDrill(HINSTANCE instance, std::unique_ptr<platform::IPower> power);

}  // namespace win32::drill
