#include "core/drill/ReadOut1Logic.h"

#include "DrillFakes.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <set>

namespace drill {
namespace {

using fakes::Spoken;

class ReadOut1LogicTest : public ::testing::Test {
protected:
    fakes::MemoryTexts texts;
    fakes::RecordingBoxes boxes;
    fakes::RecordingView view;
    fakes::RecordingCharacter peedy;
    fakes::FakeTimer timer1, timer3, timer4;
    // Units 5, tens 0, hundreds 3, then 0 for every higher place.
    fakes::ScriptedRandom* random = new fakes::ScriptedRandom({0.5, 0.0, 0.3, 0.0});
    ReadOut1Logic logic{{texts, boxes, view, peedy, timer1, timer3, timer4},
                        std::unique_ptr<RandomSource>(random),
                        [] { return uint64_t{77}; }};
};

TEST_F(ReadOut1LogicTest, StartButtonRunsThroughTheRealPartsAndTheWindow) {
    logic.SetSpeechChar(peedy);
    logic.Sequencer().Command7_Click();
    EXPECT_EQ(boxes.changes, (std::vector<fakes::BoxChange>{{PlaceColumn::Check1, 3, true},
                                                            {PlaceColumn::Check1, 2, true},
                                                            {PlaceColumn::Check1, 1, true}}));
    EXPECT_EQ(texts.command1, "305");
    EXPECT_EQ(texts.text2, "3 hundred 5");
    EXPECT_EQ(logic.State().ZeroCount, 1);
    EXPECT_EQ(random->reseeds, (std::vector<uint64_t>{77}));
    EXPECT_EQ(view.events, (std::vector<std::string>{"focus Command7", "reset colours", "pink Command7"}));
    EXPECT_EQ(timer4.interval(), 10);
    EXPECT_FALSE(timer1.enabled());
    EXPECT_FALSE(timer3.enabled());

    logic.Sequencer().Timer4_Timer();
    EXPECT_EQ(peedy.spoken, (std::vector<Spoken>{{agent::kEnglishModeId, R"(\Map="3 hundred 5"=""\)"}}));
    EXPECT_EQ(logic.State().RecCount1, 1);
    // 330 + 0 + 2000 - 500
    EXPECT_EQ(timer4.interval(), 1830);
}

TEST_F(ReadOut1LogicTest, EachReadingIsPreparedWhenItsNumberIsDrawnWithTheVeryTextItIsSpokenWith) {
    ReadOut1Logic logic{{texts, boxes, view, peedy, timer1, timer3, timer4},
                        std::make_unique<Xoshiro256Source>(5),
                        [n = uint64_t{0}]() mutable { return ++n * 7919; }};
    logic.SetSpeechChar(peedy);
    const struct {
        void (DrillSequencer::*click)();
        void (DrillSequencer::*tick)();
        bool english, japanese;
    } modes[] = {
        {&DrillSequencer::Command4_Click, &DrillSequencer::Timer1_Timer, true, true},
        {&DrillSequencer::Command5_Click, &DrillSequencer::Timer3_Timer, true, true},
        {&DrillSequencer::Command7_Click, &DrillSequencer::Timer4_Timer, true, false},
        {&DrillSequencer::Command8_Click, &DrillSequencer::Timer4_Timer, false, true},
    };
    for (const auto& m : modes) {
        peedy.spoken.clear();
        peedy.prepared.clear();
        peedy.calls.clear();
        (logic.Sequencer().*m.click)();
        for (int i = 0; i < 9; ++i) (logic.Sequencer().*m.tick)();
        ASSERT_GE(peedy.spoken.size(), 3u);
        // Every reading was prepared before it was spoken, with the same engine and text.
        for (const Spoken& said : peedy.spoken) {
            const auto prep = std::find(peedy.prepared.begin(), peedy.prepared.end(), said);
            ASSERT_NE(prep, peedy.prepared.end()) << said.text;
            const auto spokeAt = std::find(peedy.calls.begin(), peedy.calls.end(), "speak " + said.text);
            EXPECT_LT(std::find(peedy.calls.begin(), peedy.calls.end(), "prepare " + said.text), spokeAt);
        }
        // Only the languages this mode reads are synthesised ahead.
        for (const Spoken& p : peedy.prepared) {
            EXPECT_TRUE(p.modeId == agent::kEnglishModeId ? m.english : m.japanese) << p.modeId;
        }
    }
}

TEST_F(ReadOut1LogicTest, ClicksAndGapGoThroughTheirParts) {
    logic.Places().ClickCheck2(4);
    logic.Places().ClickCheck2(2);
    EXPECT_EQ(logic.State().PlaceMode, 2);
    EXPECT_EQ(FlagSum(logic.State().RangeFlags), 3);
    logic.Sequencer().UpDown1_UpClick();
    EXPECT_EQ(view.command3, "0.2秒　日英の読上げ間隔を秒　広げる");
    EXPECT_EQ(logic.State().ReadingGap, 200);
}

TEST_F(ReadOut1LogicTest, ReadingBeforeTheCharacterIsSetFails) {
    logic.Generator().MakeNumber();
    EXPECT_THROW(logic.Speech().SpeakJapanese(), agent::AgentError);
}

TEST(ReadOut1LogicDefaults, ShippedGeneratorDrawsFromTheClock) {
    fakes::MemoryTexts texts;
    fakes::RecordingBoxes boxes;
    fakes::RecordingView view;
    fakes::RecordingCharacter peedy;
    fakes::FakeTimer t1, t3, t4;
    ReadOut1Logic logic({texts, boxes, view, peedy, t1, t3, t4});
    logic.Places().ClickCheck2(1);
    logic.Places().ClickCheck2(12);
    std::set<std::string> seen;
    for (int i = 0; i < 50; ++i) {
        logic.Generator().MakeNumber();
        seen.insert(texts.command1);
    }
    EXPECT_GT(seen.size(), 45u);
}

}  // namespace
}  // namespace drill
