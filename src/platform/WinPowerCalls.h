#pragma once

// Windows only: the system calls behind a shutdown request, gathered in one table so that tests can
// put recorders in place of ExitWindowsEx. The shipped program uses systemWinPowerCalls().

#include "platform/Power.h"

#include <windows.h>

#include <memory>

namespace platform {

struct WinPowerCalls {
    HANDLE(WINAPI* getCurrentProcess)();
    BOOL(WINAPI* openProcessToken)(HANDLE process, DWORD access, PHANDLE token);
    BOOL(WINAPI* lookupPrivilegeValueA)(LPCSTR systemName, LPCSTR name, PLUID luid);
    BOOL(WINAPI* adjustTokenPrivileges)
    (HANDLE token, BOOL disableAll, PTOKEN_PRIVILEGES newState, DWORD bufferLength,
     PTOKEN_PRIVILEGES previousState, PDWORD returnLength);
    BOOL(WINAPI* exitWindowsEx)(UINT flags, DWORD reason);
    BOOL(WINAPI* closeHandle)(HANDLE handle);
};

// GetCurrentProcess, OpenProcessToken, LookupPrivilegeValueA, AdjustTokenPrivileges, ExitWindowsEx and
// CloseHandle of kernel32, advapi32 and user32.
const WinPowerCalls& systemWinPowerCalls();

// The requests made through calls; makeSystemPower() is makeWindowsPower(systemWinPowerCalls()).
std::unique_ptr<IPower> makeWindowsPower(const WinPowerCalls& calls);

}  // namespace platform
