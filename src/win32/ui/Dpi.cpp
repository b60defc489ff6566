#include "win32/ui/Dpi.h"

namespace win32::ui {
namespace {

template <typename F>
F user32(const char* name) {
    return reinterpret_cast<F>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"user32.dll"), name)));
}

}  // namespace

void enablePerMonitorDpi() {
    using SetContext = BOOL(WINAPI*)(DPI_AWARENESS_CONTEXT);
    if (auto set = user32<SetContext>("SetProcessDpiAwarenessContext")) {
        if (set(DPI_AWARENESS_CONTEXT_PER_MONITOR_AWARE_V2) || set(DPI_AWARENESS_CONTEXT_PER_MONITOR_AWARE))
            return;
    }
    using SetAware = BOOL(WINAPI*)();
    if (auto set = user32<SetAware>("SetProcessDPIAware")) set();
}

unsigned windowDpi(HWND window) {
    using GetDpi = UINT(WINAPI*)(HWND);
    if (auto get = user32<GetDpi>("GetDpiForWindow"); get && window) {
        if (const UINT dpi = get(window)) return dpi;
    }
    HDC dc = GetDC(window);
    const int dpi = GetDeviceCaps(dc, LOGPIXELSY);
    ReleaseDC(window, dc);
    return dpi > 0 ? static_cast<unsigned>(dpi) : 96u;
}

SIZE outerSizeForClient(int clientWidth, int clientHeight, DWORD style, DWORD exStyle, bool menu,
                        unsigned dpi) {
    RECT r{0, 0, clientWidth, clientHeight};
    using Adjust = BOOL(WINAPI*)(LPRECT, DWORD, BOOL, DWORD, UINT);
    if (auto adjust = user32<Adjust>("AdjustWindowRectExForDpi")) {
        adjust(&r, style, menu, exStyle, dpi);
    } else {
        AdjustWindowRectEx(&r, style, menu, exStyle);
    }
    return SIZE{r.right - r.left, r.bottom - r.top};
}

}  // namespace win32::ui
