// TallyvoxNumberInstall for Windows: consent, edition, then the installers beside this program in order.

#include "platform/Process.h"
#include "platform/Registry.h"
#include "win32/installer/Form1.h"
#include "win32/installer/MessageBoxDialogs.h"
#include "win32/ui/Dpi.h"

#include <windows.h>

#include <string>

namespace {

// The launcher's own folder in the ANSI code page, as the ANSI launch record takes it.
std::string programDirectory() {
    std::string path(MAX_PATH, '\0');
    for (;;) {
        const DWORD n = GetModuleFileNameA(nullptr, path.data(), static_cast<DWORD>(path.size()));
        if (n < path.size()) {
            path.resize(n);
            break;
        }
        path.resize(path.size() * 2);
    }
    const std::size_t cut = path.find_last_of("\\/");
    return cut == std::string::npos ? std::string() : path.substr(0, cut);
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
    win32::ui::enablePerMonitorDpi();
    const auto registry = platform::createSystemRegistry();
    const auto launcher = platform::createSystemProcessLauncher();
    win32::installer::MessageBoxDialogs dialogs;
    win32::installer::Form1 form(instance, *registry, *launcher, dialogs, programDirectory());
    // Declined or completed: the program ends without its window ever appearing.
    if (!form.start()) return 0;
    MSG msg;
    while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    return 0;
}
