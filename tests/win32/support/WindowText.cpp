// tvx_window_text: prints every visible top-level window of the Wine session and its child controls as
// one JSON object a line, in UTF-8: handle, title, class, screen rectangle, and for each child its
// class, text, style, rectangle, tick and focus; for all of them the enabled state and the owner. The
// end-to-end tests read message boxes and windows back with it.

#include <windows.h>

#include <cstdio>
#include <string>

namespace {

std::string utf8(const std::wstring& w) {
    if (w.empty()) return {};
    const int n =
        WideCharToMultiByte(CP_UTF8, 0, w.data(), static_cast<int>(w.size()), nullptr, 0, nullptr, nullptr);
    std::string s(static_cast<std::size_t>(n), '\0');
    WideCharToMultiByte(CP_UTF8, 0, w.data(), static_cast<int>(w.size()), s.data(), n, nullptr, nullptr);
    return s;
}

std::string json(const std::wstring& w) {
    std::string out = "\"";
    for (const char c : utf8(w)) {
        if (c == '"' || c == '\\') {
            out += '\\';
            out += c;
        } else if (static_cast<unsigned char>(c) < 0x20) {
            char buf[8];
            std::snprintf(buf, sizeof buf, "\\u%04x", static_cast<unsigned char>(c));
            out += buf;
        } else {
            out += c;
        }
    }
    return out + "\"";
}

std::wstring text(HWND w) {
    wchar_t buf[4096] = {};
    // WM_GETTEXT rather than GetWindowText: it also reads controls of other processes.
    SendMessageTimeoutW(w, WM_GETTEXT, 4096, reinterpret_cast<LPARAM>(buf), SMTO_ABORTIFHUNG, 2000, nullptr);
    return buf;
}

std::wstring className(HWND w) {
    wchar_t buf[256] = {};
    GetClassNameW(w, buf, 256);
    return buf;
}

std::string rect(HWND w) {
    RECT r{};
    GetWindowRect(w, &r);
    char buf[96];
    std::snprintf(buf, sizeof buf, "[%ld,%ld,%ld,%ld]", r.left, r.top, r.right, r.bottom);
    return buf;
}

std::string describe(HWND w) {
    char head[64];
    std::snprintf(head, sizeof head, "{\"hwnd\":%llu,\"pid\":",
                  static_cast<unsigned long long>(reinterpret_cast<std::uintptr_t>(w)));
    DWORD pid = 0;
    GetWindowThreadProcessId(w, &pid);
    return std::string(head) + std::to_string(pid) + ",\"class\":" + json(className(w)) +
           ",\"text\":" + json(text(w)) + ",\"style\":" + std::to_string(GetWindowLongW(w, GWL_STYLE)) +
           ",\"id\":" + std::to_string(GetDlgCtrlID(w)) + ",\"rect\":" + rect(w) +
           ",\"enabled\":" + (IsWindowEnabled(w) ? "true" : "false") +
           ",\"owner\":" + std::to_string(reinterpret_cast<std::uintptr_t>(GetWindow(w, GW_OWNER)));
}

// The control with the keyboard focus in the thread of each window (GetFocus sees only our own).
HWND focusOf(HWND w) {
    GUITHREADINFO info{};
    info.cbSize = sizeof info;
    return GetGUIThreadInfo(GetWindowThreadProcessId(w, nullptr), &info) ? info.hwndFocus : nullptr;
}

BOOL CALLBACK child(HWND w, LPARAM out) {
    auto& s = *reinterpret_cast<std::string*>(out);
    if (s.back() != '[') s += ',';
    const bool icon = SendMessageW(w, STM_GETICON, 0, 0) != 0 && className(w) == L"Static";
    s += describe(w) + ",\"visible\":" + (IsWindowVisible(w) ? "true" : "false") +
         ",\"icon\":" + (icon ? "true" : "false") + ",\"checked\":" +
         (className(w) == L"Button" && SendMessageW(w, BM_GETCHECK, 0, 0) == BST_CHECKED ? "true" : "false") +
         ",\"focus\":" + (focusOf(w) == w ? "true" : "false") + "}";
    return TRUE;
}

BOOL CALLBACK topLevel(HWND w, LPARAM) {
    if (!IsWindowVisible(w)) return TRUE;
    RECT client{};
    GetClientRect(w, &client);
    std::string line = describe(w) + ",\"client\":[" + std::to_string(client.right) + "," +
                       std::to_string(client.bottom) + "],\"children\":[";
    EnumChildWindows(w, child, reinterpret_cast<LPARAM>(&line));
    line += "]}\n";
    std::fwrite(line.data(), 1, line.size(), stdout);
    return TRUE;
}

}  // namespace

int main() {
    EnumWindows(topLevel, 0);
    std::fflush(stdout);
    return 0;
}
