#pragma once

#include <string>

namespace installer {

// The launcher's message boxes, so that tests can answer them. Texts are UTF-8.
class InstallerDialogs {
public:
    virtual ~InstallerDialogs() = default;
    // A Yes/No box without an icon; true for Yes.
    virtual bool askYesNo(const std::string& text) = 0;
    // A box with an OK button only.
    virtual void showMessage(const std::string& text) = 0;
};

}  // namespace installer
