// The listening test window driven by key presses, with a recording character and planned digits.

#include "DrillFakes.h"
#include "NoPower.h"
#include "QtTestApp.h"
#include "RegistryMemory.h"
#include "platform/Power.h"
#include "qt/drill/ChartsRateChart.h"
#include "qt/drill/ListeningSummaryView.h"
#include "qt/drill/ListeningTest.h"
#include "qt/drill/ReadOut1.h"

#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QKeyEvent>
#include <QLabel>
#include <QLibrary>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPointer>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

namespace drill {
namespace {

using fakes::plannedDigits;
using fakes::RecordingCharacter;
using fakes::ScriptedRandom;

struct Rig {
    ReadOut1State main;
    RecordingCharacter peedy;
    QString savedTo;
    QPointer<ListeningTest> window;

    explicit Rig(std::deque<double> plan) {
        ListeningTestDeps deps;
        deps.mainState = &main;
        deps.characters = &peedy;
        deps.speechChar = &peedy;
        deps.random = std::make_unique<ScriptedRandom>(std::move(plan));
        deps.askSavePath = [this](QWidget*) { return savedTo; };
        deps.rateCharts = &makeChartsRateChart;
        window = new ListeningTest(std::move(deps), nullptr);
        window->show();
    }
    ~Rig() { delete window.data(); }

