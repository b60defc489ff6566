// The shutdown request on Windows, call by call. ExitWindowsEx is always a recorder here: the real one
// is only ever reached through systemWinPowerCalls() in the shipped program.

#include "core/autoend/ShutdownWindows.h"
#include "platform/WinPowerCalls.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

namespace {

using Calls = std::vector<std::string>;

HANDLE const kProcess = reinterpret_cast<HANDLE>(0x77);
HANDLE const kToken = reinterpret_cast<HANDLE>(0x1234);

// What the fakes saw; the table's entries are plain function pointers, so the record is global.
struct Seen {
    Calls calls;
    bool tokenOpens = true;
    TOKEN_PRIVILEGES adjusted{};
    HANDLE adjustedToken = nullptr;
    bool previousGiven = false;
    bool returnedGiven = false;
    LUID looked{};
};
Seen seen;

HANDLE WINAPI fakeGetCurrentProcess() {
    seen.calls.push_back("GetCurrentProcess");
    return kProcess;
}

BOOL WINAPI fakeOpenProcessToken(HANDLE process, DWORD access, PHANDLE token) {
    seen.calls.push_back("OpenProcessToken " + std::to_string(reinterpret_cast<std::uintptr_t>(process)) +
                         " " + std::to_string(access));
    if (!seen.tokenOpens) return FALSE;
    *token = kToken;
    return TRUE;
}

BOOL WINAPI fakeLookupPrivilegeValueA(LPCSTR system, LPCSTR name, PLUID luid) {
    seen.calls.push_back(std::string("LookupPrivilegeValueA ") + (system ? system : "(local)") + " " + name);
    luid->LowPart = 19;
    luid->HighPart = 0;
    return TRUE;
}

BOOL WINAPI recordAdjust(HANDLE token, BOOL disableAll, PTOKEN_PRIVILEGES record, DWORD length,
                         PTOKEN_PRIVILEGES previous, PDWORD returned) {
    seen.calls.push_back("AdjustTokenPrivileges " + std::to_string(disableAll) + " " +
                         std::to_string(length));
    seen.adjustedToken = token;
    seen.adjusted = *record;
    seen.previousGiven = previous != nullptr;
    seen.returnedGiven = returned != nullptr;
    return TRUE;
}

BOOL WINAPI fakeExitWindowsEx(UINT flags, DWORD reason) {
    seen.calls.push_back("ExitWindowsEx " + std::to_string(flags) + " " + std::to_string(reason));
    return TRUE;
}

BOOL WINAPI fakeCloseHandle(HANDLE handle) {
    seen.calls.push_back("CloseHandle " + std::to_string(reinterpret_cast<std::uintptr_t>(handle)));
    return TRUE;
}

const platform::WinPowerCalls kFakes{&fakeGetCurrentProcess,     &fakeOpenProcessToken,
                                     &fakeLookupPrivilegeValueA, &recordAdjust,
                                     &fakeExitWindowsEx,         &fakeCloseHandle};

Calls shutDown(const std::string& edition, const platform::WinPowerCalls& calls = kFakes) {
    seen = Seen{};
    auto power = platform::makeWindowsPower(calls);
    autoend::ShutdownWindows(edition, *power);
    return seen.calls;
}

const Calls kPrivilegedPowerOff = {
    "GetCurrentProcess",
    "OpenProcessToken 119 40",  // 0x77, TOKEN_ADJUST_PRIVILEGES | TOKEN_QUERY
    "LookupPrivilegeValueA (local) SeShutdownPrivilege",
    "AdjustTokenPrivileges 0 16",
    "CloseHandle 4660",  // the token
    "ExitWindowsEx 12 0",
};

}  // namespace

TEST(ShutdownWindowsWin, OldEditionsOnlyAskForAnOrdinaryShutdown) {
    for (const char* tag : {"95", "98", "ME"}) EXPECT_EQ(shutDown(tag), Calls{"ExitWindowsEx 1 0"}) << tag;
}

TEST(ShutdownWindowsWin, OtherTagsEnableThePrivilegeThenForceAPowerOff) {
    for (const char* tag : {"XP", "Else", "", "me", "95 ", "2000"}) {
        EXPECT_EQ(shutDown(tag), kPrivilegedPowerOff) << tag;
        EXPECT_EQ(seen.adjustedToken, kToken);
        EXPECT_EQ(seen.adjusted.PrivilegeCount, 1u);
        EXPECT_EQ(seen.adjusted.Privileges[0].Luid.LowPart, 19u);
        EXPECT_EQ(seen.adjusted.Privileges[0].Luid.HighPart, 0);
        EXPECT_EQ(seen.adjusted.Privileges[0].Attributes, 2u);
        EXPECT_TRUE(seen.previousGiven);
        EXPECT_TRUE(seen.returnedGiven);
    }
}

