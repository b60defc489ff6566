#include "core/autoend/AutoEndForm.h"

#include "AutoEndFakes.h"
#include "core/autoend/AutoEndState.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace autoend {
namespace {

using testing::FakeClock;
using testing::FakeHost;
using Texts = std::vector<std::string>;

Texts texts(const AutoEndForm& f) {
    return {f.text(1), f.text(2), f.text(3), f.text(4)};
}

// Presses an arrow n times and returns the texts the row shows after each press.
Texts press(AutoEndForm& f, int row, bool up, int n) {
    Texts seen;
    for (int i = 0; i < n; ++i) {
        up ? f.UpClick(row) : f.DownClick(row);
        seen.push_back(f.text(row));
    }
    return seen;
}

TEST(AutoEndFormRows, OpensEmptyWithTheInitialSteps) {
    AutoEndForm f;
    EXPECT_EQ(texts(f), Texts(4, ""));
    EXPECT_EQ(f.Increment(1), 5);
    EXPECT_EQ(f.Increment(2), 5);
    EXPECT_EQ(f.Increment(3), 10);
    EXPECT_EQ(f.Increment(4), 10);
}

TEST(AutoEndFormRows, ClickChoosesTheRowWithItsStartValue) {
    AutoEndForm f;
    f.TextClick(1);
    EXPECT_EQ(texts(f), (Texts{"2", "", "", ""}));
    f.UpClick(1);
    f.UpClick(1);
    f.UpClick(1);
    EXPECT_EQ(f.text(1), "15");
    f.TextClick(2);
    EXPECT_EQ(texts(f), (Texts{"", "2", "", ""}));
    f.TextClick(3);
    EXPECT_EQ(texts(f), (Texts{"", "", "5", ""}));
    f.UpClick(3);
    f.TextClick(3);  // a click into the chosen row resets it
    EXPECT_EQ(texts(f), (Texts{"", "", "5", ""}));
    f.TextClick(4);
    EXPECT_EQ(texts(f), (Texts{"", "", "", "5"}));
}

TEST(AutoEndFormRows, ArrowsOfOneRowEmptyTheOthers) {
    AutoEndForm f;
    f.TextClick(1);
    for (int i = 0; i < 4; ++i) f.UpClick(1);
    ASSERT_EQ(f.text(1), "20");
    f.UpClick(3);
    EXPECT_EQ(texts(f), (Texts{"", "", "50", ""}));
    f.DownClick(2);
    EXPECT_EQ(texts(f), (Texts{"", "5", "", ""}));
}

TEST(AutoEndFormMinutes, UpStartsAtFiveAndStepsByFive) {
    for (int row : {1, 2}) {
        AutoEndForm f;
        EXPECT_EQ(press(f, row, true, 4), (Texts{"5", "10", "15", "20"}));
        f.TextClick(row);
        EXPECT_EQ(press(f, row, true, 1), (Texts{"5"}));
        EXPECT_EQ(f.Increment(row), 5);
    }
}

TEST(AutoEndFormMinutes, DownStopsAtFive) {
    AutoEndForm f;
    press(f, 1, true, 2);
    EXPECT_EQ(press(f, 1, false, 3), (Texts{"5", "5", "5"}));
    f.TextClick(1);
    EXPECT_EQ(press(f, 1, false, 1), (Texts{"5"}));
    AutoEndForm empty;
    EXPECT_EQ(press(empty, 2, false, 1), (Texts{"5"}));
}

TEST(AutoEndFormCounts, UpLadderChangesStepByValue) {
    for (int row : {3, 4}) {
        AutoEndForm f;
        const Texts seen = press(f, row, true, 17);
        EXPECT_EQ(seen, (Texts{"50", "60", "70", "80", "90", "100", "200", "300", "400", "500", "600", "700",
                               "800", "900", "1000", "2000", "3000"}));
        EXPECT_EQ(f.Increment(row), 1000);
    }
}

TEST(AutoEndFormCounts, FromNinetyUpGivesHundredThenTwoHundred) {
    AutoEndForm f;
    press(f, 3, true, 5);
    ASSERT_EQ(f.text(3), "90");
    EXPECT_EQ(press(f, 3, true, 2), (Texts{"100", "200"}));
    EXPECT_EQ(f.Increment(3), 100);
}

TEST(AutoEndFormCounts, DownLadderReturnsToFifty) {
    AutoEndForm f;
    press(f, 4, true, 8);  // ... 100, 200, 300
    ASSERT_EQ(f.text(4), "300");
    EXPECT_EQ(press(f, 4, false, 9), (Texts{"200", "100", "90", "80", "70", "60", "50", "50", "50"}));
    EXPECT_EQ(f.Increment(4), 10);
}

TEST(AutoEndFormCounts, DownFromAClickOrEmptyGivesFifty) {
    AutoEndForm f;
    f.TextClick(3);
    EXPECT_EQ(press(f, 3, false, 1), (Texts{"50"}));
    AutoEndForm empty;
    EXPECT_EQ(press(empty, 4, false, 1), (Texts{"50"}));
}

TEST(AutoEndFormCounts, DownAtThousandMirrorsTheUpClick) {
    AutoEndForm f;
    press(f, 3, true, 16);  // ... 1000, 2000 with step 1000
    ASSERT_EQ(f.text(3), "2000");
    EXPECT_EQ(press(f, 3, false, 3), (Texts{"1000", "900", "800"}));
    EXPECT_EQ(f.Increment(3), 100);

    AutoEndForm g;
    press(g, 3, true, 16);
    g.UpClick(3);  // 3000
    press(g, 3, false, 2);
    ASSERT_EQ(g.text(3), "1000");
    g.UpClick(3);  // 2000, the step back at 1000
    g.DownClick(3);
    EXPECT_EQ(g.text(3), "1000");
    g.DownClick(3);
    EXPECT_EQ(g.text(3), "900");
}

TEST(AutoEndFormCounts, StopRisingAtTheCeiling) {
    AutoEndForm f;
    const Texts seen = press(f, 4, true, 50);
    EXPECT_EQ(seen[44], "31000");
    EXPECT_EQ(seen[45], "32000");
    EXPECT_EQ(seen.back(), "32000");
    f.DownClick(4);
    EXPECT_EQ(f.text(4), "31000");
}

class AutoEndFormExecute : public ::testing::Test {
protected:
    FakeHost host;
    FakeClock clock;
    AutoEndState state;
    AutoEndForm form;
};

TEST_F(AutoEndFormExecute, NoRowArmsNothing) {
    state.AutoEndMode = "stale";
    host.recCount1 = 7;
    EXPECT_FALSE(form.Command11_Click(host, state, clock));
    EXPECT_EQ(state.AutoEndMode, "");
    EXPECT_TRUE(host.log.empty());
    EXPECT_EQ(host.recCount1, 7);
    EXPECT_FALSE(state.AutoEndStart.has_value());
}

TEST_F(AutoEndFormExecute, MinuteRowArmsInTheGivenOrder) {
    form.TextClick(1);
    form.UpClick(1);
    form.UpClick(1);  // 10
    host.recCount1 = 3;
    host.onTick = [&] {
        // The first tick already sees the armed state and the count reached while the dialog was open.
        EXPECT_EQ(state.AutoEndMode, "MShut");
        EXPECT_EQ(host.recCount1, 3);
    };
    EXPECT_TRUE(form.Command11_Click(host, state, clock));
    EXPECT_EQ(state.AutoEndMode, "MShut");
    EXPECT_EQ(state.AutoEndLimit, 10);
    EXPECT_EQ(state.AutoEndStart, clock.t);
    EXPECT_EQ(host.changes(),
              (std::vector<std::string>{"ejTimer2.Interval 500", "ejTimer2.Enabled 1", "Command6.Enabled 0",
                                        "Label4.Visible 0", "ejtimer2_timer", "RecCount1 0"}));
}

TEST_F(AutoEndFormExecute, EachRowSetsItsMode) {
    const std::vector<std::string> modes{"MShut", "MEnd", "RShut", "REnd"};
    for (int row = 1; row <= 4; ++row) {
        AutoEndState s;
        AutoEndForm f;
        f.UpClick(row);
        ASSERT_TRUE(f.Command11_Click(host, s, clock));
        EXPECT_EQ(s.AutoEndMode, modes[row - 1]);
        EXPECT_EQ(s.AutoEndLimit, row <= 2 ? 5 : 50);
        EXPECT_EQ(s.AutoEndStart.has_value(), row <= 2);
    }
}

TEST_F(AutoEndFormExecute, CountRowLeavesTheStartAlone) {
    const auto earlier = clock.t - std::chrono::hours{5};
    state.AutoEndStart = earlier;
    form.TextClick(4);
    press(form, 4, true, 1);
    ASSERT_EQ(form.text(4), "50");
    ASSERT_TRUE(form.Command11_Click(host, state, clock));
    EXPECT_EQ(state.AutoEndMode, "REnd");
    EXPECT_EQ(state.AutoEndLimit, 50);
    EXPECT_EQ(state.AutoEndStart, earlier);
}

TEST_F(AutoEndFormExecute, ClickValueBelowTheMinimumIsTakenAsItIs) {
    form.TextClick(2);
    ASSERT_TRUE(form.Command11_Click(host, state, clock));
    EXPECT_EQ(state.AutoEndMode, "MEnd");
    EXPECT_EQ(state.AutoEndLimit, 2);
}

TEST_F(AutoEndFormExecute, CancelDisarmsAndTouchesNothingElse) {
    state.AutoEndMode = "MEnd";
    state.AutoEndLimit = 9;
    form.TextClick(1);
    form.Command12_Click(host, state);
    EXPECT_EQ(state.AutoEndMode, "");
    EXPECT_EQ(state.AutoEndLimit, 9);
    EXPECT_EQ(texts(form), Texts(4, ""));
    EXPECT_EQ(host.changes(), (std::vector<std::string>{"ejTimer2.Enabled 0"}));
}

}  // namespace
}  // namespace autoend
