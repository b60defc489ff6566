#pragma once

#include "core/installer/InstallerDialogs.h"

namespace win32::installer {

inline constexpr char kMessageBoxTitle[] = "TallyvoxNumberInstall";

// The shipped dialogs: MessageBoxW without an icon, so that the Japanese consent text shows whatever
// the system's ANSI code page is.
class MessageBoxDialogs : public ::installer::InstallerDialogs {
public:
    bool askYesNo(const std::string& text) override;
    void showMessage(const std::string& text) override;
};

}  // namespace win32::installer
