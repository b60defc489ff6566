#include "NoPower.h"
#include "qt/drill/ReadOut1.h"

#include "core/drill/DrillSequencer.h"

#include "QtTestApp.h"
#include "StartupRecorder.h"
#include "platform/Power.h"
#include "qt/ui/Twips.h"
#include "qt/ui/UpDown.h"

#include <QApplication>
#include <QCheckBox>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpression>

#include <cmath>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

namespace drill {
namespace {

// Twips to pixels at 96 DPI, worked out here rather than by the window's own conversion.
int px(int twips) {
    return static_cast<int>(std::lround(twips / 15.0));
}
QRect fromTwips(int left, int top, int width, int height) {
    return {px(left), px(top), px(width), px(height)};
}

class ReadOut1Window : public ::testing::Test {
protected:
    ReadOut1Window() {
        auto registry = std::make_shared<test::RecordingRegistry>(log);
        registry->setString("Software\\Microsoft\\Windows\\CurrentVersion", "ProductName",
                            "Microsoft Windows 98");
        ReadOut1Deps deps;
        deps.agent = std::make_unique<test::RecordingAgent>(log, [this] { return snapshot(); });
        deps.registry = registry;
        deps.power = std::make_unique<tvx::test::NoPower>();
        deps.characterDir = QStringLiteral("/opt/tallyvox");
        window = std::make_unique<ReadOut1>(std::move(deps));
    }

    // The controls that start-up sets before the character is loaded, and the ones it sets after.
    std::string snapshot() const {
        const ReadOut1& w = *window;
        std::string s;
        s += w.Label4->text().contains(QStringLiteral("\r\n")) ? "label4=lines" : "label4=design";
        s += w.Option1[0]->isChecked() ? " option0" : "";
        s += w.Command2->isHidden() && w.Frame1->isHidden() && w.Text2->isHidden() ? " hidden" : " shown";
        s += w.Timer1.enabled() || w.Timer3.enabled() ? " timers-on" : " timers-off";
        s += w.Command1->text().isEmpty() ? " command1=empty" : " command1=design";
        s += w.Version->text().endsWith(QStringLiteral("(バージョン")) ? " version=design" : " version=full";
        s += w.pos() == QPoint(0, 0) ? " uncentred" : " centred";
        return s;
    }