    // Key presses that carry the text, as an input method delivers full-width digits.
    void Type(const QString& text) {
        window->AnswerBox->clear();
        for (QChar c : text) {
            QKeyEvent press(QEvent::KeyPress, 0, Qt::NoModifier, QString(c));
            QApplication::sendEvent(window->AnswerBox, &press);
        }
    }
    void Enter() { QTest::keyClick(window->AnswerBox, Qt::Key_Return); }
};

TEST(ListeningTestWindow, KeyboardOnlyRoundOfTwentyNumbers) {
    std::initializer_list<int> numbers = {135, 7,   999, 305, 42,  100, 861, 58,  3,   720,
                                          111, 246, 9,   80,  512, 640, 77,  333, 904, 18};
    Rig rig(plannedDigits(numbers));
    int i = 0;
    for (int n : numbers) {
        rig.Enter();  // the first Enter starts, each later one goes on to the next number
        ASSERT_EQ(rig.peedy.spoken.size(), static_cast<size_t>(i + 1));
        const std::string said = rig.peedy.spoken.back().text;
        EXPECT_EQ(said.substr(said.size() - 5), "\"=\"\"\\") << said;  // an empty balloon
        // Every second answer is one too big in its last digit.
        const int answer = i % 2 == 0 ? n : n + 1;
        rig.Type(QString::number(answer));
        rig.Enter();
        EXPECT_EQ(rig.window->Verdict->text() == QStringLiteral("正解"), i % 2 == 0) << n;
        ++i;
    }
    const ListeningSession& s = rig.window->Session();
    EXPECT_EQ(s.Tried(), 20);
    EXPECT_EQ(s.Correct(), 10);
    EXPECT_EQ(rig.window->Summary->Counts->text(),
              QStringLiteral("出題 20　正解 10　もう一度 0（うち ゆっくり 0）"));
    // Table rows run from 百兆 (row 0) to 一 (row 14).
    EXPECT_EQ(rig.window->Summary->Places->item(14, 1)->text(), QStringLiteral("20"));
    EXPECT_EQ(rig.window->Summary->Places->item(0, 1)->text(), QStringLiteral("0"));
    EXPECT_GT(rig.window->Summary->PlaceChart->rate(14), 0.0);
    EXPECT_DOUBLE_EQ(rig.window->Summary->PlaceChart->rate(0), 0.0);
    EXPECT_EQ(rig.window->Summary->PlaceChart->widget()->metaObject()->className(), QByteArray("QChartView"));
}

// The module the drill opens: its one entry point is exported under its C name and makes Qt Charts
// charts that keep their rates.
TEST(ListeningTestWindow, TheChartsModuleMakesQtChartsCharts) {
    QLibrary module(QStringLiteral(TVX_RATE_CHART_MODULE));
    ASSERT_TRUE(module.load()) << module.errorString().toStdString();
    const auto make = reinterpret_cast<MakeRateChart>(module.resolve(kRateChartEntryPoint));
    ASSERT_NE(make, nullptr) << module.errorString().toStdString();
    QWidget parent;
    const std::unique_ptr<RateChart> chart(
        make(QStringLiteral("t"), {QStringLiteral("a"), QStringLiteral("b")}, &parent));
    EXPECT_EQ(chart->widget()->parent(), &parent);
    EXPECT_EQ(chart->widget()->metaObject()->className(), QByteArray("QChartView"));
    chart->setRate(1, 25.0);
    EXPECT_DOUBLE_EQ(chart->rate(1), 25.0);
    EXPECT_DOUBLE_EQ(chart->rate(0), 0.0);
}

// No charts module beside the program (as beside this test): the summary still counts, and each
// chart's place says in plain words that it cannot be drawn.
TEST(ListeningTestWindow, WithoutTheChartsModuleTheSummaryStillCountsAndSaysWhy) {
    ListeningSummaryView view(rateChartModule());
    ListeningSummary summary = SummariseSession(ListeningSession());
    summary.placeRates[13] = 50.0;
    view.Show(summary);
    const auto* place = qobject_cast<QLabel*>(view.PlaceChart->widget());
    ASSERT_NE(place, nullptr);
    EXPECT_EQ(place->textFormat(), Qt::PlainText);
    EXPECT_TRUE(place->text().startsWith(QStringLiteral("位ごとの誤答率: the chart cannot be drawn (")))
        << place->text().toStdString();
    EXPECT_DOUBLE_EQ(view.PlaceChart->rate(13), 50.0);
}

TEST(ListeningTestWindow, FullWidthRightAnswerAndAMarkedShift) {
    Rig rig(plannedDigits({472, 472}));
    rig.Enter();
    rig.Type(QStringLiteral("４７２"));
    rig.Enter();
    EXPECT_EQ(rig.window->Verdict->text(), QStringLiteral("正解"));

    rig.Enter();
    rig.Type(QStringLiteral("4,720"));
    rig.Enter();
    EXPECT_EQ(rig.window->Verdict->text(), QStringLiteral("位ずれ：1桁多い（百の位を千の位と聞き違え）"));
    EXPECT_EQ(rig.window->CorrectLine->text(), QStringLiteral("472"));
    EXPECT_EQ(rig.window->AnswerLine->text(),
              QStringLiteral("4,72<span style=\"color:#d00000; text-decoration:underline;\">0</span>"));
}

TEST(ListeningTestWindow, NonDigitsGetAnInlineHintAndAreNotCounted) {
    Rig rig(plannedDigits({135}));
    rig.Enter();
    rig.Type(QStringLiteral("<b>135</b>"));
    rig.Enter();
    EXPECT_FALSE(rig.window->Hint->text().isEmpty());
    EXPECT_EQ(rig.window->Hint->textFormat(), Qt::PlainText);
    EXPECT_EQ(rig.window->Session().Tried(), 0);
    EXPECT_FALSE(rig.window->Answered());
    QTest::keyClick(rig.window->AnswerBox, Qt::Key_Backspace);  // editing again clears the hint
    EXPECT_TRUE(rig.window->Hint->text().isEmpty());
    rig.Type(QStringLiteral("１３５"));
    rig.Enter();
    EXPECT_EQ(rig.window->Session().Correct(), 1);
}

TEST(ListeningTestWindow, ReplaysRepeatTheSameNumberAndAreCounted) {
    Rig rig(plannedDigits({305, 42}));
    rig.window->JapaneseOption->setChecked(true);
    rig.window->StartButton->click();
    rig.window->ReplayButton->click();
    rig.window->SlowButton->click();
    ASSERT_EQ(rig.peedy.spoken.size(), 3u);
    EXPECT_EQ(rig.peedy.spoken[0].modeId, agent::kJapaneseModeId);
    EXPECT_EQ(rig.peedy.spoken[1].text, rig.peedy.spoken[0].text);
    EXPECT_EQ(rig.peedy.spoken[2].text, "\\Spd=110\\\\Map=\"305\"=\"\"\\");
    rig.Type(QStringLiteral("305"));
    // Enter on a button checks too, once: buttons here are never default buttons.
    QTest::keyClick(rig.window->SlowButton, Qt::Key_Return);
    EXPECT_EQ(rig.window->Session().Tried(), 1);
    EXPECT_EQ(rig.peedy.spoken.size(), 3u);
    EXPECT_EQ(rig.window->Session().Trials().at(0).replays, 1);
    EXPECT_EQ(rig.window->Session().Trials().at(0).slowReplays, 1);
    EXPECT_EQ(rig.window->Session().Replays(), 2);
    EXPECT_EQ(rig.window->Session().Trials().at(0).language, ListeningLanguage::Japanese);
}

TEST(ListeningTestWindow, AMissingVoiceIsReportedInTheWindowNotThrownOutOfTheClick) {
    Rig rig(plannedDigits({305}));
    rig.peedy.rejectMode = agent::kJapaneseModeId;
    rig.window->JapaneseOption->setChecked(true);
    EXPECT_NO_THROW(rig.window->StartButton->click());
    EXPECT_TRUE(rig.window->Hint->text().startsWith(QStringLiteral("読み上げできませんでした")));
    EXPECT_TRUE(rig.peedy.spoken.empty());
    rig.window->EnglishOption->setChecked(true);  // the number keeps its language
    EXPECT_NO_THROW(rig.window->ReplayButton->click());
    EXPECT_TRUE(rig.peedy.spoken.empty());
}

TEST(ListeningTestWindow, SavesCsvOnlyWhenAskedAndReportsAFailureInline) {
    QTemporaryDir dir;
    Rig rig(plannedDigits({135}));
    rig.Enter();
    rig.Type(QStringLiteral("135"));
    rig.Enter();
    EXPECT_TRUE(QDir(dir.path()).entryList(QDir::Files).isEmpty());

    rig.savedTo.clear();  // the dialog was cancelled
    rig.window->SaveButton->click();
    EXPECT_TRUE(QDir(dir.path()).entryList(QDir::Files).isEmpty());

    rig.savedTo = dir.filePath(QStringLiteral("session.csv"));
    rig.window->SaveButton->click();
    QFile file(rig.savedTo);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll().toStdString(), rig.window->Session().Csv());

