#include "qt/agent/Agent.h"
#include "qt/agent/BalloonWindow.h"
#include "qt/agent/Character.h"
#include "qt/agent/CharacterWindow.h"

#include "FakeSpeechService.h"
#include "QtTestApp.h"
#include "StandInFaces.h"

#include <QApplication>
#include <QMessageBox>
#include <QTest>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

namespace {

using agent::AgentError;
using agent::speech::EngineKind;
using agent::test::FakeSpeechService;
using ::testing::HasSubstr;

const std::string kFile = TVX_CHARACTER_FILE;

class AgentTest : public ::testing::Test {
protected:
    AgentTest() {
        auto fake = std::make_unique<FakeSpeechService>();
        voice = fake.get();
        agent = std::make_unique<agent::Agent>(std::move(fake));
    }

    agent::Character& loadPeedy() {
        agent->Characters().Load("peedy", kFile);
        return *agent->find("peedy");
    }
    // The character as the start-up leaves it: shown, placed, its show animation over.
    agent::Character& shownPeedy() {
        agent::Character& peedy = loadPeedy();
        peedy.Show();
        peedy.MoveTo(300, 400, 0);
        EXPECT_TRUE(QTest::qWaitFor(
            [&] { return peedy.window().isVisible() && peedy.window().currentAnimation() == "idle"; }, 2000));
        return peedy;
    }

