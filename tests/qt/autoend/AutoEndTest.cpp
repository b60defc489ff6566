#include "qt/autoend/AutoEnd.h"

#include "AutoEndFakes.h"
#include "QtTestApp.h"
#include "StandInFaces.h"
#include "core/autoend/AutoEndState.h"
#include "qt/ui/Twips.h"
#include "qt/ui/UpDown.h"

#include <QApplication>
#include <QClipboard>
#include <QLabel>
#include <QLineEdit>
#include <QMimeData>
#include <QPushButton>
#include <QTest>
#include <QToolButton>

#include <gtest/gtest.h>

namespace autoend {
namespace {

using testing::FakeClock;
using testing::FakeHost;

class AutoEndDialog : public ::testing::Test {
protected:
    int px(double twips) const { return ui::twipsToPixels(twips, ui::screenLogicalDpi()); }
    QRect twipsRect(double l, double t, double w, double h) const { return {px(l), px(t), px(w), px(h)}; }
    std::string text(int row) const { return dialog.Text.at(row - 1)->text().toStdString(); }
    void clickBox(int row) { QTest::mouseClick(dialog.Text.at(row - 1), Qt::LeftButton); }
    void up(int row) { QTest::mouseClick(dialog.UpDown.at(row - 1)->upButton(), Qt::LeftButton); }
    void down(int row) { QTest::mouseClick(dialog.UpDown.at(row - 1)->downButton(), Qt::LeftButton); }

