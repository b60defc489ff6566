#pragma once

#include <windows.h>

// DPI of the monitor a window is on. Windows 10 1703 and later (and Wine) answer per monitor; older
// systems have only the system DPI, so the calls are looked up at run time.
namespace win32::ui {

// Asks for per-monitor (v2) DPI awareness, falling back to system awareness. Call before any window.
void enablePerMonitorDpi();

unsigned windowDpi(HWND window);

// Outer size of a window whose client area is clientWidth x clientHeight pixels at dpi.
SIZE outerSizeForClient(int clientWidth, int clientHeight, DWORD style, DWORD exStyle, bool menu,
                        unsigned dpi);

}  // namespace win32::ui
