#include "core/autoend/AutoEndController.h"

#include "AutoEndFakes.h"
#include "QtTestApp.h"
#include "core/autoend/AutoEndState.h"
#include "qt/autoend/AutoEnd.h"
#include "qt/ui/Twips.h"
#include "qt/ui/UpDown.h"

#include <QApplication>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QScreen>
#include <QTest>
#include <QTimer>
#include <QToolButton>

#include <gtest/gtest.h>

#include <functional>

namespace autoend {
namespace {

using testing::FakeClock;
using testing::FakeHost;
using testing::FakePower;

class AutoEndControllerTest : public ::testing::Test {
protected:
    void SetUp() override {
        window.resize(400, 300);
        window.show();
        host.onTick = [this] { controller.ejtimer2_timer(); };
    }

    // Opens the dialog through Command6 and runs act on it while it is shown modally.
    void openAndRun(const std::function<void(AutoEnd&)>& act) {
        bool ran = false;
        QTimer::singleShot(0, [&] {
            auto* dialog = qobject_cast<AutoEnd*>(QApplication::activeModalWidget());
            ASSERT_NE(dialog, nullptr);
            ran = true;
            act(*dialog);
            if (dialog->isVisible()) dialog->reject();
        });
        controller.Command6_Click();
        EXPECT_TRUE(ran);
    }

    QWidget window;
    FakeHost host;
    FakeClock clock;
    AutoEndState state;
    FakePower* power = new FakePower;
    QtEndSetDialogs dialogs{&window};
    AutoEndController controller{host, dialogs, std::unique_ptr<platform::IPower>(power), &state, &clock};
};

TEST_F(AutoEndControllerTest, OpensModallyOwnedAtOneHundredTwips) {
    host.recCount1 = 12;
    QPointer<AutoEnd> seen;
    openAndRun([&](AutoEnd& d) {
        seen = &d;
        EXPECT_EQ(host.recCount1, 0);  // reset before the dialog appears
        EXPECT_TRUE(d.isModal());
        EXPECT_EQ(d.parentWidget(), &window);
        const int offset = ui::twipsToPixels(100, ui::screenLogicalDpi());
        EXPECT_EQ(d.pos(), window.screen()->geometry().topLeft() + QPoint(offset, offset));
    });
    EXPECT_TRUE(seen.isNull()) << "the dialog is unloaded after use";
    EXPECT_EQ(state.AutoEndMode, "");
}

TEST_F(AutoEndControllerTest, EveryOpeningStartsAfresh) {
    openAndRun([&](AutoEnd& d) {
        QTest::mouseClick(d.UpDown.at(3)->upButton(), Qt::LeftButton);
        for (int i = 0; i < 15; ++i) QTest::mouseClick(d.UpDown.at(3)->upButton(), Qt::LeftButton);
        ASSERT_EQ(d.Text.at(3)->text(), "2000");
        QTest::mouseClick(d.Command12, Qt::LeftButton);
    });
    openAndRun([&](AutoEnd& d) {
        for (int i = 0; i < 4; ++i) EXPECT_EQ(d.Text.at(i)->text(), "") << i;
        EXPECT_EQ(d.UpDown.at(3)->Increment(), 10);
        EXPECT_EQ(d.form().Increment(1), 5);
    });
}

TEST_F(AutoEndControllerTest, ArmedMinutesCountDownToShutdownAndCancel) {
    host.recCount1 = 3;
    openAndRun([&](AutoEnd& d) {
        QTest::mouseClick(d.Text.at(0), Qt::LeftButton);
        QTest::mouseClick(d.UpDown.at(0)->upButton(), Qt::LeftButton);
        QTest::mouseClick(d.Command11, Qt::LeftButton);
    });
    EXPECT_EQ(state.AutoEndMode, "MShut");
    EXPECT_EQ(state.AutoEndLimit, 5);
    EXPECT_EQ(host.caption, "あと 5.0 分でシャットダウン");
    EXPECT_TRUE(host.frame1Visible);
    EXPECT_FALSE(host.command6Enabled);
    EXPECT_FALSE(host.label4Visible);
    EXPECT_EQ(host.recCount1, 0);

    clock.advance(301);
    controller.ejtimer2_timer();
    EXPECT_EQ(power->calls, (std::vector<std::string>{"acquireShutdownRight", "forcePowerOff"}));

    controller.Command10_Click();
    EXPECT_EQ(state.AutoEndMode, "");
    EXPECT_FALSE(host.timer.enabled());
    EXPECT_FALSE(host.frame1Visible);
    EXPECT_TRUE(host.label4Visible);
    EXPECT_TRUE(host.command6Enabled);
    controller.ejtimer2_timer();
    EXPECT_EQ(power->calls.size(), 2u);
}

TEST_F(AutoEndControllerTest, FirstTickUsesTheCountReadWhileOpen) {
    openAndRun([&](AutoEnd& d) {
        QTest::mouseClick(d.UpDown.at(3)->upButton(), Qt::LeftButton);  // "50"
        host.recCount1 = 7;  // the drill read seven numbers meanwhile
        QTest::mouseClick(d.Command11, Qt::LeftButton);
    });
    EXPECT_EQ(host.caption, "あと 43 個でTallyvox-Number終了");
    EXPECT_EQ(host.recCount1, 0);
    controller.ejtimer2_timer();
    EXPECT_EQ(host.caption, "あと 50 個でTallyvox-Number終了");
    host.recCount1 = 51;
    controller.ejtimer2_timer();
    EXPECT_EQ(host.quits, 1);
    EXPECT_TRUE(power->calls.empty());
}

TEST_F(AutoEndControllerTest, UsesTheProgramStateByDefault) {
    FakeHost other;
    AutoEndController shared{other, dialogs, std::make_unique<FakePower>()};
    EXPECT_EQ(&shared.state(), &programState());
    EXPECT_NE(&controller.state(), &programState());
}

}  // namespace
}  // namespace autoend
