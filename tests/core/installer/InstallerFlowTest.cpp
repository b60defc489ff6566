#include "core/installer/InstallerFlow.h"

#include "ExpectedChains.h"
#include "InstallerDir.h"
#include "RegistryMemory.h"
#include "ScriptedDialogs.h"
#include "platform/EditionLookup.h"

#include <gtest/gtest.h>

using installer::InstallerFlow;
using installer::LoadOutcome;
using installer::testing::k95;
using installer::testing::k98Me;
using installer::testing::kAll;
using installer::testing::kXp;
using installer::testing::RecordedInstallersTest;
using installer::testing::ScriptedDialogs;
using installer::testing::sequential;

namespace {

class InstallerFlowTest : public RecordedInstallersTest {
protected:
    // 9x systems keep the name under the first key; NT systems only under the second.
    void setNineXName(const std::string& name) {
        registry.setString(platform::kWindowsVersionKey, "ProductName", name);
    }
    void setNtName(const std::string& name) {
        registry.setString(platform::kWindowsVersionKey, "ProgramFilesDir", "C:\\Program Files");
        registry.setString(platform::kWindowsNtVersionKey, "ProductName", name);
    }
    LoadOutcome run() { return InstallerFlow(registry, recorder, dialogs, dir.path()).run(0); }

    platform::RegistryMemory registry;
    ScriptedDialogs dialogs;
};

struct EditionCase {
    const char* label;
    std::string productName;
    bool underNtKey;
    std::vector<std::string> order;
};

class EditionChainTest : public InstallerFlowTest, public ::testing::WithParamInterface<EditionCase> {};

}  // namespace

TEST_P(EditionChainTest, ProductNameChoosesTheChainThatRunsToItsEnd) {
    const EditionCase& c = GetParam();
    if (c.underNtKey)
        setNtName(c.productName);
    else
        setNineXName(c.productName);
    dir.addInstallers(kAll);
    EXPECT_EQ(run(), LoadOutcome::Completed);
    EXPECT_EQ(dir.log(), sequential(c.order));
    EXPECT_EQ(dialogs.questions, std::vector<std::string>{installer::kConsentText});
    EXPECT_TRUE(dialogs.messages.empty());
    EXPECT_EQ(recorder.openHandles, 0);
    EXPECT_EQ(registry.openKeyCount(), 0u);
}

INSTANTIATE_TEST_SUITE_P(
    Editions, EditionChainTest,
    ::testing::Values(EditionCase{"Windows95", "Microsoft Windows 95", false, k95},
                      EditionCase{"Windows98", "Microsoft Windows 98", false, k98Me},
                      EditionCase{"WindowsMe", "Microsoft Windows ME", false, k98Me},
                      EditionCase{"WindowsXpProfessional", "Microsoft Windows XP Professional", true, kXp},
                      EditionCase{"Windows2000", "Microsoft Windows 2000", true, kXp},
                      EditionCase{"WindowsVista", "Windows Vista (TM) Ultimate", true, kXp}),
    [](const auto& info) { return std::string(info.param.label); });

TEST_F(InstallerFlowTest, UnreadableRegistryRunsTheXpChain) {
    setNineXName("Microsoft Windows 95");
    registry.denyAccess(platform::kWindowsVersionKey, 0x0002);
    registry.denyAccess(platform::kWindowsNtVersionKey, 0x0002);
    dir.addInstallers(kAll);
    EXPECT_EQ(run(), LoadOutcome::Completed);
    EXPECT_EQ(dir.log(), sequential(kXp));
}

TEST_F(InstallerFlowTest, AnsweringNoStartsNothingAndReadsNothing) {
    ScriptedDialogs no(false);
    dir.addInstallers(kAll);
    EXPECT_EQ(InstallerFlow(registry, recorder, no, dir.path()).run(0), LoadOutcome::Declined);
    EXPECT_EQ(no.questions.size(), 1u);
    EXPECT_TRUE(no.messages.empty());
    EXPECT_TRUE(recorder.launches.empty());
    EXPECT_TRUE(registry.openAttempts().empty());
    EXPECT_TRUE(dir.log().empty());
}

TEST_F(InstallerFlowTest, MissingInstMsiOn95ReportsLaunchErrorAndRunsNothing) {
    setNineXName("Microsoft Windows 95");
    dir.addInstallers({"Tallyvox-Number.msi", "MsAgent.exe", "tv_enua.exe", "Agtx0411.exe", "lhttsjpj.exe"});
    EXPECT_EQ(run(), LoadOutcome::ErrorShown);
    EXPECT_EQ(dialogs.messages, std::vector<std::string>{"ShellExecuteEx Error"});
    EXPECT_TRUE(dir.log().empty());
}

TEST_F(InstallerFlowTest, MissingPackageOn98ReportsWaitErrorAndRunsNothingElse) {
    setNineXName("Microsoft Windows 98");
    dir.addInstallers({"tv_enua.exe", "Agtx0411.exe", "lhttsjpj.exe", "spchapi.exe"});
    EXPECT_EQ(run(), LoadOutcome::ErrorShown);
    EXPECT_EQ(dialogs.messages, std::vector<std::string>{"WaitForSingleObject Error"});
    EXPECT_TRUE(dir.log().empty());
}

TEST_F(InstallerFlowTest, MissingEnglishEngineOnXpStopsAfterThePackage) {
    setNtName("Microsoft Windows XP");
    dir.addInstallers({"Tallyvox-Number.msi", "spchapi.exe", "Agtx0411.exe", "lhttsjpj.exe"});
    EXPECT_EQ(run(), LoadOutcome::ErrorShown);
    EXPECT_EQ(dialogs.messages, std::vector<std::string>{"ShellExecuteEx Error"});
    EXPECT_EQ(dir.log(), sequential({"Tallyvox-Number.msi"}));
}
