#include "core/autoend/Countdown.h"

#include "AutoEndFakes.h"
#include "core/autoend/AutoEndState.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace autoend {
namespace {

using testing::FakeClock;
using testing::FakeHost;
using testing::FakePower;
using Calls = std::vector<std::string>;

const std::string& u8(const std::string& s) {
    return s;
}

TEST(CountdownCaptions, MinutesWithOneDecimalRoundedHalfAway) {
    EXPECT_EQ(u8(minuteCaption(5, 0, true)), "あと 5.0 分でシャットダウン");
    EXPECT_EQ(u8(minuteCaption(5, 30, true)), "あと 4.5 分でシャットダウン");
    EXPECT_EQ(u8(minuteCaption(5, 300, false)), "あと 0.0 分でTallyvox-Number終了");
    EXPECT_EQ(u8(minuteCaption(5, 3, true)), "あと 5.0 分でシャットダウン");     // 4.95
    EXPECT_EQ(u8(minuteCaption(5, 9, true)), "あと 4.9 分でシャットダウン");     // 4.85, a binary 4.8499...
    EXPECT_EQ(u8(minuteCaption(5, 8, true)), "あと 4.9 分でシャットダウン");     // 4.8667
    EXPECT_EQ(u8(minuteCaption(5, 302, true)), "あと -0.0 分でシャットダウン");  // -0.033
    EXPECT_EQ(u8(minuteCaption(5, 303, true)), "あと -0.1 分でシャットダウン");  // -0.05
    EXPECT_EQ(u8(minuteCaption(1, 900, true)), "あと -14.0 分でシャットダウン");
    EXPECT_EQ(u8(minuteCaption(12345, 0, false)), "あと 12345.0 分でTallyvox-Number終了");
    EXPECT_EQ(u8(minuteCaption(2147483647, -60, true)), "あと 2147483648.0 分でシャットダウン");
}

TEST(CountdownCaptions, CountsAsPlainDifference) {
    EXPECT_EQ(u8(countCaption(50, 0, true)), "あと 50 個でシャットダウン");
    EXPECT_EQ(u8(countCaption(50, 51, true)), "あと -1 個でシャットダウン");
    EXPECT_EQ(u8(countCaption(50, 50, false)), "あと 0 個でTallyvox-Number終了");
    EXPECT_EQ(u8(countCaption(-2147483647 - 1, 32767, false)), "あと -2147516415 個でTallyvox-Number終了");
}

TEST(ShutdownWindowsTest, OldEditionsAskPlainly) {
    for (const char* tag : {"95", "98", "ME"}) {
        FakePower power;
        ShutdownWindows(tag, power);
        EXPECT_EQ(power.calls, Calls{"requestShutdown"}) << tag;
    }
}

TEST(ShutdownWindowsTest, OtherTagsAcquireTheRightThenForce) {
    for (const char* tag : {"XP", "Else", "", "me", "2000"}) {
        FakePower power;
        ShutdownWindows(tag, power);
        EXPECT_EQ(power.calls, (Calls{"acquireShutdownRight", "forcePowerOff"})) << tag;
    }
}

TEST(ShutdownWindowsTest, FailingStepIsSkipped) {
    FakePower power;
    power.failing = {"acquireShutdownRight"};
    EXPECT_NO_THROW(ShutdownWindows("Else", power));
    EXPECT_EQ(power.calls, (Calls{"acquireShutdownRight", "forcePowerOff"}));
}

class CountdownTick : public ::testing::Test {
protected:
    void arm(const char* mode, std::int32_t limit) {
        state.AutoEndMode = mode;
        state.AutoEndLimit = limit;
        state.AutoEndStart = clock.t;
    }
    std::string tick() {
        host.log.clear();
        countdown.ejtimer2_timer();
        return u8(host.caption);
    }
    int powerOffs() const {
        int n = 0;
        for (const auto& c : power.calls) n += c == "forcePowerOff";
        return n;
    }

