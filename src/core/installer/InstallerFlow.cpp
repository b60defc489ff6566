#include "core/installer/InstallerFlow.h"

#include "core/installer/ChainRunner.h"
#include "core/installer/InstallChains.h"
#include "platform/EditionLookup.h"

#include <utility>

namespace installer {

InstallerFlow::InstallerFlow(platform::Registry& registry, platform::ProcessLauncher& launcher,
                             InstallerDialogs& dialogs, std::string directory)
    : registry_(registry), launcher_(launcher), dialogs_(dialogs), directory_(std::move(directory)) {}

LoadOutcome InstallerFlow::run(std::uintptr_t ownerWindow) {
    if (!dialogs_.askYesNo(kConsentText)) return LoadOutcome::Declined;
    const InstallChain chain = chooseChain(platform::productName(registry_));
    switch (ChainRunner(launcher_, directory_, ownerWindow).run(chain)) {
        case ChainResult::Completed:
            return LoadOutcome::Completed;
        case ChainResult::LaunchFailed:
            dialogs_.showMessage(kLaunchErrorText);
            break;
        case ChainResult::WaitFailed:
            dialogs_.showMessage(kWaitErrorText);
            break;
    }
    return LoadOutcome::ErrorShown;
}

}  // namespace installer
