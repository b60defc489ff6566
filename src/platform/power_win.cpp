#include "platform/Power.h"
#include "platform/WinPowerCalls.h"

namespace platform {
namespace {

constexpr UINT kShutdown = 1;           // EWX_SHUTDOWN
constexpr UINT kForcedPowerOff = 12;    // EWX_POWEROFF 8 + EWX_FORCE 4
constexpr DWORD kTokenAccess = 0x28;    // TOKEN_ADJUST_PRIVILEGES 0x20 + TOKEN_QUERY 0x8
constexpr DWORD kPrivilegeEnabled = 2;  // SE_PRIVILEGE_ENABLED
constexpr DWORD kRecordLength = 16;     // sizeof(TOKEN_PRIVILEGES) with one entry

static_assert(sizeof(TOKEN_PRIVILEGES) == kRecordLength);

// No result is examined: a refused request simply leaves the system running.
class WindowsPower final : public IPower {
public:
    explicit WindowsPower(const WinPowerCalls& calls) : calls_(calls) {}

    void requestShutdown() override { calls_.exitWindowsEx(kShutdown, 0); }

    void acquireShutdownRight() override {
        HANDLE token = nullptr;
        calls_.openProcessToken(calls_.getCurrentProcess(), kTokenAccess, &token);
        TOKEN_PRIVILEGES record{};
        calls_.lookupPrivilegeValueA(nullptr, "SeShutdownPrivilege", &record.Privileges[0].Luid);
        record.PrivilegeCount = 1;
        record.Privileges[0].Attributes = kPrivilegeEnabled;
        TOKEN_PRIVILEGES previous{};
        DWORD returned = 0;
        calls_.adjustTokenPrivileges(token, FALSE, &record, kRecordLength, &previous, &returned);
        // The request repeats every half second; an open token each time would pile up.
        if (token) calls_.closeHandle(token);
    }

    void forcePowerOff() override { calls_.exitWindowsEx(kForcedPowerOff, 0); }

private:
    WinPowerCalls calls_;
};

}  // namespace

const WinPowerCalls& systemWinPowerCalls() {
    static const WinPowerCalls calls{&GetCurrentProcess,     &OpenProcessToken, &LookupPrivilegeValueA,
                                     &AdjustTokenPrivileges, &ExitWindowsEx,    &CloseHandle};
    return calls;
}

std::unique_ptr<IPower> makeWindowsPower(const WinPowerCalls& calls) {
    return std::make_unique<WindowsPower>(calls);
}

std::unique_ptr<IPower> makeSystemPower() {
    return makeWindowsPower(systemWinPowerCalls());
}

}  // namespace platform
