#pragma once

#include <windows.h>

namespace win32::agent {

// Registers a window class whose windows draw and handle nothing themselves (the parrot and its
// balloon are painted with UpdateLayeredWindow or by their owner's timers); callers keep the atom in a
// static, so each class is registered once.
inline ATOM registerPlainWindowClass(const wchar_t* name) {
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof wc;
    wc.lpfnWndProc = DefWindowProcW;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.hCursor = LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW));
    wc.lpszClassName = name;
    return RegisterClassExW(&wc);
}

}  // namespace win32::agent