TEST(ShutdownWindowsWin, RefusedTokenStillAsksForThePowerOff) {
    seen.tokenOpens = false;
    auto power = platform::makeWindowsPower(kFakes);
    seen.calls.clear();
    autoend::ShutdownWindows("XP", *power);
    // No result is examined; only a handle that was never opened is not closed.
    EXPECT_EQ(seen.calls, (Calls{"GetCurrentProcess", "OpenProcessToken 119 40",
                                 "LookupPrivilegeValueA (local) SeShutdownPrivilege",
                                 "AdjustTokenPrivileges 0 16", "ExitWindowsEx 12 0"}));
    EXPECT_EQ(seen.adjustedToken, nullptr);
}

namespace {

// Where a function pointer leads: the linker may hand out a stub "jmp *[rip+disp32]" into the import
// table instead of the DLL's own address.
template <typename F>
const void* callee(F* f) {
    const auto* code = reinterpret_cast<const unsigned char*>(f);
    if (code[0] != 0xFF || code[1] != 0x25) return code;
    std::int32_t disp;
    std::memcpy(&disp, code + 2, sizeof disp);
    const void* const* slot = reinterpret_cast<const void* const*>(code + 6 + disp);
    return *slot;
}

}  // namespace

TEST(ShutdownWindowsWin, ShippedTableHoldsTheSystemCalls) {
    // Compared, never called.
    const platform::WinPowerCalls& real = platform::systemWinPowerCalls();
    EXPECT_EQ(callee(real.getCurrentProcess), callee(&GetCurrentProcess));
    EXPECT_EQ(callee(real.openProcessToken), callee(&OpenProcessToken));
    EXPECT_EQ(callee(real.lookupPrivilegeValueA), callee(&LookupPrivilegeValueA));
    EXPECT_EQ(callee(real.adjustTokenPrivileges), callee(&AdjustTokenPrivileges));
    EXPECT_EQ(callee(real.exitWindowsEx), callee(&ExitWindowsEx));
    EXPECT_EQ(callee(real.closeHandle), callee(&CloseHandle));
    EXPECT_NE(callee(real.exitWindowsEx), callee(&fakeExitWindowsEx));
}

namespace {

// The system's own token calls, watched on the way through.
BOOL WINAPI realLookup(LPCSTR system, LPCSTR name, PLUID luid) {
    const BOOL ok = LookupPrivilegeValueA(system, name, luid);
    seen.looked = *luid;
    seen.calls.push_back(std::string("LookupPrivilegeValueA ") + (ok ? "ok" : "failed"));
    return ok;
}

BOOL WINAPI realAdjust(HANDLE token, BOOL disableAll, PTOKEN_PRIVILEGES record, DWORD length,
                       PTOKEN_PRIVILEGES previous, PDWORD returned) {
    seen.adjusted = *record;
    const BOOL ok = AdjustTokenPrivileges(token, disableAll, record, length, previous, returned);
    seen.calls.push_back(std::string("AdjustTokenPrivileges ") + (ok ? "ok" : "failed"));
    return ok;
}

bool shutdownPrivilegeEnabled() {
    HANDLE token = nullptr;
    if (!OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, &token)) return false;
    char buffer[4096];
    DWORD size = 0;
    bool enabled = false;
    if (GetTokenInformation(token, TokenPrivileges, buffer, sizeof buffer, &size)) {
        const auto* privileges = reinterpret_cast<const TOKEN_PRIVILEGES*>(buffer);
        for (DWORD i = 0; i < privileges->PrivilegeCount; ++i) {
            const LUID_AND_ATTRIBUTES& p = privileges->Privileges[i];
            if (p.Luid.LowPart == seen.looked.LowPart && p.Luid.HighPart == seen.looked.HighPart)
                enabled = (p.Attributes & SE_PRIVILEGE_ENABLED) != 0;
        }
    }
    CloseHandle(token);
    return enabled;
}

}  // namespace

TEST(ShutdownWindowsWin, RealTokenCallsEnableTheShutdownPrivilege) {
    platform::WinPowerCalls calls = platform::systemWinPowerCalls();
    calls.lookupPrivilegeValueA = &realLookup;
    calls.adjustTokenPrivileges = &realAdjust;
    calls.exitWindowsEx = &fakeExitWindowsEx;
    ASSERT_EQ(shutDown("XP", calls),
              (Calls{"LookupPrivilegeValueA ok", "AdjustTokenPrivileges ok", "ExitWindowsEx 12 0"}));
    EXPECT_EQ(seen.looked.LowPart, 19u);  // SE_SHUTDOWN_PRIVILEGE
    EXPECT_EQ(seen.adjusted.Privileges[0].Luid.LowPart, 19u);
    EXPECT_TRUE(shutdownPrivilegeEnabled());
}
