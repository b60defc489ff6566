#include "core/installer/ChainRunner.h"

#include "core/installer/InstallPaths.h"

#include <utility>

namespace installer {

ChainRunner::ChainRunner(platform::ProcessLauncher& launcher, std::string directory,
                         std::uintptr_t ownerWindow)
    : launcher_(launcher), directory_(std::move(directory)), ownerWindow_(ownerWindow) {}

ChainResult ChainRunner::run(InstallChain chain) {
    platform::ShellLaunch launch;
    launch.ownerWindow = ownerWindow_;
    launch.verb = "Open";
    for (const ChainStep& step : chainSteps(chain)) {
        launch.file = installerFilePath(directory_, step.file);
        launch.parameters.clear();
        launch.directory.clear();
        launch.showCommand = platform::kShowNormal;
        platform::ProcessHandle process = platform::kNoProcess;
        const bool launched = launcher_.shellExecute(launch, process);
        if (step.launchExamined && !launched) return ChainResult::LaunchFailed;
        // An unexamined launch that started nothing leaves no handle, so this wait fails.
        const std::uint32_t waited = launcher_.waitForProcess(process);
        if (process != platform::kNoProcess) launcher_.closeHandle(process);
        if (waited != platform::kWaitProcessEnded) return ChainResult::WaitFailed;
    }
    return ChainResult::Completed;
}

}  // namespace installer
