// The whole launcher but its window under Wine: the product name written into Wine's registry chooses
// the chain, which runs stand-in installers through the shell.

#include "installer/InstallerFlow.h"

#include "ExpectedChains.h"
#include "ScriptedDialogs.h"
#include "WinTestSupport.h"
#include "platform/EditionLookup.h"

#include <gtest/gtest.h>

using installer::InstallerFlow;
using installer::LoadOutcome;
using installer::testing::k95;
using installer::testing::k98Me;
using installer::testing::kAll;
using installer::testing::kXp;
using installer::testing::ScriptedDialogs;
using wintest::StandInDir;

namespace {

struct EditionCase {
    const char* label;
    const char* firstKeyName;  // nullptr: no ProductName under the first key (an NT system)
    const char* secondKeyName;
    std::vector<std::string> order;
};

class InstallerFlowWinTest : public ::testing::TestWithParam<EditionCase> {
protected:
    LoadOutcome run() { return InstallerFlow(*registry, launcher, dialogs, dir.path()).run(0); }

    wintest::ScopedRegValue first{HKEY_LOCAL_MACHINE, platform::kWindowsVersionKey, "ProductName"};
    wintest::ScopedRegValue second{HKEY_LOCAL_MACHINE, platform::kWindowsNtVersionKey, "ProductName"};
    wintest::PackagesOpenWithStandIn association;
    StandInDir dir;
    std::unique_ptr<platform::Registry> registry = platform::createSystemRegistry();
    wintest::HandleWatch launcher;
    ScriptedDialogs dialogs;
};

}  // namespace

TEST_P(InstallerFlowWinTest, ProductNameInTheRegistryChoosesTheChain) {
    const EditionCase& c = GetParam();
    if (c.firstKeyName)
        first.set(c.firstKeyName);
    else
        first.remove();
    second.set(c.secondKeyName);
    dir.addInstallers(kAll);
    EXPECT_EQ(run(), LoadOutcome::Completed);
    EXPECT_EQ(dir.log(), StandInDir::sequential(c.order));
    EXPECT_TRUE(dialogs.messages.empty());
    EXPECT_EQ(launcher.stillOpen(), 0);
}

INSTANTIATE_TEST_SUITE_P(
    Editions, InstallerFlowWinTest,
    ::testing::Values(EditionCase{"Windows95", "Microsoft Windows 95", "Microsoft Windows XP", k95},
                      EditionCase{"WindowsMe", "Microsoft Windows ME", "Microsoft Windows XP", k98Me},
                      EditionCase{"WindowsXpHome", nullptr, "Microsoft Windows XP Home Edition", kXp},
                      EditionCase{"Windows10", nullptr, "Windows 10 Pro", kXp}),
    [](const auto& info) { return std::string(info.param.label); });
