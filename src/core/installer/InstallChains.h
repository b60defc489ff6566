#pragma once

#include <span>
#include <string_view>

namespace installer {

enum class InstallChain { Windows95, Windows98Me, WindowsXp };

struct ChainStep {
    std::string_view file;  // begins with a backslash; joined to the launcher's directory
    bool launchExamined;    // a failed launch of this step is reported as a launch error
};

// The first 20 characters of the product name choose the chain; an unknown name takes the XP one.
InstallChain chooseChain(std::string_view productName);

std::span<const ChainStep> chainSteps(InstallChain chain);

}  // namespace installer
