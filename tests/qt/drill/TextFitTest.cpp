// Every caption and value the learner can meet, in the faces that stand in for the Windows ones,
// must fit its control whole: nothing cut at either end, no line broken.

#include "NoPower.h"
#include "TextFit.h"
#include "core/autoend/AutoEndState.h"
#include "core/autoend/Countdown.h"
#include "core/autoend/WallClock.h"
#include "core/drill/DrillSequencer.h"
#include "core/drill/StartupTexts.h"
#include "qt/autoend/AutoEnd.h"
#include "qt/drill/ReadOut1.h"
#include "qt/ui/WholeLines.h"

#include "StartupRecorder.h"

#include <QAbstractButton>
#include <QApplication>
#include <QCheckBox>
#include <QFontInfo>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QRadioButton>
#include <QStyle>
#include <QStyleOption>

#include <gtest/gtest.h>

namespace drill {
namespace {

using tvx::test::expectAllFit;

std::unique_ptr<ReadOut1> loadedWindow(test::StepLog& log) {
    ReadOut1Deps deps;
    deps.agent = std::make_unique<test::RecordingAgent>(log, [] { return std::string(); });
    deps.registry = std::make_shared<platform::RegistryMemory>();
    deps.power = std::make_unique<tvx::test::NoPower>();
    deps.characterDir = QStringLiteral("/nowhere");
    auto window = std::make_unique<ReadOut1>(std::move(deps));
    window->Form_Load();
    return window;
}

TEST(TextFit, TheFontsAreTheJapaneseStandIns) {
    test::StepLog log;
    const auto window = loadedWindow(log);
    EXPECT_EQ(QFontInfo(window->Command4->font()).family(), QStringLiteral("IPAGothic"))
        << "install fonts-ipafont-gothic (scripts/install-deps.sh)";
    autoend::AutoEndState state;
    autoend::AutoEnd dialog(*window, state, autoend::systemWallClock(), nullptr);
    EXPECT_EQ(QFontInfo(dialog.Label.at(1)->font()).family(), QStringLiteral("IPAPGothic"));
}

TEST(TextFit, EveryTextOfTheMainWindowFitsItsControl) {
    test::StepLog log;
    const auto window = loadedWindow(log);
    QStringList gaps;
    for (int gap = -2000; gap <= 10000; gap += 200) gaps << QString::fromStdString(ReadingGapCaption(gap));
    QStringList countdowns;
    for (const bool shutdown : {false, true}) {
        for (const std::string& caption :
             {autoend::minuteCaption(32000, 0, shutdown), autoend::minuteCaption(0, 1, shutdown),
              autoend::countCaption(32000, -32768, shutdown)})
            countdowns << QString::fromStdString(caption);
    }
    const int walked = expectAllFit(window->centralWidget(), {{window->Command1, {"999,999,999,999,999"}},
                                                              {window->Command3, gaps},
                                                              {window->Command9, countdowns}});
    EXPECT_GE(walked, 50);  // 30 check boxes, 2 option buttons, 10 buttons, 4 labels, 3 text boxes
}

TEST(TextFit, MessageBoxesKeepEveryLineWhole) {
    for (const std::string& utf8 :
         {aboutText(),
          startupFailureText("/usr/local/share/tallyvox/PEEDY.acs: frame 3 of \"idle\" is missing")}) {
        const QString text = QString::fromStdString(utf8);
        QMessageBox box(QMessageBox::NoIcon, QStringLiteral("Tallyvox-Number"), text, QMessageBox::Ok);
        ui::keepLinesWhole(box);
        box.show();
        QApplication::processEvents();
        const auto* label = box.findChild<QLabel*>(QStringLiteral("qt_msgbox_label"));
        ASSERT_NE(label, nullptr);
        const QFontMetrics fm(label->font());
        for (const QString& line : QString(text).remove('\r').split('\n'))
            EXPECT_LE(fm.horizontalAdvance(line), label->contentsRect().width()) << line.toStdString();
        EXPECT_EQ(label->textFormat(), Qt::PlainText);
    }
}

}  // namespace
}  // namespace drill
