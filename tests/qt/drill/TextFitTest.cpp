// Every caption and value the learner can meet, in the faces that stand in for the Windows ones,
// must fit its control whole: nothing cut at either end, no line broken.

#include "NoPower.h"
#include "qt/autoend/AutoEnd.h"
#include "core/autoend/AutoEndState.h"
#include "core/autoend/Countdown.h"
#include "core/autoend/WallClock.h"
#include "qt/drill/ReadOut1.h"
#include "core/drill/StartupTexts.h"
#include "core/drill/DrillSequencer.h"
#include "qt/installer/Form1.h"
#include "platform/Process.h"
#include "RegistryMemory.h"
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

// The room a control gives its text, as its style lays it out.
QRect textRoom(const QWidget* w) {
    const QStyle* style = w->style();
    if (const auto* b = qobject_cast<const QAbstractButton*>(w)) {
        QStyleOptionButton opt;
        opt.initFrom(b);
        opt.text = b->text();
        QStyle::SubElement element = QStyle::SE_PushButtonContents;
        if (qobject_cast<const QCheckBox*>(b)) element = QStyle::SE_CheckBoxContents;
        if (qobject_cast<const QRadioButton*>(b)) element = QStyle::SE_RadioButtonContents;
        return style->subElementRect(element, &opt, b);
    }
    if (const auto* e = qobject_cast<const QLineEdit*>(w)) {
        QStyleOptionFrame opt;
        opt.initFrom(e);
        opt.lineWidth = style->pixelMetric(QStyle::PM_DefaultFrameWidth, &opt, e);
        // QLineEdit keeps two pixels each side inside its contents.
        return style->subElementRect(QStyle::SE_LineEditContents, &opt, e).adjusted(2, 0, -2, 0);
    }
    return w->contentsRect();
}

// Empty when text fits control whole; otherwise what is wrong.
std::string misfit(const QWidget* control, const QString& text) {
    const QFontMetrics fm(control->font());
    const QRect room = textRoom(control);
    const QStringList lines = QString(text).replace(QStringLiteral("\r\n"), QStringLiteral("\n")).split('\n');
    std::string why;
    for (const QString& line : lines) {
        if (fm.horizontalAdvance(line) > room.width())
            why += "\"" + line.toStdString() + "\" needs " + std::to_string(fm.horizontalAdvance(line)) +
                   " px, has " + std::to_string(room.width()) + "; ";
    }
    // The glyphs of a line stand within its em; lines follow each other at the line spacing.
    const int height = QFontInfo(control->font()).pixelSize() + fm.lineSpacing() * int(lines.size() - 1);
    if (height > room.height())
        why += std::to_string(lines.size()) + " line(s) need " + std::to_string(height) +
               " px of height, have " + std::to_string(room.height()) + "; ";
    if (!why.empty())
        why = control->objectName().toStdString() + " (" + control->metaObject()->className() + ", " +
              std::to_string(control->font().pointSizeF()) + " pt): " + why;
    return why;
}

QString shownText(const QWidget* w) {
    if (const auto* b = qobject_cast<const QAbstractButton*>(w)) return b->text();
    if (const auto* l = qobject_cast<const QLabel*>(w)) return l->text();
    if (const auto* e = qobject_cast<const QLineEdit*>(w)) return e->text();
    return {};
}

// Walks every button, check box, option button, label and text box under root.
int expectAllFit(const QWidget* root, const std::map<const QWidget*, QStringList>& alsoShown = {}) {
    int walked = 0;
    for (const QWidget* w : root->findChildren<QWidget*>()) {
        if (!qobject_cast<const QAbstractButton*>(w) && !qobject_cast<const QLabel*>(w) &&
            !qobject_cast<const QLineEdit*>(w))
            continue;
        ++walked;
        QStringList texts{shownText(w)};
        if (const auto it = alsoShown.find(w); it != alsoShown.end()) texts += it->second;
        for (const QString& t : texts) EXPECT_EQ(misfit(w, t), "");
    }
    return walked;
}

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
        for (const std::string& caption : {autoend::minuteCaption(32000, 0, shutdown),
                                           autoend::minuteCaption(0, 1, shutdown),
                                           autoend::countCaption(32000, -32768, shutdown)})
            countdowns << QString::fromStdString(caption);
    }
    const int walked = expectAllFit(window->centralWidget(), {{window->Command1, {"999,999,999,999,999"}},
                                                              {window->Command3, gaps},
                                                              {window->Command9, countdowns}});
    EXPECT_GE(walked, 50);  // 30 check boxes, 2 option buttons, 10 buttons, 4 labels, 3 text boxes
}

TEST(TextFit, EveryTextOfTheEndSetDialogFitsAndValueBoxesShowEveryValueWhole) {
    test::StepLog log;
    const auto window = loadedWindow(log);
    autoend::AutoEndState state;
    autoend::AutoEnd dialog(*window, state, autoend::systemWallClock(), nullptr);
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

TEST(TextFit, TheInstallerWindowHasNothingToCut) {
    platform::RegistryMemory registry;
    const auto launcher = platform::createSystemProcessLauncher();
    struct NoDialogs : installer::InstallerDialogs {
        bool askYesNo(const std::string&) override { return false; }
        void showMessage(const std::string&) override {}
    } dialogs;
    installer::Form1 form(registry, *launcher, dialogs, "/nowhere");
    EXPECT_EQ(expectAllFit(&form), 0);
}

TEST(TextFit, MessageBoxesKeepEveryLineWhole) {
    for (const std::string& utf8 :
         {aboutText(), startupFailureText("/usr/local/share/tallyvox/PEEDY.acs: frame 3 of \"idle\" is missing")}) {
        const QString text = QString::fromStdString(utf8);
        QMessageBox box(QMessageBox::NoIcon, QStringLiteral("Tallyvox-Number"), text, QMessageBox::Ok);
        platform::keepLinesWhole(box);
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
