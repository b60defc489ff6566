#pragma once

// Windows only: the system calls behind a shutdown request, gathered in one table so that tests can
// put recorders in place of ExitWindowsEx. The shipped program uses systemWinPowerCalls().

#include "platform/Power.h"

#include <windows.h>

#include <memory>

namespace platform {

// Each entry has exactly the type of the system function it stands for.
struct WinPowerCalls {
    decltype(&::GetCurrentProcess) getCurrentProcess;
    decltype(&::OpenProcessToken) openProcessToken;
    decltype(&::LookupPrivilegeValueA) lookupPrivilegeValueA;
    decltype(&::AdjustTokenPrivileges) adjustTokenPrivileges;
    decltype(&::ExitWindowsEx) exitWindowsEx;
    decltype(&::CloseHandle) closeHandle;
};

// GetCurrentProcess, OpenProcessToken, LookupPrivilegeValueA, AdjustTokenPrivileges, ExitWindowsEx and
// CloseHandle of kernel32, advapi32 and user32.
const WinPowerCalls& systemWinPowerCalls();

// The requests made through calls; makeSystemPower() is makeWindowsPower(systemWinPowerCalls()).
std::unique_ptr<IPower> makeWindowsPower(const WinPowerCalls& calls);

}  // namespace platform