    rig.savedTo = dir.filePath(QStringLiteral("no/such/folder/session.csv"));
    rig.window->SaveButton->click();
    EXPECT_TRUE(rig.window->Status->text().startsWith(QStringLiteral("保存できませんでした")));
}

TEST(ListeningTestWindow, EscapeClosesAndDiscardsTheSession) {
    Rig rig(plannedDigits({135}));
    QTest::keyClick(rig.window->AnswerBox, Qt::Key_Escape);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(rig.window.isNull());
}

class FakeAgent final : public agent::IAgent {
public:
    agent::ICharacters& Characters() override { return peedy; }
    RecordingCharacter peedy;
};

TEST(ListeningTestWindow, MenuItemSitsBeforeVersionAndOpeningOrReadingStopsTheDrill) {
    auto agentOwned = std::make_unique<FakeAgent>();
    FakeAgent& agentRef = *agentOwned;
    ReadOut1Deps deps;
    deps.agent = std::move(agentOwned);
    deps.registry = std::make_shared<platform::RegistryMemory>();
    deps.power = std::make_unique<tvx::test::NoPower>();
    deps.random = std::make_unique<ScriptedRandom>(plannedDigits({135, 246}));
    ReadOut1 main(std::move(deps));
    main.Form_Load();
    const QList<QAction*> items = main.menuBar()->actions();
    ASSERT_EQ(items.size(), 4);
    EXPECT_EQ(items[0], main.Copyright);
    EXPECT_EQ(items[1]->text(), QStringLiteral("聞き取りテスト"));
    EXPECT_EQ(items[2]->menu(), main.EnglishVoiceMenu);
    EXPECT_EQ(items[3], main.Version);

    main.Command7->click();  // 英語だけ: the drill runs on Timer4
    ASSERT_TRUE(main.Timer4.enabled());
    const QString shown = main.Command1->text();
    main.ListeningTestMenu->trigger();
    EXPECT_FALSE(main.Timer1.enabled());
    EXPECT_FALSE(main.Timer3.enabled());
    EXPECT_FALSE(main.Timer4.enabled());
    ListeningTest* test = main.ListeningTestWindow();
    ASSERT_NE(test, nullptr);
    EXPECT_EQ(test->parentWidget(), &main);
    EXPECT_TRUE(test->isVisible());

    // The test's number reaches neither the display nor the hidden reading texts.
    const size_t before = agentRef.peedy.spoken.size();
    test->StartButton->click();
    ASSERT_EQ(agentRef.peedy.spoken.size(), before + 1);
    const std::string said = agentRef.peedy.spoken.back().text;
    EXPECT_EQ(said.rfind("\\Map=\"", 0), 0u) << said;
    EXPECT_EQ(said.substr(said.size() - 5), "\"=\"\"\\") << said;  // never in the balloon
    EXPECT_EQ(main.Command1->text(), shown);
    EXPECT_EQ(test->Session().Tried(), 0);
    // A drill started while the test is open stops at the test's next reading.
    main.Command4->click();
    ASSERT_TRUE(main.Timer1.enabled() || main.Timer3.enabled() || main.Timer4.enabled());
    test->ReplayButton->click();
    EXPECT_FALSE(main.Timer1.enabled() || main.Timer3.enabled() || main.Timer4.enabled());
    // Opening again raises the same window, with its session.
    main.ListeningTestMenu->trigger();
    EXPECT_EQ(main.ListeningTestWindow(), test);
    EXPECT_TRUE(test->HasNumber());
}

// The character stays on top of every window: one the test would lie under steps aside, clear of the
// place columns, and goes back when the test closes.
TEST(ListeningTestWindow, TheCharacterStepsAsideWhileTheTestIsOpen) {
    auto agentOwned = std::make_unique<FakeAgent>();
    RecordingCharacter& peedy = agentOwned->peedy;
    ReadOut1Deps deps;
    deps.agent = std::move(agentOwned);
    deps.registry = std::make_shared<platform::RegistryMemory>();
    deps.power = std::make_unique<tvx::test::NoPower>();
    ReadOut1 main(std::move(deps));
    main.Form_Load();
    main.show();
    ASSERT_TRUE(peedy.at);
    const agent::CharacterBounds home = *peedy.at;
    const auto rectOf = [](const agent::CharacterBounds& b) { return QRect(b.x, b.y, b.width, b.height); };
    // The offscreen screen is 800x600: no room beside the drill, and the test would cover the character.
    main.ListeningTestMenu->trigger();
    ListeningTest* test = main.ListeningTestWindow();
    ASSERT_NE(test, nullptr);
    const QRect screen = main.screen()->availableGeometry();
    EXPECT_TRUE(screen.contains(test->frameGeometry())) << test->frameGeometry().x();
    EXPECT_FALSE(test->frameGeometry().intersects(
        QRect(main.Check1[15]->mapToGlobal(QPoint(0, 0)), main.Check1[1]->mapToGlobal(QPoint(0, 0)))));
    ASSERT_TRUE(peedy.at);
    EXPECT_FALSE(test->frameGeometry().intersects(rectOf(*peedy.at)));
    EXPECT_TRUE(screen.contains(rectOf(*peedy.at)));

    QTest::keyClick(test->AnswerBox, Qt::Key_Escape);
    EXPECT_EQ(rectOf(*peedy.at), rectOf(home));
}

}  // namespace
}  // namespace drill