    test::StepLog log;
    std::unique_ptr<ReadOut1> window;
};

TEST_F(ReadOut1Window, EveryControlStandsAtItsTwipsPositionAndSize) {
    ASSERT_DOUBLE_EQ(ui::screenLogicalDpi(), 96.0) << "the table below is converted at 15 twips a pixel";
    ReadOut1& w = *window;
    EXPECT_EQ(w.centralWidget()->size(), QSize(px(11745), px(6405)));
    const std::vector<std::pair<QWidget*, QRect>> table = {
        {w.Command4, fromTwips(270, 315, 2490, 525)},     {w.Command5, fromTwips(3000, 315, 2490, 525)},
        {w.Command6, fromTwips(5730, 330, 2490, 525)},    {w.Command7, fromTwips(285, 990, 2490, 525)},
        {w.Command8, fromTwips(2970, 990, 2490, 525)},    {w.Option1[0], fromTwips(5595, 975, 2880, 300)},
        {w.Option1[1], fromTwips(5595, 1260, 2880, 300)}, {w.Command1, fromTwips(270, 1725, 7920, 810)},
        {w.Frame1, fromTwips(2355, 3285, 4380, 1320)},    {w.Command9, fromTwips(105, 330, 4140, 465)},
        {w.Command10, fromTwips(105, 810, 4140, 465)},    {w.Label4, fromTwips(420, 3795, 7860, 1050)},
        {w.UpDown1, fromTwips(2010, 5295, 255, 465)},     {w.Command3, fromTwips(2265, 5295, 4695, 465)},
        {w.Text2, fromTwips(7140, 5325, 750, 690)},       {w.Command2, fromTwips(360, 5790, 7920, 315)},
        {w.Label1, fromTwips(8895, 45, 1050, 285)},       {w.Label2, fromTwips(10230, 60, 840, 255)},
        {w.Label3, fromTwips(6255, 3195, 1605, 345)},     {w.Text1, fromTwips(795, 5295, 735, 690)},
        {w.Text4, fromTwips(5040, 3150, 1110, 390)},
    };
    for (const auto& [control, rect] : table)
        EXPECT_EQ(control->geometry(), rect) << control->objectName().toStdString();
    EXPECT_EQ(w.Command9->parentWidget(), w.Frame1);
    EXPECT_EQ(w.Command10->parentWidget(), w.Frame1);

    // The two columns: place 15 on top, place 1 at the bottom, rows about 370 twips apart.
    const QStringList places = {"一",   "十",   "百",   "千",   "万",   "十万", "百万", "千万",
                                "一億", "十億", "百億", "千億", "一兆", "十兆", "百兆"};
    EXPECT_EQ(w.Check1[15]->geometry(), fromTwips(10290, 450, 1335, 300));
    EXPECT_EQ(w.Check2[15]->geometry(), fromTwips(8955, 420, 975, 300));
    EXPECT_EQ(w.Check1[1]->geometry(), fromTwips(10290, 5640, 1335, 300));
    EXPECT_EQ(w.Check2[1]->geometry(), fromTwips(8955, 5640, 975, 300));
    for (int p = 1; p <= 15; ++p) {
        EXPECT_EQ(w.Check1[p]->text(), places[p - 1]);
        EXPECT_EQ(w.Check2[p]->text(), places[p - 1]);
        EXPECT_EQ(w.Check1[p]->x(), px(10290));
        EXPECT_EQ(w.Check2[p]->size(), QSize(px(975), px(300)));
        if (p < 15) {
            for (const auto& column : {w.Check1, w.Check2}) {
                const int step = column[p]->y() - column[p + 1]->y();
                EXPECT_GE(step, px(340)) << p;
                EXPECT_LE(step, px(400)) << p;
            }
        }
    }
}

TEST_F(ReadOut1Window, MenuBarItemsAndTheVersionIsAppendedAfterItsSpaces) {
    ReadOut1& w = *window;
    const QList<QAction*> menus = w.menuBar()->actions();
    ASSERT_EQ(menus.size(), 4);
    EXPECT_EQ(menus[0]->text(), QStringLiteral("◆ Copyright"));
    EXPECT_EQ(menus[1]->text(), QStringLiteral("聞き取りテスト"));
    EXPECT_EQ(menus[2]->text(), QStringLiteral("英語の声"));
    EXPECT_EQ(menus[3]->text(), QString(132, QLatin1Char(' ')) + QStringLiteral("(バージョン"));
    for (const QAction* m : {menus[0], menus[1], menus[3]}) EXPECT_EQ(m->menu(), nullptr);

    w.Form_Load();
    const QString version = menus[3]->text();
    EXPECT_EQ(version.left(132), QString(132, QLatin1Char(' ')));
    EXPECT_TRUE(QRegularExpression(QStringLiteral("^\\(バージョン\\d+\\.\\d+\\.\\d+ \\)$"))
                    .match(version.mid(132))
                    .hasMatch())
        << version.mid(132).toStdString();
}

TEST_F(ReadOut1Window, EnglishVoiceMenuStartsAtTheFemaleVoiceAndHandsEachChoiceToTheCharacter) {
    ReadOut1& w = *window;
    w.Form_Load();
    const QList<QAction*> items = w.EnglishVoiceMenu->actions();
    ASSERT_EQ(items.size(), 4);
    const QStringList captions = {QStringLiteral("女性 (slt)"), QStringLiteral("男性 (rms)"),
                                  QStringLiteral("eSpeak NG"), QStringLiteral("交互")};
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(items[i]->text(), captions[i]);
        EXPECT_EQ(items[i]->isChecked(), i == 0) << i;
    }
    log.clear();
    for (int i : {3, 1, 2, 0}) items[i]->trigger();
    EXPECT_EQ(log, (test::StepLog{"EnglishVoice 3", "EnglishVoice 1", "EnglishVoice 2", "EnglishVoice 0"}));
    EXPECT_TRUE(items[0]->isChecked());
    EXPECT_FALSE(items[2]->isChecked());

