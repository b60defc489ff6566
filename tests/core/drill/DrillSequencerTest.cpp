#include "SequencerRig.h"

#include <gtest/gtest.h>

namespace drill {
namespace {

using fakes::Spoken;
using rig::Rig;

struct Expected {
    std::string timer;
    int64_t at;
    int intervalAfter;
    std::string log;  // what the tick did
};

// Runs one tick per expected row and compares timer, time, interval and the step taken.
void Expect(Rig& r, const std::vector<Expected>& rows) {
    for (const auto& row : rows) {
        const size_t logBefore = r.host.log.size();
        const rig::Tick tick = r.Step();
        SCOPED_TRACE(::testing::Message() << row.timer << " at " << row.at);
        EXPECT_EQ(tick.timer, row.timer);
        EXPECT_EQ(tick.at, row.at);
        EXPECT_EQ(tick.intervalAfter, row.intervalAfter);
        ASSERT_EQ(r.host.log.size(), logBefore + 1);
        EXPECT_EQ(r.host.log.back(), row.log);
        EXPECT_EQ(r.ArmedTimers(), 1);
    }
}

std::vector<std::string> StartLog(const std::string& button, const std::string& number, bool defaults) {
    std::vector<std::string> log;
    if (defaults) log.push_back("default places");
    log.insert(log.end(), {"make " + number, "focus " + button, "reset colours", "pink " + button});
    return log;
}

TEST(DrillSequencer, EnglishThenJapanese) {
    Rig r;
    r.host.numbers = {1234, 10, 5};
    r.sequencer.Command4_Click();
    EXPECT_EQ(r.host.log, StartLog("Command4", "1,234", true));
    EXPECT_FALSE(r.timer3.enabled());
    EXPECT_FALSE(r.timer4.enabled());
    EXPECT_TRUE(r.timer1.enabled());
    EXPECT_EQ(r.timer1.interval(), 10);
    EXPECT_TRUE(r.state.EnJaFirstDue);
    Expect(r, {
                  {"Timer1", 10, 3330, R"(en \Map="1,234"=""\)"},
                  {"Timer1", 3340, 2100, R"(ja \Spd=195\\Map="1,234"=""\)"},
                  {"Timer1", 5440, 2000, "make 10"},
                  {"Timer1", 7440, 1500, R"(en \Map="10"=""\)"},
                  {"Timer1", 8940, 1340, R"(ja \Spd=195\\Map="10"=""\)"},
                  {"Timer1", 10280, 2000, "make 5"},
                  {"Timer1", 12280, 2000, R"(en \Map="5"=""\)"},
                  {"Timer1", 14280, 1000, R"(ja \Spd=195\\Map="5"=""\)"},
              });
    EXPECT_EQ(r.state.RecCount1, 3);
}

TEST(DrillSequencer, JapaneseThenEnglish) {
    Rig r;
    r.host.numbers = {100000, 7, 1234};
    r.sequencer.Command5_Click();
    EXPECT_EQ(r.host.log, StartLog("Command5", "100,000", true));
    EXPECT_FALSE(r.timer1.enabled());
    EXPECT_FALSE(r.timer4.enabled());
    Expect(r, {
                  {"Timer3", 10, 2040, R"(ja \Spd=195\\Map="100,000"=""\)"},
                  {"Timer3", 2050, 2160, R"(en \Map="100,000"=""\)"},
                  {"Timer3", 4210, 4000, "make 7"},
                  {"Timer3", 8210, 1000, R"(ja \Spd=195\\Map="7"=""\)"},
                  {"Timer3", 9210, 2000, R"(en \Map="7"=""\)"},
                  {"Timer3", 11210, 4000, "make 1,234"},
                  {"Timer3", 15210, 2100, R"(ja \Spd=195\\Map="1,234"=""\)"},
                  {"Timer3", 17310, 3330, R"(en \Map="1,234"=""\)"},
              });
    EXPECT_EQ(r.state.RecCount1, 3);
}

TEST(DrillSequencer, EnglishOnly) {
    Rig r;
    r.host.numbers = {7, 45, 305};
    r.state.BalloonOn = true;
    r.sequencer.Command7_Click();
    EXPECT_EQ(r.host.log, StartLog("Command7", "7", true));
    EXPECT_TRUE(r.state.EnglishOnly);
    EXPECT_TRUE(r.state.PhaseFlag);
    Expect(r, {
                  {"Timer4", 10, 2000, R"(en \Ctx="E-mail"\7)"},
                  {"Timer4", 2010, 2000, "make 45"},
                  {"Timer4", 4010, 2000, R"(en \Ctx="E-mail"\45)"},
                  {"Timer4", 6010, 2000, "make 305"},
                  {"Timer4", 8010, 1830, R"(en \Map="3 hundred 5"="305"\)"},
              });
    EXPECT_EQ(r.state.RecCount1, 3);
}

TEST(DrillSequencer, JapaneseOnlyWithTheGapAtBothBounds) {
    Rig r;
    r.host.numbers = {7, 45, 1234};
    r.state.ReadingGap = 10000;
    r.sequencer.Command8_Click();
    EXPECT_FALSE(r.state.EnglishOnly);
    EXPECT_TRUE(r.state.PhaseFlag);
    Expect(r, {
                  {"Timer4", 10, 1000, R"(ja \Spd=195\\Map="7"=""\)"},  // one digit: 1000 whatever the gap
                  {"Timer4", 1010, 3000, "make 45"},
              });
    r.state.ReadingGap = -2000;
    Expect(r, {
                  {"Timer4", 4010, 1000, R"(ja \Spd=195\\Map="45"=""\)"},  // 1440 - 2000 floors at 1000
                  {"Timer4", 5010, 3000, "make 1,234"},
                  {"Timer4", 8010, 1000, R"(ja \Spd=195\\Map="1,234"=""\)"},
              });
    r.state.ReadingGap = 0;
    r.host.numbers = {10};
    Expect(r, {{"Timer4", 9010, 3000, "make 10"}, {"Timer4", 12010, 1340, R"(ja \Spd=195\\Map="10"=""\)"}});
    EXPECT_EQ(r.state.RecCount1, 4);
}

TEST(DrillSequencer, GapWidensTheWaitBetweenTheTwoReadings) {
    Rig r;
    r.host.numbers = {1234};
    r.state.ReadingGap = 10000;
    r.sequencer.Command4_Click();
    Expect(r, {{"Timer1", 10, 13330, R"(en \Map="1,234"=""\)"},
               {"Timer1", 13340, 2100, R"(ja \Spd=195\\Map="1,234"=""\)"}});

    Rig s;
    s.host.numbers = {10};
    s.state.ReadingGap = -2000;
    s.sequencer.Command4_Click();
    Expect(s, {{"Timer1", 10, 1000, R"(en \Map="10"=""\)"},
               {"Timer1", 1010, 1340, R"(ja \Spd=195\\Map="10"=""\)"}});

    Rig t;
    t.host.numbers = {1234};
    t.state.ReadingGap = -2000;
    t.sequencer.Command5_Click();
    // Japanese first: 2100 - 2000 floors at 1000; the English wait after it has no gap.
    Expect(t, {{"Timer3", 10, 1000, R"(ja \Spd=195\\Map="1,234"=""\)"},
               {"Timer3", 1010, 3330, R"(en \Map="1,234"=""\)"}});
}

TEST(DrillSequencer, AChangedGapTakesEffectAtTheNextWaitThatIncludesIt) {
    Rig r;
    r.host.numbers = {1234, 1234};
    r.sequencer.Command7_Click();
    Expect(r, {{"Timer4", 10, 3330, R"(en \Map="1,234"=""\)"}});
    r.state.ReadingGap = 1400;
    EXPECT_EQ(r.timer4.interval(), 3330);
    Expect(r, {{"Timer4", 3340, 2000, "make 1,234"}, {"Timer4", 5340, 4730, R"(en \Map="1,234"=""\)"}});
}

TEST(DrillSequencer, StartButtonBetweenTheReadingsDropsTheSecondReading) {
    Rig r;
    r.host.numbers = {1234, 45};
    r.sequencer.Command4_Click();
    Expect(r, {{"Timer1", 10, 3330, R"(en \Map="1,234"=""\)"}});
    r.now = 1000;
    r.sequencer.Command5_Click();
    EXPECT_FALSE(r.timer1.enabled());
    Expect(r, {
                  {"Timer3", 1010, 1440, R"(ja \Spd=195\\Map="45"=""\)"},
                  {"Timer3", 2450, 2000, R"(en \Map="45"=""\)"},
              });
    for (const auto& s : r.host.spoken) EXPECT_NE(s.text, R"(\Spd=195\\Map="1,234"=""\)");
    EXPECT_EQ(r.state.RecCount1, 2);
}

TEST(DrillSequencer, SameStartButtonAgainRestartsWithANewNumber) {
    Rig r;
    r.host.numbers = {1234, 45};
    r.sequencer.Command4_Click();
    Expect(r, {{"Timer1", 10, 3330, R"(en \Map="1,234"=""\)"}});
    r.now = 500;
    r.sequencer.Command4_Click();
    Expect(r, {{"Timer1", 510, 2000, R"(en \Map="45"=""\)"},
               {"Timer1", 2510, 1440, R"(ja \Spd=195\\Map="45"=""\)"}});
    EXPECT_EQ(r.state.RecCount1, 2);
}

TEST(DrillSequencer, NumberAbandonedBeforeItsFirstReadingIsNotCounted) {
    Rig r;
    r.host.numbers = {1234, 45, 6, 89};
    r.sequencer.Command4_Click();
    r.sequencer.Command8_Click();  // before the 10 ms tick
    EXPECT_FALSE(r.timer1.enabled());
    Expect(r, {{"Timer4", 10, 1440, R"(ja \Spd=195\\Map="45"=""\)"}, {"Timer4", 1450, 3000, "make 6"}});
    r.sequencer.Command7_Click();  // the shown 6 is abandoned too
    EXPECT_EQ(r.state.RecCount1, 1);
    Expect(r, {{"Timer4", 1460, 2000, R"(en \Map="89"=""\)"}});
    EXPECT_EQ(r.state.RecCount1, 2);
}

TEST(DrillSequencer, EachModesFirstTickIsDecidedByItsEntryFlags) {
    Rig r;
    r.host.numbers = {11, 22, 33, 44};
    r.sequencer.Command7_Click();
    Expect(r, {{"Timer4", 10, 2000, R"(en \Map="11"=""\)"}});  // leaves PhaseFlag False
    r.sequencer.Command5_Click();
    Expect(r, {{"Timer3", 20, 1440, R"(ja \Spd=195\\Map="22"=""\)"},
               {"Timer3", 1460, 2000, R"(en \Map="22"=""\)"}});
    // PhaseFlag True now; Command4's entry flag still wins.
    r.sequencer.Command4_Click();
    Expect(r, {{"Timer1", 1470, 2000, R"(en \Map="33"=""\)"}});
    EXPECT_EQ(r.state.RecCount1, 3);
}

TEST(DrillSequencer, Timer4StopsTheOtherTimersAtEveryTick) {
    Rig r;
    r.host.numbers = {5, 6};
    r.sequencer.Command8_Click();
    r.timer1.setEnabled(true);
    r.timer3.setEnabled(true);
    r.sequencer.Timer4_Timer();
    EXPECT_FALSE(r.timer1.enabled());
    EXPECT_FALSE(r.timer3.enabled());
    r.timer1.setEnabled(true);
    r.timer3.setEnabled(true);
    r.sequencer.Timer4_Timer();
    EXPECT_FALSE(r.timer1.enabled());
    EXPECT_FALSE(r.timer3.enabled());
}

TEST(DrillSequencer, DefaultPlacesOnlyWhenNothingIsSelected) {
    Rig r;
    r.host.numbers = {1, 2};
    r.sequencer.Command4_Click();
    EXPECT_EQ(r.host.boxes.changes, (std::vector<fakes::BoxChange>{{PlaceColumn::Check1, 3, true},
                                                                   {PlaceColumn::Check1, 2, true},
                                                                   {PlaceColumn::Check1, 1, true}}));
    EXPECT_EQ(r.state.PlaceMode, 1);
    r.host.places.ClickCheck2(9);
    r.host.boxes.changes.clear();
    r.sequencer.Command8_Click();
    EXPECT_TRUE(r.host.boxes.changes.empty());
    EXPECT_EQ(r.state.PlaceMode, 2);
}

TEST(DrillSequencer, OneCountPerNumberOverALongRunInEveryMode) {
    for (int mode = 0; mode < 4; ++mode) {
        Rig r;
        for (int i = 1; i <= 60; ++i) r.host.numbers.push_back(i * 137);
        switch (mode) {
            case 0:
                r.sequencer.Command4_Click();
                break;
            case 1:
                r.sequencer.Command5_Click();
                break;
            case 2:
                r.sequencer.Command7_Click();
                break;
            default:
                r.sequencer.Command8_Click();
                break;
        }
        const int ticksPerNumber = mode < 2 ? 3 : 2;
        for (int i = 0; i < 50 * ticksPerNumber; ++i) {
            r.Step();
            ASSERT_EQ(r.ArmedTimers(), 1);
        }
        // 50 cycles: each number's first reading counted, none of the second.
        EXPECT_EQ(r.state.RecCount1, 50) << "mode " << mode;
        EXPECT_EQ(static_cast<int>(r.host.spoken.size()), mode < 2 ? 100 : 50);
    }
}

TEST(DrillSequencer, CharacterFailureReachesTheTickAndCountsNothing) {
    Rig r;
    r.host.numbers = {1234};
    r.sequencer.Command4_Click();
    r.host.peedy.failSpeak = true;
    EXPECT_THROW(r.sequencer.Timer1_Timer(), agent::AgentError);
    EXPECT_EQ(r.state.RecCount1, 0);
}

TEST(DrillSequencer, RecCountStopsAtItsTop) {
    Rig r;
    r.host.numbers = {3, 4};
    r.state.RecCount1 = 32767;
    r.sequencer.Command7_Click();
    r.Step();
    r.Step();
    r.Step();
    EXPECT_EQ(r.state.RecCount1, 32767);
}

TEST(DrillSequencer, EnglishWaitSettersFloorOnlyWhereTheGapIsIncluded) {
    Rig r;
    r.host.numbers = {10};
    r.host.MakeNumber();
    r.state.ReadingGap = -2000;
    r.sequencer.SetEnJaEnglishWait();
    r.sequencer.SetJaEnEnglishWait();
    r.sequencer.SetSingleEnglishWait();
    EXPECT_EQ(r.timer1.interval(), 1000);
    EXPECT_EQ(r.timer3.interval(), 1500);
    EXPECT_EQ(r.timer4.interval(), 1000);
}

}  // namespace
}  // namespace drill

namespace drill {
namespace {

// Whichever mode runs, Stop leaves no timer armed and the number on show; a start button runs again.
TEST(DrillSequencer, StopEndsEveryModeAndAStartButtonResumes) {
    using Click = void (DrillSequencer::*)();
    for (const Click start : {&DrillSequencer::Command4_Click, &DrillSequencer::Command5_Click,
                              &DrillSequencer::Command7_Click, &DrillSequencer::Command8_Click}) {
        rig::Rig r;
        r.host.numbers = {1234, 10};
        (r.sequencer.*start)();
        r.Step();
        const size_t logBefore = r.host.log.size();
        r.sequencer.Stop();
        EXPECT_EQ(r.ArmedTimers(), 0);
        EXPECT_EQ(r.host.log.size(), logBefore) << "stopping shows or says nothing";
        (r.sequencer.*start)();
        EXPECT_EQ(r.ArmedTimers(), 1);
    }
}

}  // namespace
}  // namespace drill