    FakeHost host;
    FakeClock clock;
    FakePower power;
    AutoEndState state;
    Countdown countdown{host, state, clock, [this]() -> platform::IPower& { return power; }};
};

TEST_F(CountdownTick, MinuteShutdownFollowsTheClock) {
    arm("MShut", 5);
    EXPECT_EQ(tick(), "あと 5.0 分でシャットダウン");
    EXPECT_TRUE(host.frame1Visible);
    clock.advance(30);
    EXPECT_EQ(tick(), "あと 4.5 分でシャットダウン");
    clock.advance(270);
    EXPECT_EQ(tick(), "あと 0.0 分でシャットダウン");
    EXPECT_TRUE(power.calls.empty());
    clock.advance(1);
    EXPECT_EQ(tick(), "あと -0.0 分でシャットダウン");
    EXPECT_EQ(power.calls, (Calls{"acquireShutdownRight", "forcePowerOff"}));
    // Nothing is disarmed: the request comes again at every tick, the caption keeps falling.
    clock.advance(60);
    EXPECT_EQ(tick(), "あと -1.0 分でシャットダウン");
    EXPECT_EQ(powerOffs(), 2);
    EXPECT_EQ(state.AutoEndMode, "MShut");
    EXPECT_EQ(host.quits, 0);
}

TEST_F(CountdownTick, FrameFirstThenCaptionThenTest) {
    arm("MEnd", 1);
    clock.advance(61);
    tick();
    EXPECT_EQ(host.changes(),
              (Calls{"Frame1.Show", "Command9.Caption あと -0.0 分でTallyvox-Number終了", "quit"}));
}

TEST_F(CountdownTick, TestReadsTheClockAfresh) {
    arm("MEnd", 5);
    clock.advance(300);
    struct SteppingClock : IWallClock {
        FakeClock& base;
        explicit SteppingClock(FakeClock& b) : base(b) {}
        std::chrono::local_seconds now() const override {
            const auto t = base.now();
            base.advance(1);  // the next reading is a second later
            return t;
        }
    } stepping{clock};
    Countdown c{host, state, stepping, [this]() -> platform::IPower& { return power; }};
    c.ejtimer2_timer();
    EXPECT_EQ(u8(host.caption), "あと 0.0 分でTallyvox-Number終了");
    EXPECT_EQ(host.quits, 1);
}

TEST_F(CountdownTick, MinuteQuitAtTheFirstSecondPastTheLimit) {
    arm("MEnd", 2);
    clock.advance(120);
    EXPECT_EQ(tick(), "あと 0.0 分でTallyvox-Number終了");
    EXPECT_EQ(host.quits, 0);
    clock.advance(1);
    tick();
    EXPECT_EQ(host.quits, 1);
    EXPECT_TRUE(power.calls.empty());
}

TEST_F(CountdownTick, ClockSetBackLengthensTheCountdown) {
    arm("MShut", 1);
    clock.advance(-60);
    EXPECT_EQ(tick(), "あと 2.0 分でシャットダウン");
    EXPECT_TRUE(power.calls.empty());
}

TEST_F(CountdownTick, CountShutdownFiresPastTheLimit) {
    arm("RShut", 50);
    EXPECT_EQ(tick(), "あと 50 個でシャットダウン");
    host.recCount1 = 50;
    EXPECT_EQ(tick(), "あと 0 個でシャットダウン");
    EXPECT_TRUE(power.calls.empty());
    host.recCount1 = 51;
    EXPECT_EQ(tick(), "あと -1 個でシャットダウン");
    tick();
    EXPECT_EQ(powerOffs(), 2);
}

TEST_F(CountdownTick, CountQuitReadsTheCountOnce) {
    arm("REnd", 10);
    host.recCount1 = 11;
    EXPECT_EQ(tick(), "あと -1 個でTallyvox-Number終了");
    EXPECT_EQ(host.quits, 1);
    int reads = 0;
    for (const auto& c : host.log) reads += c == "RecCount1?";
    EXPECT_EQ(reads, 1);
}

TEST_F(CountdownTick, OldEditionTagTakesThePlainRequest) {
    host.edition = "98";
    arm("RShut", 0);
    host.recCount1 = 1;
    tick();
    EXPECT_EQ(power.calls, Calls{"requestShutdown"});
}

TEST_F(CountdownTick, UnarmedOrUnknownModeOnlyShowsTheFrame) {
    for (const char* mode : {"", "mshut", "MShut ", "Other"}) {
        arm(mode, 0);
        host.recCount1 = 100;
        clock.advance(10000);
        tick();
        EXPECT_EQ(host.changes(), Calls{"Frame1.Show"}) << mode;
    }
    EXPECT_TRUE(power.calls.empty());
    EXPECT_EQ(host.quits, 0);
}

TEST_F(CountdownTick, FailingStepsAreSkipped) {
    arm("MShut", 0);
    clock.advance(1);
    host.failing = {"Frame1.Show", "Command9.Caption"};
    EXPECT_NO_THROW(tick());
    EXPECT_EQ(powerOffs(), 1);

    // The power layer failing is skipped too, and asked again next tick.
    power.failing = {"acquireShutdownRight", "forcePowerOff"};
    EXPECT_NO_THROW(tick());
    EXPECT_EQ(powerOffs(), 2);

    // An unreadable count skips both the caption and the test.
    arm("REnd", 0);
    host.failing = {"RecCount1?"};
    host.recCount1 = 5;
    EXPECT_NO_THROW(tick());
    EXPECT_EQ(host.quits, 0);
}

TEST_F(CountdownTick, MinuteModeWithoutStartDoesNothing) {
    state.AutoEndMode = "MShut";
    state.AutoEndLimit = 0;
    state.AutoEndStart.reset();
    tick();
    EXPECT_EQ(host.changes(), Calls{"Frame1.Show"});
    EXPECT_TRUE(power.calls.empty());
}

TEST_F(CountdownTick, CancelInOrderAndKeepsTheRest) {
    arm("MShut", 5);
    tick();
    host.recCount1 = 4;
    host.log.clear();
    countdown.Command10_Click();
    EXPECT_EQ(host.changes(),
              (Calls{"ejTimer2.Enabled 0", "Frame1.Hide", "Label4.Visible 1", "Command6.Enabled 1"}));
    EXPECT_EQ(state.AutoEndMode, "");
    EXPECT_EQ(state.AutoEndLimit, 5);
    EXPECT_TRUE(state.AutoEndStart.has_value());
    EXPECT_EQ(host.recCount1, 4);
    EXPECT_EQ(u8(host.caption), "あと 5.0 分でシャットダウン");
}

TEST_F(CountdownTick, CancelGoesOnPastFailingSteps) {
    arm("MEnd", 5);
    host.failing = {"getEjTimer2", "Frame1.Hide"};
    EXPECT_NO_THROW(countdown.Command10_Click());
    EXPECT_TRUE(host.label4Visible);
    EXPECT_TRUE(host.command6Enabled);
    EXPECT_EQ(state.AutoEndMode, "");
}

}  // namespace
}  // namespace autoend
