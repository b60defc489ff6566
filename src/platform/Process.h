#pragma once

#include <cstdint>
#include <memory>
#include <string>

namespace platform {

// A started process; 0 stands for "no process".
using ProcessHandle = std::uintptr_t;
inline constexpr ProcessHandle kNoProcess = 0;

// Result of waitForProcess: 0 means the process ended; anything else is a failed wait.
inline constexpr std::uint32_t kWaitProcessEnded = 0;
inline constexpr std::uint32_t kWaitFailed = 0xFFFFFFFFu;

inline constexpr int kShowNormal = 1;

// The fields of a shell launch (the ANSI SHELLEXECUTEINFO record) that callers fill.
struct ShellLaunch {
    std::uintptr_t ownerWindow = 0;
    std::string verb;
    std::string file;
    std::string parameters;
    std::string directory;  // empty: the caller's current directory
    int showCommand = kShowNormal;
};

// Starting a file with a shell verb and waiting for the process it started, shaped like
// ShellExecuteExA (with the process handle asked for), WaitForSingleObject(INFINITE) and CloseHandle.
class ProcessLauncher {
public:
    virtual ~ProcessLauncher() = default;

    // True when the launch succeeded. process is the started process, or kNoProcess when none started.
    virtual bool shellExecute(const ShellLaunch& launch, ProcessHandle& process) = 0;

    // Waits without time-out for the process to end; the process's exit code is not looked at.
    virtual std::uint32_t waitForProcess(ProcessHandle process) = 0;

    virtual bool closeHandle(ProcessHandle process) = 0;
};

// On Windows the shell; elsewhere the verb "Open" runs an executable file directly, without a shell.
std::unique_ptr<ProcessLauncher> createSystemProcessLauncher();

}  // namespace platform
