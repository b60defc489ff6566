// The drill program's start-up and message loop, shared by Tallyvox-Number.exe and its test builds.

#include "win32/drill/DrillMain.h"

#include "platform/Power.h"
#include "win32/agent/SapiAgent.h"
#include "win32/drill/DrillTexts.h"
#include "win32/drill/ReadOut1.h"
#include "win32/ui/Dpi.h"
#include "win32/ui/WideText.h"

#include <commctrl.h>

#include <cstdio>
#include <cstdlib>
#include <exception>
#include <string>
#include <utility>

namespace {

std::string programDirectory() {
    std::wstring path(MAX_PATH, L'\0');
    for (;;) {
        const DWORD n = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
        if (n < path.size()) {
            path.resize(n);
            break;
        }
        path.resize(path.size() * 2);
    }
    const std::size_t cut = path.find_last_of(L"\\/");
    return win32::ui::toUtf8(cut == std::wstring::npos ? std::wstring() : path.substr(0, cut));
}

// Proof for the tests that this build really ran (a 32-bit program under a 64-bit-only Wine exits 0
// having run nothing): the file named by TVX_RAN_MARKER, when set, is written at start.
void leaveRunMarker() {
    const char* path = std::getenv("TVX_RAN_MARKER");
    if (!path || !*path) return;
    if (FILE* f = std::fopen(path, "w")) {
        std::fprintf(f, "Tallyvox-Number %d\n", static_cast<int>(sizeof(void*) * 8));
        std::fclose(f);
    }
}

}  // namespace

namespace win32::drill {

int runDrill(HINSTANCE instance, std::unique_ptr<platform::IPower> power) {
    leaveRunMarker();
    win32::ui::enablePerMonitorDpi();
    INITCOMMONCONTROLSEX controls{sizeof(controls), ICC_UPDOWN_CLASS | ICC_STANDARD_CLASSES};
    InitCommonControlsEx(&controls);

    std::unique_ptr<win32::drill::ReadOut1> window;
    try {
        window = std::make_unique<win32::drill::ReadOut1>(
            instance,
            [](HWND owner) {
                return std::make_unique<win32::agent::SapiAgent>(owner, [owner](const std::string& text) {
                    MessageBoxW(owner, win32::ui::toWide(text).c_str(),
                                win32::ui::toWide(win32::drill::kProgramTitle).c_str(),
                                MB_OK | MB_ICONINFORMATION);
                });
            },
            programDirectory(), std::move(power));
        window->Form_Load();
    } catch (const std::exception& e) {
        // Start-up traps nothing of its own: report the fault and end without showing the window.
        window.reset();
        MessageBoxW(nullptr, win32::ui::toWide(win32::drill::startupFailureText(e.what())).c_str(),
                    win32::ui::toWide(win32::drill::kProgramTitle).c_str(), MB_OK | MB_ICONERROR);
        return 1;
    }
    window->show();
    MSG msg;
    while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
        if (IsDialogMessageW(window->hwnd(), &msg)) continue;
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    return 0;
}

}  // namespace win32::drill
