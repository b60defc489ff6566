// The launcher's window has no text that could be cut.

#include "QtTestApp.h"
#include "RegistryMemory.h"
#include "TextFit.h"
#include "core/installer/InstallerDialogs.h"
#include "platform/Process.h"
#include "qt/installer/Form1.h"

#include <gtest/gtest.h>

namespace installer {
namespace {

TEST(Form1TextFit, TheInstallerWindowHasNothingToCut) {
    platform::RegistryMemory registry;
    const auto launcher = platform::createSystemProcessLauncher();
    struct NoDialogs : InstallerDialogs {
        bool askYesNo(const std::string&) override { return false; }
        void showMessage(const std::string&) override {}
    } dialogs;
    Form1 form(registry, *launcher, dialogs, "/nowhere");
    EXPECT_EQ(tvx::test::expectAllFit(&form), 0);
}

}  // namespace
}  // namespace installer
