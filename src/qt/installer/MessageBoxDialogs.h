#pragma once

#include "core/installer/InstallerDialogs.h"

namespace installer {

inline constexpr char kMessageBoxTitle[] = "TallyvoxNumberInstall";

// The shipped dialogs: modal QMessageBox boxes without an icon.
class MessageBoxDialogs : public InstallerDialogs {
public:
    bool askYesNo(const std::string& text) override;
    void showMessage(const std::string& text) override;
};

}  // namespace installer
