#include "platform/Process.h"

// <shellapi.h> needs what <windows.h> declares. The blank line keeps them in two include blocks, so
// sorting cannot put them back in the wrong order.
#include <windows.h>

#include <shellapi.h>

#include <cstddef>

namespace platform {
namespace {

#if !defined(_WIN64)
// The launch record as 32-bit Windows lays it out: 60 bytes, hProcess last.
static_assert(sizeof(SHELLEXECUTEINFOA) == 60);
static_assert(offsetof(SHELLEXECUTEINFOA, fMask) == 4);
static_assert(offsetof(SHELLEXECUTEINFOA, hwnd) == 8);
static_assert(offsetof(SHELLEXECUTEINFOA, lpVerb) == 12);
static_assert(offsetof(SHELLEXECUTEINFOA, lpFile) == 16);
static_assert(offsetof(SHELLEXECUTEINFOA, lpParameters) == 20);
static_assert(offsetof(SHELLEXECUTEINFOA, lpDirectory) == 24);
static_assert(offsetof(SHELLEXECUTEINFOA, nShow) == 28);
static_assert(offsetof(SHELLEXECUTEINFOA, hProcess) == 56);
#endif
static_assert(SEE_MASK_NOCLOSEPROCESS == 0x40 && SW_SHOWNORMAL == 1);

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
