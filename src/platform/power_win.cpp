#include "platform/Power.h"

#include <windows.h>

namespace platform {
namespace {

constexpr UINT kShutdown = 1;           // EWX_SHUTDOWN
constexpr UINT kForcedPowerOff = 12;    // EWX_POWEROFF 8 + EWX_FORCE 4
constexpr DWORD kTokenAccess = 0x28;    // TOKEN_ADJUST_PRIVILEGES 0x20 + TOKEN_QUERY 0x8
constexpr DWORD kPrivilegeEnabled = 2;  // SE_PRIVILEGE_ENABLED
constexpr DWORD kRecordLength = 16;     // sizeof(TOKEN_PRIVILEGES) with one entry

// No result is examined: a refused request simply leaves the system running.
class WindowsPower final : public IPower {
public:
    void requestShutdown() override { ExitWindowsEx(kShutdown, 0); }

    void acquireShutdownRight() override {
        HANDLE token = nullptr;
        OpenProcessToken(GetCurrentProcess(), kTokenAccess, &token);
        TOKEN_PRIVILEGES record{};
        LookupPrivilegeValueA(nullptr, "SeShutdownPrivilege", &record.Privileges[0].Luid);
        record.PrivilegeCount = 1;
        record.Privileges[0].Attributes = kPrivilegeEnabled;
        TOKEN_PRIVILEGES previous{};
        DWORD returned = 0;
        AdjustTokenPrivileges(token, FALSE, &record, kRecordLength, &previous, &returned);
        // The request repeats every half second; an open token each time would pile up.
        if (token) CloseHandle(token);
    }

    void forcePowerOff() override { ExitWindowsEx(kForcedPowerOff, 0); }
};

static_assert(sizeof(TOKEN_PRIVILEGES) == kRecordLength);

}  // namespace

std::unique_ptr<IPower> makeSystemPower() {
    return std::make_unique<WindowsPower>();
}

}  // namespace platform
