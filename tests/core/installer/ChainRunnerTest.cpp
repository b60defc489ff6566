#include "core/installer/ChainRunner.h"

#include "ExpectedChains.h"
#include "InstallerDir.h"

#include <gtest/gtest.h>

using installer::ChainResult;
using installer::ChainRunner;
using installer::InstallChain;
using installer::testing::ChainCase;
using installer::testing::k98Me;
using installer::testing::kAll;
using installer::testing::kChainCases;
using installer::testing::kXp;
using installer::testing::RecordedInstallersTest;
using installer::testing::sequential;

namespace {

class ChainRunnerTest : public RecordedInstallersTest {
protected:
    ChainResult run(InstallChain chain) { return ChainRunner(recorder, dir.path(), 0x1234).run(chain); }
};

class ChainOrderTest : public ChainRunnerTest, public ::testing::WithParamInterface<ChainCase> {};

}  // namespace

TEST_P(ChainOrderTest, RunsEachInstallerAfterThePreviousEnded) {
    dir.addInstallers(kAll);
    EXPECT_EQ(run(GetParam().chain), ChainResult::Completed);
    EXPECT_EQ(dir.log(), sequential(GetParam().order));
    EXPECT_EQ(recorder.openHandles, 0);
}

INSTANTIATE_TEST_SUITE_P(Chains, ChainOrderTest, ::testing::ValuesIn(kChainCases));

TEST_F(ChainRunnerTest, EveryLaunchUsesTheSameRecordShape) {
    dir.addInstallers(kAll);
    ASSERT_EQ(run(InstallChain::WindowsXp), ChainResult::Completed);
    ASSERT_EQ(recorder.launches.size(), kXp.size());
    for (std::size_t i = 0; i < kXp.size(); ++i) {
        const platform::ShellLaunch& l = recorder.launches[i];
        EXPECT_EQ(l.verb, "Open");
        EXPECT_EQ(l.file, dir.path() + "/" + kXp[i]);
        EXPECT_EQ(l.parameters, "");
        EXPECT_EQ(l.directory, "");
        EXPECT_EQ(l.showCommand, 1);
        EXPECT_EQ(l.ownerWindow, 0x1234u);
    }
}

TEST_F(ChainRunnerTest, InstallerExitingWithErrorStillCountsAsFinished) {
    dir.addInstallers(kAll);
    dir.addInstaller("tv_enua.exe", 1603);
    dir.addInstaller("Agtx0411.exe", 2);
    EXPECT_EQ(run(InstallChain::Windows98Me), ChainResult::Completed);
    EXPECT_EQ(dir.log(), sequential(k98Me));
}

TEST_F(ChainRunnerTest, MissingExaminedInstallerIsALaunchErrorAndNothingFollows) {
    dir.addInstallers({"Tallyvox-Number.msi", "MsAgent.exe", "Agtx0411.exe", "lhttsjpj.exe", "spchapi.exe"});
    EXPECT_EQ(run(InstallChain::Windows95), ChainResult::LaunchFailed);
    EXPECT_TRUE(dir.log().empty());
    EXPECT_EQ(recorder.waits, 0);

    // On the XP chain the examined step is the second one: the package has already run.
    EXPECT_EQ(run(InstallChain::WindowsXp), ChainResult::LaunchFailed);
    EXPECT_EQ(dir.log(), sequential({"Tallyvox-Number.msi"}));
}

TEST_F(ChainRunnerTest, MissingUnexaminedInstallerIsAWaitError) {
    dir.addInstallers({"tv_enua.exe", "Agtx0411.exe", "lhttsjpj.exe", "spchapi.exe"});
    EXPECT_EQ(run(InstallChain::Windows98Me), ChainResult::WaitFailed);
    EXPECT_TRUE(dir.log().empty());

    dir.addInstallers({"InstMsiA.exe", "Tallyvox-Number.msi"});
    EXPECT_EQ(run(InstallChain::Windows95), ChainResult::WaitFailed);  // MsAgent.exe is missing
    EXPECT_EQ(dir.log(), sequential({"InstMsiA.exe", "Tallyvox-Number.msi"}));
    EXPECT_EQ(recorder.openHandles, 0);
}

TEST_F(ChainRunnerTest, NonExecutableInstallerStartsNothing) {
    dir.addInstallers(kAll);
    dir.write("spchapi.exe", "#!/bin/sh\nexit 0\n", 0644);
    EXPECT_EQ(run(InstallChain::WindowsXp), ChainResult::WaitFailed);
    EXPECT_EQ(dir.log(), sequential({"Tallyvox-Number.msi", "tv_enua.exe"}));
}
