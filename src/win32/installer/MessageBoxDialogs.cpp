#include "win32/installer/MessageBoxDialogs.h"

#include "win32/ui/WideText.h"

#include <windows.h>

namespace win32::installer {

bool MessageBoxDialogs::askYesNo(const std::string& text) {
    return MessageBoxW(nullptr, ui::toWide(text).c_str(), ui::toWide(kMessageBoxTitle).c_str(),
                       MB_YESNO | MB_SETFOREGROUND) == IDYES;
}

void MessageBoxDialogs::showMessage(const std::string& text) {
    MessageBoxW(nullptr, ui::toWide(text).c_str(), ui::toWide(kMessageBoxTitle).c_str(),
                MB_OK | MB_SETFOREGROUND);
}

}  // namespace win32::installer