    // All four items stay on the bar's one row, the version still rightmost.
    w.show();
    QApplication::processEvents();
    const QList<QAction*> menus = w.menuBar()->actions();
    const QRect version = w.menuBar()->actionGeometry(menus[3]);
    for (int i = 0; i < 3; ++i) {
        const QRect r = w.menuBar()->actionGeometry(menus[i]);
        EXPECT_FALSE(r.isEmpty()) << i;
        EXPECT_EQ(r.top(), version.top()) << i;
        EXPECT_LT(r.right(), version.left()) << i;
    }
    EXPECT_LE(version.right(), w.menuBar()->width());
}

TEST_F(ReadOut1Window, StartStateAfterFormLoad) {
    ReadOut1& w = *window;
    w.Form_Load();
    EXPECT_FALSE(w.State().BalloonOn);
    EXPECT_TRUE(w.Option1[0]->isChecked());
    EXPECT_FALSE(w.Option1[1]->isChecked());
    EXPECT_EQ(w.Label4->text(), QStringLiteral("日本語の位取りは万、億、兆なのに対して、\r\n"
                                               "英語の位取りは千、百万、十億、兆なので、\r\n"
                                               "一万、十万、千万、一億、十億、百億、千億が苦手？"));
    EXPECT_FALSE(w.Label4->isHidden());
    for (QWidget* hidden :
         std::initializer_list<QWidget*>{w.Command2, w.Frame1, w.Text2, w.Label3, w.Text1, w.Text4})
        EXPECT_TRUE(hidden->isHidden()) << hidden->objectName().toStdString();
    EXPECT_TRUE(w.Command1->text().isEmpty());
    EXPECT_TRUE(w.Command2->text().isEmpty());
    EXPECT_EQ(w.RecCount1(), 0);
    EXPECT_FALSE(w.Timer1.enabled());
    EXPECT_FALSE(w.Timer3.enabled());
    EXPECT_EQ(w.ejTimer2.interval(), 0) << "the countdown must not tick before it is armed";
    EXPECT_TRUE(w.Command6->isEnabled());
    for (int p = 1; p <= 15; ++p) EXPECT_FALSE(w.Check1[p]->isChecked() || w.Check2[p]->isChecked()) << p;
    EXPECT_EQ(w.State().PlaceMode, 0);
    EXPECT_EQ(w.State().ReadingGap, 0);
    EXPECT_EQ(w.State().WinEdition, "98");
    EXPECT_NE(w.SpeechChar, nullptr);
    EXPECT_FALSE(w.isVisible()) << "start-up must not show the window";
}

TEST_F(ReadOut1Window, StartUpStepsRunInTheirOrder) {
    window->Form_Load();
    using ::testing::ElementsAre;
    using ::testing::StartsWith;
    // Steps 1 to 9 are done before the character loads; the captions are emptied, the window centred
    // and the character placed before the version is appended; the edition is read last.
    EXPECT_THAT(log,
                ElementsAre("Load peedy /opt/tallyvox/PEEDY.acs | label4=lines option0 hidden timers-off "
                            "command1=design version=design uncentred",
                            "Item peedy", "Show", "FontSize 30", StartsWith("MoveTo "),
                            "Registry Software\\Microsoft\\Windows\\CurrentVersion"));
    EXPECT_THAT(log[4],
                ::testing::EndsWith(
                    "| label4=lines option0 hidden timers-off command1=empty version=design centred"));
}

TEST_F(ReadOut1Window, OptionButtonsSetTheBalloonFlag) {
    ReadOut1& w = *window;
    w.Form_Load();
    w.Option1[1]->click();
    EXPECT_TRUE(w.State().BalloonOn);
    w.Option1[1]->click();  // already selected: unchanged
    EXPECT_TRUE(w.State().BalloonOn);
    w.Option1[0]->click();
    EXPECT_FALSE(w.State().BalloonOn);
}

TEST_F(ReadOut1Window, EveryNumberDrawnBecomesTheBalloonsOnlySubject) {
    ReadOut1& w = *window;
    w.Form_Load();
    w.Option1[1]->click();
    w.Command8->click();  // Japanese only: draws at once
    w.Timer4.setEnabled(false);
    const std::string shown = w.Command1->text().toStdString();
    ASSERT_FALSE(shown.empty());
    EXPECT_EQ(log.back(), "Subject " + shown);
    w.Command7->click();  // a new start draws the next number
    w.Timer4.setEnabled(false);
    EXPECT_EQ(log.back(), "Subject " + w.Command1->text().toStdString());
}

// Brightness of the pixel, 0..765.
int lightness(QRgb c) {
    return qRed(c) + qGreen(c) + qBlue(c);
}

TEST_F(ReadOut1Window, StartButtonsAreRaisedInTheirBackColourAndFocusIsNotPink) {
    ReadOut1& w = *window;
    w.Form_Load();
    w.Command7->click();
    w.Timer4.setEnabled(false);
    const QColor pink(kStartButtonPink.red, kStartButtonPink.green, kStartButtonPink.blue);
    for (QPushButton* b : {w.Command4, w.Command5, w.Command7, w.Command8, w.Command1}) {
        // A style sheet would draw the colour on a flat face.
        EXPECT_TRUE(b->styleSheet().isEmpty()) << b->objectName().toStdString();
        const QImage face = b->grab().toImage();
        // Beside the caption, clear of its glyphs.
        const QRgb middle = face.pixel(6, face.height() / 2);
        const QColor want = b == w.Command7 ? pink : b->palette().color(QPalette::Button);
        EXPECT_NEAR(qRed(middle), want.red(), 40) << b->objectName().toStdString();
        EXPECT_NEAR(qGreen(middle), want.green(), 40) << b->objectName().toStdString();
        EXPECT_NEAR(qBlue(middle), want.blue(), 40) << b->objectName().toStdString();
        // Raised: the lower edge is shaded darker than the face.
        EXPECT_LT(lightness(face.pixel(face.width() / 2, face.height() - 1)), lightness(middle))
            << b->objectName().toStdString();
    }
    EXPECT_EQ(w.Command7->palette().color(QPalette::Button), pink);
    EXPECT_EQ(w.Command4->palette().color(QPalette::Button), w.palette().color(QPalette::Button));
    // The focus frame is drawn in the highlight colour, which must not pass for the mode colour.
    const QColor focus = w.Command7->palette().color(QPalette::Highlight);
    EXPECT_GT(std::abs(focus.hue() - pink.hue()), 30);
}

}  // namespace
}  // namespace drill
