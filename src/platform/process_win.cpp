#include "platform/Process.h"

#include <shellapi.h>
#include <windows.h>

namespace platform {
namespace {

#if !defined(_WIN64)
static_assert(sizeof(SHELLEXECUTEINFOA) == 60, "the launch record is 60 bytes on 32-bit Windows");
#endif

class WinProcessLauncher : public ProcessLauncher {
public:
    bool shellExecute(const ShellLaunch& launch, ProcessHandle& process) override {
        SHELLEXECUTEINFOA info{};
        info.cbSize = sizeof(info);
        info.fMask = SEE_MASK_NOCLOSEPROCESS;
        info.hwnd = reinterpret_cast<HWND>(launch.ownerWindow);
        info.lpVerb = launch.verb.c_str();
        info.lpFile = launch.file.c_str();
        info.lpParameters = launch.parameters.c_str();
        info.lpDirectory = launch.directory.c_str();
        info.nShow = launch.showCommand;
        const BOOL ok = ShellExecuteExA(&info);
        // hProcess is NULL whenever no process was started, whatever the return value.
        process = reinterpret_cast<ProcessHandle>(info.hProcess);
        return ok != FALSE;
    }

    std::uint32_t waitForProcess(ProcessHandle process) override {
        return WaitForSingleObject(reinterpret_cast<HANDLE>(process), INFINITE);
    }

    bool closeHandle(ProcessHandle process) override {
        return CloseHandle(reinterpret_cast<HANDLE>(process)) != FALSE;
    }
};

}  // namespace

std::unique_ptr<ProcessLauncher> createSystemProcessLauncher() {
    return std::make_unique<WinProcessLauncher>();
}

}  // namespace platform
