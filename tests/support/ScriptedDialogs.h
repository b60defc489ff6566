#pragma once

#include "core/installer/InstallerDialogs.h"

#include <string>
#include <vector>

namespace installer::testing {

// Answers the consent box with a fixed reply and keeps every text shown, in order.
class ScriptedDialogs : public InstallerDialogs {
public:
    explicit ScriptedDialogs(bool yes = true) : yes_(yes) {}
    bool askYesNo(const std::string& text) override {
        questions.push_back(text);
        return yes_;
    }
    void showMessage(const std::string& text) override { messages.push_back(text); }

    std::vector<std::string> questions;
    std::vector<std::string> messages;

private:
    bool yes_;
};

}  // namespace installer::testing
