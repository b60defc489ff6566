#include "win32/installer/Form1.h"

#include "core/ui/Twips.h"
#include "win32/ui/Dpi.h"

#include <utility>

namespace win32::installer {
namespace {

constexpr wchar_t kClassName[] = L"TallyvoxNumberInstallForm1";
constexpr DWORD kStyle = WS_OVERLAPPEDWINDOW;

}  // namespace

Form1::Form1(HINSTANCE instance, platform::Registry& registry, platform::ProcessLauncher& launcher,
             ::installer::InstallerDialogs& dialogs, std::string directory)
    : flow_(registry, launcher, dialogs, std::move(directory)) {
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof(wc);
    wc.lpfnWndProc = windowProc;
    wc.hInstance = instance;
    wc.hCursor = LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW));
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    wc.lpszClassName = kClassName;
    RegisterClassExW(&wc);
    hwnd_ = CreateWindowExW(0, kClassName, L"Form1", kStyle, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT,
                            CW_USEDEFAULT, nullptr, nullptr, instance, nullptr);
    if (!hwnd_) return;
    // The client area is given in twips; the monitor the window lands on decides the pixels.
    const unsigned dpi = ui::windowDpi(hwnd_);
    const SIZE outer =
        ui::outerSizeForClient(::ui::twipsToPixels(kForm1WidthTwips, dpi),
                               ::ui::twipsToPixels(kForm1HeightTwips, dpi), kStyle, 0, false, dpi);
    SetWindowPos(hwnd_, nullptr, 0, 0, outer.cx, outer.cy, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

Form1::~Form1() {
    if (hwnd_ && IsWindow(hwnd_)) DestroyWindow(hwnd_);
}

::installer::LoadOutcome Form1::Form_Load() {
    // The launch record names this window as the owner of whatever the installers show.
    return flow_.run(reinterpret_cast<std::uintptr_t>(hwnd_));
}

bool Form1::start() {
    if (Form_Load() != ::installer::LoadOutcome::ErrorShown) return false;
    ShowWindow(hwnd_, SW_SHOWNORMAL);
    UpdateWindow(hwnd_);
    return true;
}

LRESULT CALLBACK Form1::windowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_DPICHANGED: {
            // Moved to a monitor of another DPI: the suggested rectangle keeps the client area's twips.
            const auto* r = reinterpret_cast<const RECT*>(lParam);
            SetWindowPos(hwnd, nullptr, r->left, r->top, r->right - r->left, r->bottom - r->top,
                         SWP_NOZORDER | SWP_NOACTIVATE);
            return 0;
        }
        case WM_DESTROY:
            PostQuitMessage(0);
            return 0;
        default:
            return DefWindowProcW(hwnd, message, wParam, lParam);
    }
}

}  // namespace win32::installer
