// A stand-in for the Win32 drill's window: a menu bar with "◆ Copyright" and Version, the listening
// test's item inserted between them, and a recording character. Driven through a command file by
// test_listening_wine.py (see there); writes what it read and showed into its work folder.
//   tvx_listening_host.exe WORKDIR

#include <windows.h>

#include "core/drill/ReadOut1State.h"
#include "win32/drill/ListeningTest.h"

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace {

using win32::drill::narrow;
using win32::drill::widen;

constexpr UINT kCopyrightId = 1;
constexpr UINT kVersionId = 2;
constexpr UINT kListeningId = 3;
constexpr UINT_PTR kCommandTimer = 1;

std::filesystem::path workDir;

void append(const char* file, const std::string& line) {
    std::ofstream(workDir / file, std::ios::app | std::ios::binary) << line << "\n";
}

// Logs each reading with the engine set at that moment, as the fake SpVoice logs what it is handed.
class RecordingCharacter final : public agent::ICharacter, public agent::ICharacters {
public:
    class NullBalloon final : public agent::IBalloon {
    public:
        void setFontSize(int points) override { size_ = points; }
        int fontSize() const override { return size_; }

    private:
        int size_ = 0;
    };
    void Show() override {}
    void MoveTo(int, int, int) override {}
    agent::IBalloon& Balloon() override { return balloon_; }
    void setTTSModeID(const std::string& modeId) override { mode_ = modeId; }
    std::string TTSModeID() const override { return mode_; }
    void Speak(const std::string& text) override {
        append("spoken.log", (mode_ == agent::kJapaneseModeId ? "ja\t" : "en\t") + text);
    }
    void Load(const std::string&, const std::string&) override {}
    agent::ICharacter& Item(const std::string&) override { return *this; }

private:
    NullBalloon balloon_;
    std::string mode_;
};

drill::ReadOut1State mainState;
RecordingCharacter peedy;
int drillStops = 0;
win32::drill::ListeningTestMenu* menu = nullptr;
size_t commandsDone = 0;

std::wstring textOf(HWND hwnd) {
    wchar_t buffer[512] = {};
    GetWindowTextW(hwnd, buffer, 512);
    return buffer;
}

// The bar's items in order, a right-justified one marked with ">".
std::string menuItems(HMENU bar) {
    std::string items;
    for (int i = 0; i < GetMenuItemCount(bar); ++i) {
        wchar_t text[64] = {};
        MENUITEMINFOW info{};
        info.cbSize = sizeof info;
        info.fMask = MIIM_FTYPE | MIIM_STRING;
        info.dwTypeData = text;
        info.cch = 64;
        GetMenuItemInfoW(bar, static_cast<UINT>(i), TRUE, &info);
        items +=
            (items.empty() ? "" : "|") + std::string(info.fType & MFT_RIGHTJUSTIFY ? ">" : "") + narrow(text);
    }
    return items;
}

void sendKeys(const std::vector<INPUT>& inputs) {
    SendInput(static_cast<UINT>(inputs.size()), const_cast<INPUT*>(inputs.data()), sizeof(INPUT));
}

// Each character as a Unicode key, as an input method hands over its committed text.
void typeText(const std::wstring& text) {
    std::vector<INPUT> inputs;
    for (wchar_t c : text) {
        for (DWORD up : {DWORD{0}, DWORD{KEYEVENTF_KEYUP}}) {
            INPUT in{};
            in.type = INPUT_KEYBOARD;
            in.ki.wScan = c;
            in.ki.dwFlags = KEYEVENTF_UNICODE | up;
            inputs.push_back(in);
        }
    }
    sendKeys(inputs);
}

// The key with the modifiers held, all released again at the end.
void pressKey(WORD vk, std::vector<WORD> modifiers = {}) {
    std::vector<INPUT> inputs;
    const auto add = [&](WORD key, bool up) {
        INPUT in{};
        in.type = INPUT_KEYBOARD;
        in.ki.wVk = key;
        in.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
        inputs.push_back(in);
    };
    for (WORD m : modifiers) add(m, false);
    add(vk, false);
    add(vk, true);
    for (WORD m : modifiers) add(m, true);
    sendKeys(inputs);
}

// The test window's texts, one "id=text" a line, as a screen reader would find them.
std::string windowTexts() {
    std::ostringstream out;
    win32::drill::ListeningTest* test = menu->window();
    if (!test) return "closed\n";
    out << "title=" << narrow(textOf(test->hwnd())) << "\n";
    EnumChildWindows(
        test->hwnd(),
        [](HWND child, LPARAM lp) -> BOOL {
            *reinterpret_cast<std::ostringstream*>(lp)
                << GetDlgCtrlID(child) << "=" << narrow(textOf(child))
                << (IsWindowEnabled(child) ? "" : " (disabled)")
                << (SendMessageW(child, BM_GETCHECK, 0, 0) == BST_CHECKED ? " (checked)" : "")
                << (GetFocus() == child ? " (focus)" : "") << "\n";
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&out));
    RECT r{};
    GetWindowRect(test->hwnd(), &r);
    out << "rect=" << r.left << " " << r.top << " " << r.right - r.left << " " << r.bottom - r.top << "\n";
    // x11drv names the X window behind each top-level window: the test's screenshots are of it.
    out << "xwindow=" << reinterpret_cast<UINT_PTR>(GetPropW(test->hwnd(), L"__wine_x11_whole_window"))
        << "\n";
    return out.str();
}

// One command a line: "open", "type TEXT", "key return|escape|tab|backtab|space", "click
// save|japanese|english", "settext TEXT" (the focused box, as the file dialog's name box), "texts", "exit".
// Each done is answered in done.log.
bool run(HWND owner, const std::string& line) {
    const std::string verb = line.substr(0, line.find(' '));
    const std::string arg = line.size() > verb.size() ? line.substr(verb.size() + 1) : "";
    std::string reply;
    if (verb == "open") {
        PostMessageW(owner, WM_COMMAND, kListeningId, 0);  // as the menu item does
    } else if (verb == "type") {
        typeText(widen(arg));
    } else if (verb == "key") {
        if (arg == "backtab")
            pressKey(VK_TAB, {VK_SHIFT});
        else
            pressKey(arg == "return"   ? VK_RETURN
                     : arg == "escape" ? VK_ESCAPE
                     : arg == "space"  ? VK_SPACE
                                       : VK_TAB);
    } else if (verb == "click" && menu->window()) {
        using namespace win32::drill;
        const int id = arg == "save"       ? kSaveButton
                       : arg == "japanese" ? kJapaneseOption
                       : arg == "english"  ? kEnglishOption
                                           : kStartButton;
        // Posted: the file dialog's modal loop must not run inside this command.
        PostMessageW(GetDlgItem(menu->window()->hwnd(), id), BM_CLICK, 0, 0);
    } else if (verb == "settext") {
        SetWindowTextW(GetFocus(), widen(arg).c_str());
    } else if (verb == "texts") {
        reply = windowTexts();
    } else if (verb == "exit") {
        std::ofstream(workDir / "host-ran")
            << "menu=" << menuItems(GetMenu(owner)) << "\nstops=" << drillStops << "\n";
        PostQuitMessage(0);
    } else {
        reply = "unknown command\n";
    }
    std::ofstream(workDir / ("reply-" + std::to_string(commandsDone + 1) + ".txt"), std::ios::binary)
        << reply;
    append("done.log", std::to_string(commandsDone + 1));
    return true;
}

// Commands may arrive while the file dialog's modal loop runs: its loop dispatches this timer too.
void pollCommands(HWND owner) {
    static bool busy = false;
    if (busy) return;
    busy = true;
    std::ifstream in(workDir / "commands.txt", std::ios::binary);
    std::vector<std::string> lines;
    for (std::string l; std::getline(in, l);)
        if (!l.empty()) lines.push_back(l);
    while (commandsDone < lines.size()) {
        run(owner, lines[commandsDone]);
        ++commandsDone;
    }
    busy = false;
}

LRESULT CALLBACK ownerProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    switch (msg) {
        case WM_TIMER:
            pollCommands(hwnd);
            return 0;
        case WM_COMMAND:
            if (LOWORD(wp) == kListeningId) menu->open();
            return 0;
        case WM_DESTROY:
            PostQuitMessage(0);
            return 0;
        default:
            return DefWindowProcW(hwnd, msg, wp, lp);
    }
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc < 2) return 2;
    workDir = argv[1];
    // Numbers of one to seven digits, so that a dozen of them reach several groups of the table.
    mainState.PlaceMode = 1;
    for (int p = 1; p <= 7; ++p) mainState.DigitFlags[static_cast<size_t>(p)] = 1;

    WNDCLASSEXW wc{};
    wc.cbSize = sizeof wc;
    wc.lpfnWndProc = ownerProc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.hbrBackground = GetSysColorBrush(COLOR_BTNFACE);
    wc.lpszClassName = L"TvxListeningHost";
    RegisterClassExW(&wc);
    HMENU bar = CreateMenu();
    AppendMenuW(bar, MF_STRING, kCopyrightId, L"◆ Copyright");
    AppendMenuW(bar, MF_STRING | MF_RIGHTJUSTIFY, kVersionId, L"Version");
    if (!win32::drill::ListeningTestMenu::insertInto(bar, kVersionId, kListeningId)) return 3;
    HWND owner = CreateWindowExW(0, wc.lpszClassName, L"ReadOut1 stand-in", WS_OVERLAPPEDWINDOW, 20, 20, 420,
                                 300, nullptr, bar, wc.hInstance, nullptr);
    win32::drill::ListeningTestMenu listening(owner, mainState, peedy, peedy, [] { ++drillStops; });
    listening.options = [] {
        win32::drill::ListeningTestOptions o;
        o.trace = [](const std::string& line) { append("trace.log", line); };
        return o;
    };
    menu = &listening;
    ShowWindow(owner, SW_SHOW);
    SetTimer(owner, kCommandTimer, 50, nullptr);
    append("done.log", "0");  // ready
    MSG msg;
    while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    return 0;
}