    FakeHost host;
    FakeClock clock;
    AutoEndState state;
    AutoEnd dialog{host, state, clock, nullptr};
};

TEST_F(AutoEndDialog, LayoutCaptionsAndFont) {
    EXPECT_EQ(dialog.windowTitle(), "End Set");
    EXPECT_TRUE(dialog.isModal());
    EXPECT_EQ(dialog.size(), QSize(px(5475), px(3135)));
    const int tops[] = {75, 735, 1320, 1935};
    const char* labels[] = {"分後にシャットダウンする。", "分後にTallyvox-Numberを終了する。",
                            "個でシャットダウンする。", "個でTallyvox-Numberを終了する。"};
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(dialog.UpDown.at(i)->geometry(), twipsRect(150, tops[i], 255, 420)) << i;
        EXPECT_EQ(dialog.Text.at(i)->geometry(), twipsRect(405, tops[i], 705, 420)) << i;
        EXPECT_EQ(dialog.Label.at(i)->geometry(), twipsRect(1170, tops[i] + 30, 4125, 390)) << i;
        EXPECT_EQ(dialog.Label.at(i)->text(), QString::fromUtf8(labels[i]));
    }
    EXPECT_EQ(dialog.Command11->text(), "実行");
    EXPECT_EQ(dialog.Command12->text(), "中止");
    EXPECT_EQ(dialog.Command11->geometry(), twipsRect(870, 2565, 1695, 420));
    EXPECT_EQ(dialog.Command12->geometry(), twipsRect(2685, 2565, 1695, 420));
    for (QWidget* w : {static_cast<QWidget*>(dialog.Command11), static_cast<QWidget*>(dialog.Text.at(2)),
                       static_cast<QWidget*>(dialog.Label.at(0))}) {
        expectOneInstalledFace(w->font(), kPGothicFaces);
        EXPECT_DOUBLE_EQ(w->font().pointSizeF(), 14.25);
    }
    // The two labels that name the program are wider than their boxes in the stand-in face.
    for (QWidget* w : {dialog.Label.at(1), dialog.Label.at(3)}) {
        expectOneInstalledFace(w->font(), kPGothicFaces);
        EXPECT_LT(w->font().pointSizeF(), 14.25);
    }
}

TEST_F(AutoEndDialog, TabOrder) {
    QWidget* expected[] = {dialog.Command11,    dialog.Command12,    dialog.UpDown.at(0), dialog.UpDown.at(1),
                           dialog.UpDown.at(2), dialog.UpDown.at(3), dialog.Text.at(0),   dialog.Text.at(1),
                           dialog.Text.at(2),   dialog.Text.at(3)};
    QWidget* w = expected[0];
    for (std::size_t i = 1; i < std::size(expected); ++i) {
        do {
            w = w->nextInFocusChain();
        } while (!(w->focusPolicy() & Qt::TabFocus));
        EXPECT_EQ(w, expected[i]) << i;
    }
}

TEST_F(AutoEndDialog, OpensEmptyWithInitialSteps) {
    for (int row = 1; row <= 4; ++row) {
        EXPECT_EQ(text(row), "");
        EXPECT_EQ(dialog.UpDown.at(row - 1)->Increment(), row <= 2 ? 5 : 10);
    }
}

TEST_F(AutoEndDialog, ClickAndArrowsDriveTheRows) {
    dialog.show();
    clickBox(1);
    EXPECT_EQ(text(1), "2");
    for (int i = 0; i < 3; ++i) up(1);
    EXPECT_EQ(text(1), "15");
    clickBox(2);
    EXPECT_EQ(text(1), "");
    EXPECT_EQ(text(2), "2");
    up(3);
    EXPECT_EQ(text(2), "");
    EXPECT_EQ(text(3), "50");
    for (int i = 0; i < 5; ++i) up(3);
    EXPECT_EQ(text(3), "100");
    EXPECT_EQ(dialog.UpDown.at(2)->Increment(), 10);
    up(3);
    EXPECT_EQ(text(3), "200");
    EXPECT_EQ(dialog.UpDown.at(2)->Increment(), 100);
    down(3);
    down(3);
    EXPECT_EQ(text(3), "90");
    EXPECT_EQ(dialog.UpDown.at(2)->Increment(), 10);
}

TEST_F(AutoEndDialog, FocusedArrowsAnswerArrowKeys) {
    dialog.show();
    dialog.UpDown.at(3)->setFocus();
    QTest::keyClick(dialog.UpDown.at(3), Qt::Key_Up);
    EXPECT_EQ(text(4), "50");
    QTest::keyClick(dialog.UpDown.at(3), Qt::Key_Up);
    QTest::keyClick(dialog.UpDown.at(3), Qt::Key_Down);
    EXPECT_EQ(text(4), "50");
}

TEST_F(AutoEndDialog, BoxesRefuseEveryEdit) {
    dialog.show();
    clickBox(1);
    up(1);
    up(1);
    QLineEdit* box = dialog.Text.at(0);
    ASSERT_EQ(text(1), "10");
    box->setFocus();
    QTest::keyClicks(box, "123abc");
    QTest::keyClick(box, Qt::Key_Backspace);
    QTest::keyClick(box, Qt::Key_Delete);
    QApplication::clipboard()->setText("999");
    QTest::keyClick(box, Qt::Key_V, Qt::ControlModifier);
    QTest::keyClick(box, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClick(box, Qt::Key_X, Qt::ControlModifier);
    QTest::keyClick(box, Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(text(1), "10");

    // A drop is refused before it reaches the box.
    QMimeData data;
    data.setText("777");
    QDragEnterEvent enter(QPoint(5, 5), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(box, &enter);
    EXPECT_FALSE(box->acceptDrops());
    EXPECT_FALSE(enter.isAccepted());
    QDropEvent drop(QPointF(5, 5), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(box, &drop);
    EXPECT_EQ(text(1), "10");
    EXPECT_EQ(dialog.form().text(1), "10");
}

TEST_F(AutoEndDialog, KeyFilterDiscardsTheCharacter) {
    int key = 'a';
    AutoEnd::TextKeyPress(key);
    EXPECT_EQ(key, 0);
}

TEST_F(AutoEndDialog, ExecuteArmsAndUnloads) {
    dialog.show();
    clickBox(2);
    QTest::mouseClick(dialog.Command11, Qt::LeftButton);
    EXPECT_EQ(state.AutoEndMode, "MEnd");
    EXPECT_EQ(state.AutoEndLimit, 2);
    EXPECT_EQ(state.AutoEndStart, clock.t);
    EXPECT_FALSE(dialog.isVisible());
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_FALSE(host.command6Enabled);
    EXPECT_FALSE(host.label4Visible);
    EXPECT_TRUE(host.timer.enabled());
    EXPECT_EQ(host.timer.interval(), 500);
}

TEST_F(AutoEndDialog, ExecuteWithNoRowOnlyCloses) {
    dialog.show();
    QTest::mouseClick(dialog.Command11, Qt::LeftButton);
    EXPECT_FALSE(dialog.isVisible());
    EXPECT_EQ(state.AutoEndMode, "");
    EXPECT_TRUE(host.log.empty());
    EXPECT_TRUE(host.command6Enabled);
}

TEST_F(AutoEndDialog, CancelDisarmsAndUnloads) {
    state.AutoEndMode = "REnd";
    dialog.show();
    clickBox(4);
    QTest::mouseClick(dialog.Command12, Qt::LeftButton);
    EXPECT_FALSE(dialog.isVisible());
    EXPECT_EQ(state.AutoEndMode, "");
    EXPECT_EQ(text(4), "");
    EXPECT_EQ(host.changes(), std::vector<std::string>{"ejTimer2.Enabled 0"});
}

TEST_F(AutoEndDialog, ClosingOtherwiseRunsNeitherHandler) {
    state.AutoEndMode = "keep";
    dialog.show();
    clickBox(1);
    QTest::keyClick(&dialog, Qt::Key_Escape);
    EXPECT_FALSE(dialog.isVisible());
    dialog.show();
    dialog.close();
    EXPECT_EQ(state.AutoEndMode, "keep");
    EXPECT_TRUE(host.log.empty());
}

}  // namespace
}  // namespace autoend
