#include "qt/installer/Form1.h"
#include "qt/ui/Twips.h"

#include "InstallerDir.h"
#include "RegistryMemory.h"
#include "ScriptedDialogs.h"

#include <QApplication>
#include <QGuiApplication>
#include <QMenuBar>
#include <QScreen>

#include <gtest/gtest.h>

using installer::Form1;
using installer::testing::InstallerDir;
using installer::testing::ScriptedDialogs;

namespace {

class Form1Test : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        static int argc = 1;
        static char name[] = "tvx_form1_test";
        static char* argv[] = {name, nullptr};
        if (!QApplication::instance()) new QApplication(argc, argv);
    }

    InstallerDir dir;
    platform::RegistryMemory registry;  // empty: the XP chain
    std::unique_ptr<platform::ProcessLauncher> launcher = platform::createSystemProcessLauncher();
};

}  // namespace

TEST(Form1SizeTest, TwipsBecomePixelsAtTheScreensDpi) {
    EXPECT_EQ(ui::twipsToPixels(installer::kForm1WidthTwips, 96), 312);
    EXPECT_EQ(ui::twipsToPixels(installer::kForm1HeightTwips, 96), 213);
    EXPECT_EQ(ui::twipsToPixels(installer::kForm1WidthTwips, 120), 390);
    EXPECT_EQ(ui::twipsToPixels(installer::kForm1HeightTwips, 144), 320);  // 319.5 rounds up
}

TEST_F(Form1Test, IsAnEmptyWindowCalledForm1) {
    ScriptedDialogs dialogs;
    Form1 form(registry, *launcher, dialogs, dir.path());
    EXPECT_EQ(form.windowTitle(), "Form1");
    const double dpi = QGuiApplication::primaryScreen()->logicalDotsPerInch();
    EXPECT_EQ(form.size(), QSize(ui::twipsToPixels(4680, dpi), ui::twipsToPixels(3195, dpi)));
    EXPECT_TRUE(form.findChildren<QWidget*>().isEmpty());
    EXPECT_EQ(form.findChild<QMenuBar*>(), nullptr);
}

TEST_F(Form1Test, WindowAppearsOnlyAfterAnError) {
    {
        ScriptedDialogs no(false);
        Form1 form(registry, *launcher, no, dir.path());
        EXPECT_FALSE(form.start());
        EXPECT_FALSE(form.isVisible());
    }
    dir.addInstallers({"Tallyvox-Number.msi", "tv_enua.exe", "spchapi.exe", "Agtx0411.exe", "lhttsjpj.exe"});
    {
        ScriptedDialogs yes;
        Form1 form(registry, *launcher, yes, dir.path());
        EXPECT_FALSE(form.start());
        EXPECT_FALSE(form.isVisible());
        EXPECT_TRUE(yes.messages.empty());
    }
    dir.write("spchapi.exe", "", 0644);
    {
        ScriptedDialogs yes;
        Form1 form(registry, *launcher, yes, dir.path());
        EXPECT_TRUE(form.start());
        EXPECT_TRUE(form.isVisible());
        EXPECT_EQ(yes.messages, std::vector<std::string>{"WaitForSingleObject Error"});
    }
}