    FakeSpeechService* voice = nullptr;
    std::unique_ptr<agent::Agent> agent;
};

TEST_F(AgentTest, CharactersAreFoundWithoutRegardToCase) {
    agent->Characters().Load("peedy", kFile);
    agent::ICharacter& peedy = agent->Characters().Item("peedy");
    EXPECT_EQ(&agent->Characters().Item("PEEDY"), &peedy);
    EXPECT_EQ(&agent->Characters().Item("Peedy"), &peedy);
    EXPECT_THROW(agent->Characters().Item("merlin"), AgentError);
    EXPECT_THROW(agent->Characters().Load("Peedy", kFile), AgentError);
}

TEST_F(AgentTest, AFailedLoadLeavesNothingBehind) {
    try {
        agent->Characters().Load("peedy", "/nonexistent/PEEDY.acs");
        FAIL() << "loaded a missing file";
    } catch (const AgentError& e) {
        EXPECT_THAT(e.what(), HasSubstr("/nonexistent/PEEDY.acs"));
    }
    EXPECT_THROW(agent->Characters().Item("peedy"), AgentError);
    EXPECT_NO_THROW(agent->Characters().Load("peedy", kFile));
}

TEST_F(AgentTest, SpeakUsesTheEngineChosenWhenItIsCalled) {
    agent::ICharacter& peedy = loadPeedy();
    EXPECT_EQ(peedy.TTSModeID(), agent::kEnglishModeId);
    peedy.Speak("12,345");
    const std::string japanese = "{A778E060-A936-11D1-b17b-0020afed142e}";
    peedy.setTTSModeID(japanese);
    EXPECT_EQ(peedy.TTSModeID(), japanese);
    peedy.Speak("\\Spd=195\\12,345");
    EXPECT_THROW(peedy.setTTSModeID("{00000000-0000-0000-0000-000000000000}"), AgentError);
    EXPECT_THROW(peedy.setTTSModeID(""), AgentError);
    EXPECT_EQ(peedy.TTSModeID(), japanese);
    peedy.setTTSModeID(agent::kEnglishModeId);
    peedy.Speak("7");

    using Spoken = std::pair<EngineKind, std::string>;
    EXPECT_EQ(voice->spoken, (std::vector<Spoken>{{EngineKind::English, "12,345"},
                                                  {EngineKind::Japanese, "\\Spd=195\\12,345"},
                                                  {EngineKind::English, "7"}}));
}

TEST_F(AgentTest, BalloonShowsTheTextAboveWithoutMovingTheCharacter) {
    agent::Character& peedy = shownPeedy();
    peedy.Balloon().setFontSize(30);
    emit voice->requestStarted(QStringLiteral("123,456"));

    const agent::BalloonWindow& balloon = peedy.balloon();
    ASSERT_TRUE(balloon.isVisible());
    EXPECT_EQ(balloon.text(), QStringLiteral("123,456"));
    EXPECT_EQ(balloon.textFont().pointSize(), 30);
    expectOneInstalledFace(balloon.textFont(), kGothicFaces);
    EXPECT_EQ(peedy.window().geometry().topLeft(), QPoint(300, 400));
    EXPECT_LT(balloon.geometry().top(), peedy.window().geometry().top());
    EXPECT_TRUE(balloon.windowFlags().testFlag(Qt::WindowDoesNotAcceptFocus));

    // It follows the character when it moves.
    const QPoint offset = balloon.pos() - peedy.window().pos();
    peedy.MoveTo(320, 410, 0);
    EXPECT_EQ(balloon.pos() - peedy.window().pos(), offset);
}

TEST_F(AgentTest, BalloonClosesWithItsReading) {
    agent::Character& peedy = shownPeedy();
    const agent::BalloonWindow& balloon = peedy.balloon();
    emit voice->requestStarted(QStringLiteral("one"));
    EXPECT_TRUE(balloon.isVisible());
    emit voice->requestFinished();
    EXPECT_FALSE(balloon.isVisible());
    QTest::qWait(50);
    EXPECT_FALSE(balloon.isVisible());
}

TEST_F(AgentTest, BalloonNeverShowsANumberOtherThanTheOneOnTheDisplay) {
    agent::Character& peedy = shownPeedy();
    const agent::BalloonWindow& balloon = peedy.balloon();
    peedy.setBalloonSubject("660");
    emit voice->requestStarted(QStringLiteral("660"));
    ASSERT_TRUE(balloon.isVisible());

    // The next number is drawn while "660" is still being read: its balloon closes at once.
    peedy.setBalloonSubject("74");
    EXPECT_FALSE(balloon.isVisible());
    emit voice->requestFinished();

    // A second reading of "660" that was queued before the draw opens no balloon either.
    emit voice->requestStarted(QStringLiteral("660"));
    EXPECT_FALSE(balloon.isVisible());
    emit voice->requestFinished();

    emit voice->requestStarted(QStringLiteral("74"));
    EXPECT_TRUE(balloon.isVisible());
    EXPECT_EQ(balloon.text(), QStringLiteral("74"));
    // Drawing the same text again keeps the balloon that shows it.
    peedy.setBalloonSubject("74");
    EXPECT_TRUE(balloon.isVisible());
}

TEST_F(AgentTest, EmptyShownTextMeansNoBalloonAtAll) {
    agent::Character& peedy = shownPeedy();
    emit voice->requestStarted(QString());
    EXPECT_FALSE(peedy.balloon().isVisible());
    QTest::qWait(50);
    EXPECT_FALSE(peedy.balloon().isVisible());

    // Nor does an empty request leave the last balloon up.
    emit voice->requestStarted(QStringLiteral("42"));
    emit voice->requestFinished();
    emit voice->requestStarted(QString());
    EXPECT_FALSE(peedy.balloon().isVisible());
}

TEST_F(AgentTest, BeakFollowsTheVoice) {
    agent::Character& peedy = shownPeedy();
    const agent::CharacterWindow& window = peedy.window();
    const QString idleFrame = window.currentFrame();
    emit voice->requestStarted(QString());
    for (int opening : {2, 3, 1, 0, 3}) {
        emit voice->mouthChanged(opening);
        EXPECT_EQ(window.currentFrame(), QStringLiteral("beak_%1").arg(opening).replace("beak_0", "idle"));
    }
    emit voice->requestFinished();
    EXPECT_THAT(window.currentFrame().toStdString(), ::testing::Not(HasSubstr("beak_")));
    emit voice->mouthChanged(0);
    EXPECT_THAT(window.currentFrame().toStdString(), ::testing::Not(HasSubstr("beak_")));
}

// Start-up asks for the show and moves the character before its own window maps: the character appears
// after that window, once the event loop runs, and already where it was moved.
TEST_F(AgentTest, ShowPlaysOnceTheEventLoopRunsWhereTheCharacterWasMovedMeanwhile) {
    agent::Character& peedy = loadPeedy();
    peedy.Show();
    peedy.MoveTo(75, 422, 0);
    const agent::CharacterWindow& window = peedy.window();
    EXPECT_FALSE(window.isVisible());
    ASSERT_TRUE(QTest::qWaitFor([&] { return window.isVisible(); }, 2000));
    EXPECT_EQ(window.currentAnimation(), QStringLiteral("show"));
    EXPECT_EQ(window.frameGeometry().topLeft(), QPoint(75, 422));
}

// Start-up holds the show until the drill's window is painted; speaking releases it, nothing invents one.
TEST(AgentHeldShows, PlayOnReleaseOrAtTheFirstTextSpokenAndNeverUnasked) {
    const struct {
        const char* name;
        bool loadFirst, show, speak;
    } cases[] = {{"loaded while held", false, true, false},
                 {"loaded before the hold", true, true, false},
                 {"speaks while held", false, true, true},
                 {"no show asked", false, false, false}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        agent::Agent agent(std::make_unique<FakeSpeechService>());
        if (c.loadFirst) agent.Characters().Load("peedy", kFile);
        agent.holdShows();
        if (!c.loadFirst) agent.Characters().Load("peedy", kFile);
        agent::Character& peedy = *agent.find("peedy");
        if (c.show) peedy.Show();
        QTest::qWait(50);
        EXPECT_FALSE(peedy.window().isVisible());
        c.speak ? peedy.Speak("12") : agent.releaseShows();
        EXPECT_EQ(QTest::qWaitFor([&] { return peedy.window().isVisible(); }, c.show ? 2000 : 100), c.show);
    }
}

TEST_F(AgentTest, MoveToPlacesTheTopLeftExactly) {
    agent::ICharacter& peedy = loadPeedy();
    peedy.Show();
    peedy.MoveTo(75, 422, 0);
    const agent::CharacterWindow& window = agent->find("peedy")->window();
    EXPECT_EQ(window.geometry().topLeft(), QPoint(75, 422));
    EXPECT_EQ(window.frameGeometry().topLeft(), QPoint(75, 422));
    EXPECT_THROW(peedy.MoveTo(0, 0, -1), AgentError);
    EXPECT_EQ(window.geometry().topLeft(), QPoint(75, 422));
}

TEST_F(AgentTest, NoticesNeverBlock) {
    emit voice->notice(QStringLiteral("The Japanese voice is not installed."));
    QMessageBox* box = nullptr;
    for (QWidget* w : QApplication::topLevelWidgets())
        if (auto* b = qobject_cast<QMessageBox*>(w); b && b->isVisible()) box = b;
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(box->text(), QStringLiteral("The Japanese voice is not installed."));
    EXPECT_FALSE(box->isModal());
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
    EXPECT_TRUE(box->testAttribute(Qt::WA_DeleteOnClose));
    EXPECT_FALSE(box->testAttribute(Qt::WA_QuitOnClose));
}

TEST_F(AgentTest, ShutsTheVoiceDownBeforeTheCharacterGoes) {
    loadPeedy().Show();
    int shutdowns = 0;
    bool windowAliveAtShutdown = false;
    voice->onShutdown = [&] {
        ++shutdowns;
        for (QWidget* w : QApplication::topLevelWidgets())
            if (w->windowTitle() == QStringLiteral("peedy")) windowAliveAtShutdown = true;
        // A voice may report its end while stopping; nothing may break.
        emit voice->requestFinished();
    };
    agent.reset();
    EXPECT_EQ(shutdowns, 1);
    EXPECT_TRUE(windowAliveAtShutdown);
    for (QWidget* w : QApplication::topLevelWidgets()) EXPECT_NE(w->windowTitle(), QStringLiteral("peedy"));
}

}  // namespace
