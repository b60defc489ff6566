// ShellExecuteExA, WaitForSingleObject and CloseHandle under Wine, with stand-in installers.

#include "platform/Process.h"

#include "WinTestSupport.h"

#include <gtest/gtest.h>

using namespace platform;
using wintest::StandInDir;

namespace {

class WinProcessTest : public ::testing::Test {
protected:
    ShellLaunch openLaunch(const std::string& name) const {
        ShellLaunch l;
        l.verb = "Open";
        l.file = dir.path() + "\\" + name;
        return l;
    }

    StandInDir dir;
    std::unique_ptr<ProcessLauncher> launcher = createSystemProcessLauncher();
};

}  // namespace

TEST_F(WinProcessTest, WaitReturnsOnlyWhenTheProgramHasEnded) {
    dir.addInstaller("first.exe");
    ProcessHandle process = kNoProcess;
    ASSERT_TRUE(launcher->shellExecute(openLaunch("first.exe"), process));
    ASSERT_NE(process, kNoProcess);
    EXPECT_EQ(launcher->waitForProcess(process), kWaitProcessEnded);
    EXPECT_EQ(dir.log(), StandInDir::sequential({"first.exe"}));
    // An ended process's handle stays valid until closed: a second wait returns at once.
    EXPECT_EQ(launcher->waitForProcess(process), kWaitProcessEnded);
    EXPECT_TRUE(launcher->closeHandle(process));
    DWORD flags = 0;
    EXPECT_FALSE(GetHandleInformation(reinterpret_cast<HANDLE>(process), &flags));
}

TEST_F(WinProcessTest, ExitCodeIsNotLookedAt) {
    dir.addInstaller("failing.exe", 1603);
    ProcessHandle process = kNoProcess;
    ASSERT_TRUE(launcher->shellExecute(openLaunch("failing.exe"), process));
    EXPECT_EQ(launcher->waitForProcess(process), kWaitProcessEnded);
    DWORD code = 0;
    GetExitCodeProcess(reinterpret_cast<HANDLE>(process), &code);
    EXPECT_EQ(code, 1603u);  // the stand-in did fail
    EXPECT_TRUE(launcher->closeHandle(process));
}

TEST_F(WinProcessTest, MissingFileStartsNothingAndItsWaitFails) {
    ProcessHandle process = 0x99;
    EXPECT_FALSE(launcher->shellExecute(openLaunch("missing.exe"), process));
    EXPECT_EQ(process, kNoProcess);
    EXPECT_EQ(launcher->waitForProcess(process), kWaitFailed);
    EXPECT_FALSE(launcher->closeHandle(process));
}

TEST_F(WinProcessTest, PackageIsOpenedByItsRegisteredProgram) {
    wintest::PackagesOpenWithStandIn association;
    dir.addInstaller("Tallyvox-Number.msi");
    ProcessHandle process = kNoProcess;
    ASSERT_TRUE(launcher->shellExecute(openLaunch("Tallyvox-Number.msi"), process));
    ASSERT_NE(process, kNoProcess);
    EXPECT_EQ(launcher->waitForProcess(process), kWaitProcessEnded);
    EXPECT_EQ(dir.log(), StandInDir::sequential({"Tallyvox-Number.msi"}));
    EXPECT_TRUE(launcher->closeHandle(process));
}
