#include "agent/character/CharacterFile.h"
#include "qt/agent/CharacterWindow.h"

#include "QtTestApp.h"

#include <QElapsedTimer>
#include <QTest>

#include <gtest/gtest.h>

#include <set>

namespace {

using agent::CharacterWindow;

agent::character::CharacterData peedy() {
    return agent::character::loadCharacterFile(QStringLiteral(TVX_CHARACTER_FILE), QStringLiteral("peedy"));
}

// Runs the event loop until done() holds or ms pass; returns whether it held.
template <typename Done>
bool waitFor(Done done, int ms) {
    QElapsedTimer clock;
    clock.start();
    while (!done() && clock.elapsed() < ms) QTest::qWait(10);
    return done();
}

TEST(CharacterWindow, IsASeeThroughWindowThatNeverTakesTheFocus) {
    CharacterWindow window(peedy());
    EXPECT_EQ(window.windowTitle(), QStringLiteral("peedy"));
    const Qt::WindowFlags flags = window.windowFlags();
    EXPECT_TRUE(flags.testFlag(Qt::FramelessWindowHint));
    EXPECT_TRUE(flags.testFlag(Qt::WindowStaysOnTopHint));
    EXPECT_TRUE(flags.testFlag(Qt::WindowDoesNotAcceptFocus));
    EXPECT_TRUE(window.testAttribute(Qt::WA_TranslucentBackground));
    EXPECT_TRUE(window.testAttribute(Qt::WA_ShowWithoutActivating));
    EXPECT_EQ(window.size(), QSize(128, 128));
    EXPECT_FALSE(window.isVisible());
    EXPECT_EQ(window.focusPolicy(), Qt::NoFocus);
}

TEST(CharacterWindow, DrawsOnlyTheFramesItShows) {
    CharacterWindow window(peedy());
    EXPECT_EQ(window.drawnFrames().drawCount(), 0);
    window.playShow();
    EXPECT_EQ(window.drawnFrames().drawCount(), 1);
}

TEST(CharacterWindow, ShowAnimatesThenIdlesAndBlinks) {
    const auto data = peedy();
    CharacterWindow window(data);
    window.playShow();
    EXPECT_EQ(window.currentAnimation(), QStringLiteral("show"));
    EXPECT_EQ(window.currentFrame(), data.animations.at("show").front().frame);

    std::set<QString> seen;
    const bool idled = waitFor(
        [&] {
            seen.insert(window.currentFrame());
            return window.currentAnimation() == QStringLiteral("idle");
        },
        2000);
    ASSERT_TRUE(idled);
    for (const auto& step : data.animations.at("show"))
        EXPECT_TRUE(seen.contains(step.frame)) << step.frame.toStdString();

    // Blinks come at random, but within a few seconds.
    EXPECT_TRUE(waitFor([&] { return window.currentAnimation() == QStringLiteral("blink"); }, 8000));
    EXPECT_TRUE(waitFor([&] { return window.currentAnimation() == QStringLiteral("idle"); }, 1000));
}

TEST(CharacterWindow, BeakFramesOnlyWhileSpeakingAndNeverCutTheShowShort) {
    const auto data = peedy();
    CharacterWindow window(data);
    window.playShow();
    window.setSpeaking(true);
    window.setBeakOpening(3);
    EXPECT_EQ(window.currentAnimation(), QStringLiteral("show"));
    EXPECT_NE(window.currentFrame(), data.beakFrames[3]);
    ASSERT_TRUE(waitFor([&] { return window.currentAnimation() == QStringLiteral("idle"); }, 2000));
    EXPECT_EQ(window.currentFrame(), data.beakFrames[3]);

    window.setBeakOpening(1);
    EXPECT_EQ(window.currentFrame(), data.beakFrames[1]);
    window.setBeakOpening(9);
    EXPECT_EQ(window.currentFrame(), data.beakFrames[3]);
    window.setBeakOpening(-1);
    EXPECT_EQ(window.currentFrame(), data.beakFrames[0]);

    window.setBeakOpening(2);
    window.setSpeaking(false);
    EXPECT_EQ(window.currentAnimation(), QStringLiteral("idle"));
    EXPECT_NE(window.currentFrame(), data.beakFrames[2]);
}

TEST(CharacterWindow, MovesAtOnceOrGlides) {
    CharacterWindow window(peedy());
    window.playShow();
    window.moveTopLeft(QPoint(75, 422), 0);
    EXPECT_EQ(window.pos(), QPoint(75, 422));
    EXPECT_EQ(window.geometry().topLeft(), QPoint(75, 422));

    window.moveTopLeft(QPoint(300, 200), 300);
    QTest::qWait(100);
    EXPECT_NE(window.pos(), QPoint(300, 200));
    EXPECT_TRUE(waitFor([&] { return window.pos() == QPoint(300, 200); }, 2000));

    // An instant move cancels a glide under way.
    window.moveTopLeft(QPoint(0, 0), 500);
    QTest::qWait(50);
    window.moveTopLeft(QPoint(10, 20), 0);
    QTest::qWait(600);
    EXPECT_EQ(window.pos(), QPoint(10, 20));
}

// A file whose steps last 1 ms kept a core 15 % busy while the parrot idled.
TEST(CharacterWindow, StepsShorterThanTwentyMillisecondsAreLengthened) {
    auto data = peedy();
    auto& idle = data.animations.at("idle");
    const QString a = data.beakFrames[0];
    const QString b = data.beakFrames[3];
    idle = {{a, 1}, {b, 1}};
    data.animations.at("show") = {{b, 1}};
    // The loader lengthens short steps; a window given such data directly must not trust it either.
    CharacterWindow window(data);
    window.playShow();
    int changes = 0;
    QString last = window.currentFrame();
    QElapsedTimer clock;
    clock.start();
    while (clock.elapsed() < 500) {
        QTest::qWait(1);
        if (window.currentFrame() != last) {
            ++changes;
            last = window.currentFrame();
        }
    }
    EXPECT_GT(changes, 3);
    EXPECT_LE(changes, 500 / 20 + 2);
}

// Frames a file may hold can take a long time to draw; the animation then slows down rather
// than redraw without pause.
TEST(CharacterWindow, StepsLastLongerThanDrawingTheirFrame) {
    auto data = peedy();
    QByteArray path = "M0 0";
    for (int k = 0; k < 4000; ++k)
        path += "L" + QByteArray::number(k * 37 % 128) + " " + QByteArray::number(k * 91 % 128);
    data.frames["crossing"] =
        R"(<svg xmlns="http://www.w3.org/2000/svg" width="128" height="128"><path d=")" + path +
        R"(" fill="#3a3" stroke="#000" stroke-width="9" fill-rule="evenodd"/></svg>)";
    data.animations.at("show") = {{QStringLiteral("crossing"), 20}};
    CharacterWindow window(data);
    QElapsedTimer clock;
    clock.start();
    window.playShow();
    const qint64 spent = clock.elapsed();
    EXPECT_EQ(window.currentFrame(), QStringLiteral("crossing"));
    ASSERT_GE(spent, 10) << "the frame drew too fast to tell";
    EXPECT_GT(window.currentStepMs(), 20) << "drawing took " << spent << " ms";
    EXPECT_LE(window.currentStepMs(), 60000);
}

}  // namespace
