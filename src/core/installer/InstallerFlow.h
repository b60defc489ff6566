#pragma once

#include "core/installer/InstallerDialogs.h"
#include "platform/Process.h"
#include "platform/Registry.h"

#include <cstdint>
#include <string>

namespace installer {

inline constexpr char kConsentText[] =
    "英語学習ソフト Tallyvox-Number （for Vista, XP, Me, 98, 95） をインストールする？";
inline constexpr char kLaunchErrorText[] = "ShellExecuteEx Error";
inline constexpr char kWaitErrorText[] = "WaitForSingleObject Error";

enum class LoadOutcome {
    Declined,    // No at the consent prompt: end at once
    Completed,   // the last installer finished: end without showing the window
    ErrorShown,  // an error was reported: the empty window stays until closed
};

// The whole launcher without its window: consent, product name, chain, error message.
class InstallerFlow {
public:
    InstallerFlow(platform::Registry& registry, platform::ProcessLauncher& launcher,
                  InstallerDialogs& dialogs, std::string directory);

    LoadOutcome run(std::uintptr_t ownerWindow);

private:
    platform::Registry& registry_;
    platform::ProcessLauncher& launcher_;
    InstallerDialogs& dialogs_;
    std::string directory_;
};

}  // namespace installer
