#pragma once

#include "core/installer/InstallerFlow.h"

#include <windows.h>

#include <string>

namespace win32::installer {

// Client size of the window in twips.
inline constexpr int kForm1WidthTwips = 4680;
inline constexpr int kForm1HeightTwips = 3195;

// The launcher's only window: caption "Form1", no controls, no menu. It is created hidden so that the
// launch record can name it as the installers' owner, and shown only after an error was reported.
class Form1 {
public:
    Form1(HINSTANCE instance, platform::Registry& registry, platform::ProcessLauncher& launcher,
          ::installer::InstallerDialogs& dialogs, std::string directory);
    ~Form1();
    Form1(const Form1&) = delete;
    Form1& operator=(const Form1&) = delete;

    HWND hwnd() const { return hwnd_; }

    // Does all the launcher's work, before the window is shown.
    ::installer::LoadOutcome Form_Load();

    // Form_Load, then shows the window when it stays (after an error). True when it is shown.
    bool start();

private:
    static LRESULT CALLBACK windowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);

    ::installer::InstallerFlow flow_;
    HWND hwnd_ = nullptr;
};

}  // namespace win32::installer
