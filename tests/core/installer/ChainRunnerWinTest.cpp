// The chains through the real ShellExecuteExA / WaitForSingleObject / CloseHandle under Wine: every
// installer is a stand-in that logs its start and end, so an installer started before the previous one
// ended shows in the log.

#include "core/installer/ChainRunner.h"

#include "ExpectedChains.h"
#include "WinTestSupport.h"

#include <gtest/gtest.h>

using installer::ChainResult;
using installer::ChainRunner;
using installer::InstallChain;
using installer::testing::ChainCase;
using installer::testing::k98Me;
using installer::testing::kAll;
using installer::testing::kChainCases;
using installer::testing::kXp;
using installer::testing::sequential;
using wintest::StandInDir;

namespace {

class ChainRunnerWinTest : public ::testing::Test {
protected:
    ChainResult run(InstallChain chain) {
        wintest::HandleWatch launcher;
        const ChainResult result = ChainRunner(launcher, dir.path(), 0).run(chain);
        EXPECT_EQ(launcher.stillOpen(), 0) << "a process handle was left open";
        return result;
    }

    wintest::PackagesOpenWithStandIn association;
    StandInDir dir;
};

class ChainOrderWinTest : public ChainRunnerWinTest, public ::testing::WithParamInterface<ChainCase> {};

}  // namespace

TEST_P(ChainOrderWinTest, RunsEachInstallerAfterThePreviousEnded) {
    dir.addInstallers(kAll);
    EXPECT_EQ(run(GetParam().chain), ChainResult::Completed);
    EXPECT_EQ(dir.log(), sequential(GetParam().order));
}

INSTANTIATE_TEST_SUITE_P(Chains, ChainOrderWinTest, ::testing::ValuesIn(kChainCases));

TEST_F(ChainRunnerWinTest, InstallerExitingWithErrorStillCountsAsFinished) {
    dir.addInstallers(kAll);
    dir.addInstaller("tv_enua.exe", 1603);
    dir.addInstaller("Agtx0411.exe", 2);
    EXPECT_EQ(run(InstallChain::Windows98Me), ChainResult::Completed);
    EXPECT_EQ(dir.log(), sequential(k98Me));
}

TEST_F(ChainRunnerWinTest, MissingExaminedInstallerIsALaunchErrorAndNothingFollows) {
    dir.addInstallers({"Tallyvox-Number.msi", "MsAgent.exe", "Agtx0411.exe", "lhttsjpj.exe", "spchapi.exe"});
    EXPECT_EQ(run(InstallChain::Windows95), ChainResult::LaunchFailed);
    EXPECT_TRUE(dir.log().empty());

    // On the XP chain the examined step is the second one: the package has already run.
    EXPECT_EQ(run(InstallChain::WindowsXp), ChainResult::LaunchFailed);
    EXPECT_EQ(dir.log(), sequential({"Tallyvox-Number.msi"}));
}

TEST_F(ChainRunnerWinTest, MissingUnexaminedInstallerIsAWaitError) {
    dir.addInstallers({"tv_enua.exe", "Agtx0411.exe", "lhttsjpj.exe", "spchapi.exe"});
    EXPECT_EQ(run(InstallChain::Windows98Me), ChainResult::WaitFailed);  // the package is missing
    EXPECT_TRUE(dir.log().empty());

    dir.addInstallers({"InstMsiA.exe", "Tallyvox-Number.msi"});
    EXPECT_EQ(run(InstallChain::Windows95), ChainResult::WaitFailed);  // MsAgent.exe is missing
    EXPECT_EQ(dir.log(), sequential({"InstMsiA.exe", "Tallyvox-Number.msi"}));
}
