#pragma once

#include "core/installer/InstallChains.h"
#include "platform/Process.h"

#include <cstdint>
#include <string>

namespace installer {

enum class ChainResult { Completed, LaunchFailed, WaitFailed };

// Runs the steps of a chain one after the other from the launcher's directory, waiting for each.
// Stops at the first failed examined launch or failed wait; nothing is retried or undone.
class ChainRunner {
public:
    ChainRunner(platform::ProcessLauncher& launcher, std::string directory, std::uintptr_t ownerWindow);

    ChainResult run(InstallChain chain);

private:
    platform::ProcessLauncher& launcher_;
    std::string directory_;
    std::uintptr_t ownerWindow_;
};

}  // namespace installer
