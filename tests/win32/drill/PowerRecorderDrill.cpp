// Tallyvox-Number with its shutdown calls replaced by recorders, for the auto-end's shutdown rows under
// Wine: each call is written as one line to the file named by TVX_POWER_LOG, and no call reaches the
// system. The shipped program is main.cpp; this build is never installed.

#include "platform/WinPowerCalls.h"
#include "win32/drill/DrillMain.h"

#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <string>

namespace {

HANDLE const kProcess = reinterpret_cast<HANDLE>(0x77);
HANDLE const kToken = reinterpret_cast<HANDLE>(0x1234);

// "<ms since the Unix epoch> <call>", the clock of the SpVoice double's log.
void record(const std::string& call) {
    const char* path = std::getenv("TVX_POWER_LOG");
    if (!path || !*path) return;
    FILETIME ft;
    GetSystemTimePreciseAsFileTime(&ft);
    const ULONGLONG t = (static_cast<ULONGLONG>(ft.dwHighDateTime) << 32) | ft.dwLowDateTime;
    if (FILE* f = std::fopen(path, "ab")) {
        std::fprintf(f, "%.1f %s\n", static_cast<double>(t - 116444736000000000ULL) / 10000.0, call.c_str());
        std::fclose(f);
    }
}

HANDLE WINAPI getCurrentProcess() {
    record("GetCurrentProcess");
    return kProcess;
}

BOOL WINAPI openProcessToken(HANDLE process, DWORD access, PHANDLE token) {
    record("OpenProcessToken " + std::string(process == kProcess ? "process" : "other") + " " +
           std::to_string(access));
    *token = kToken;
    return TRUE;
}

BOOL WINAPI lookupPrivilegeValueA(LPCSTR system, LPCSTR name, PLUID luid) {
    record(std::string("LookupPrivilegeValueA ") + (system ? system : "(local)") + " " + name);
    luid->LowPart = 19;
    luid->HighPart = 0;
    return TRUE;
}

BOOL WINAPI adjustTokenPrivileges(HANDLE token, BOOL disableAll, PTOKEN_PRIVILEGES record_, DWORD length,
                                  PTOKEN_PRIVILEGES, PDWORD) {
    record("AdjustTokenPrivileges " + std::string(token == kToken ? "token" : "other") + " " +
           std::to_string(disableAll) + " " + std::to_string(record_->PrivilegeCount) + " " +
           std::to_string(record_->Privileges[0].Luid.LowPart) + " " +
           std::to_string(record_->Privileges[0].Attributes) + " " + std::to_string(length));
    return TRUE;
}

BOOL WINAPI exitWindowsEx(UINT flags, DWORD reserved) {
    record("ExitWindowsEx " + std::to_string(flags) + " " + std::to_string(reserved));
    return TRUE;
}

BOOL WINAPI closeHandle(HANDLE h) {
    record(std::string("CloseHandle ") + (h == kToken ? "token" : "other"));
    return TRUE;
}

const platform::WinPowerCalls kRecorders{&getCurrentProcess,     &openProcessToken, &lookupPrivilegeValueA,
                                         &adjustTokenPrivileges, &exitWindowsEx,    &closeHandle};

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
    return win32::drill::runDrill(instance, platform::makeWindowsPower(kRecorders));
}
