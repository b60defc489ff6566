// Every text of the "End Set" dialog fits its control whole, in the stand-in fonts.

#include "AutoEndFakes.h"
#include "QtTestApp.h"
#include "TextFit.h"
#include "core/autoend/AutoEndState.h"
#include "core/autoend/WallClock.h"
#include "qt/autoend/AutoEnd.h"

#include <QLineEdit>

#include <gtest/gtest.h>

namespace autoend {
namespace {

using tvx::test::expectAllFit;
using tvx::test::misfit;

TEST(AutoEndTextFit, EveryTextOfTheEndSetDialogFitsAndValueBoxesShowEveryValueWhole) {
    testing::FakeHost host;
    AutoEndState state;
    AutoEnd dialog(host, state, systemWallClock(), nullptr);
    EXPECT_GE(expectAllFit(&dialog), 10);
    const QFont design = dialog.Text.at(0)->font();

    // The count rows' arrows go up to 32000; the minute rows have no ceiling worth reaching.
    QLineEdit* minutes = dialog.Text.at(0);
    dialog.Text11_Click();
    EXPECT_EQ(minutes->font().pointSizeF(), design.pointSizeF()) << "a short value keeps the design size";
    for (int click = 0; click < 250; ++click) {
        dialog.UpDown1_UpClick();
        EXPECT_EQ(misfit(minutes, minutes->text()), "");
    }
    EXPECT_EQ(minutes->text(), QStringLiteral("1250"));

    QLineEdit* count = dialog.Text.at(3);
    dialog.Text14_Click();
    for (int click = 0; click < 50; ++click) {
        dialog.UpDown4_UpClick();
        EXPECT_EQ(misfit(count, count->text()), "");
    }
    EXPECT_EQ(count->text(), QStringLiteral("32000"));
    // Going down again gives the box its design size back.
    for (int click = 0; click < 60; ++click) dialog.UpDown4_DownClick();
    EXPECT_EQ(count->text(), QStringLiteral("50"));
    EXPECT_EQ(count->font().pointSizeF(), design.pointSizeF());
}

}  // namespace
}  // namespace autoend
