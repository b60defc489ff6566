// tvx_win32_character_demo PEEDY.acs SECONDS: the parrot and its balloon over a plain window, for a
// screenshot under Wine (scripts/windows-character-screenshot.sh); not a test.
#include <windows.h>

#include "core/agent/AgentApi.h"
#include "win32/agent/CharacterView.h"

#include <cstdio>
#include <cstdlib>

int main(int argc, char** argv) {
    if (argc != 3) return 2;
    HWND owner = CreateWindowExW(0, L"STATIC", L"owner", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 20, 20, 640, 360,
                                 nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
    try {
        auto parrot = win32::agent::loadCharacterView(argv[1], owner);
        parrot->show();
        parrot->moveTo(60, 200);
        parrot->openBalloon("12,345,678 千二百三十四万");
        SetTimer(nullptr, 0, static_cast<UINT>(std::atoi(argv[2]) * 1000), nullptr);
        MSG msg;
        while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
            if (msg.message == WM_TIMER && msg.hwnd == nullptr) break;
            DispatchMessageW(&msg);
        }
    } catch (const agent::AgentError& e) {
        std::fprintf(stderr, "%s\n", e.what());
        return 1;
    }
    return 0;
}
