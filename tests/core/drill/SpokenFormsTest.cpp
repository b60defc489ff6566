#include "core/drill/SpokenForms.h"

#include "DrillFakes.h"
#include "core/drill/NumberGenerator.h"

#include <gtest/gtest.h>

namespace drill {
namespace {

using fakes::MemoryTexts;
using fakes::RecordingCharacter;
using fakes::Spoken;

TEST(ThreeDigitRule, WritesHundredForThreeCharacterTextsOnly) {
    EXPECT_EQ(ThreeDigitRule("300"), "3 hundred ");
    EXPECT_EQ(ThreeDigitRule("305"), "3 hundred 5");
    EXPECT_EQ(ThreeDigitRule("310"), "3 hundred 10");
    EXPECT_EQ(ThreeDigitRule("345"), "3 hundred 45");
    EXPECT_EQ(ThreeDigitRule("100"), "1 hundred ");
    EXPECT_EQ(ThreeDigitRule("999"), "9 hundred 99");
    EXPECT_EQ(ThreeDigitRule("7"), "7");
    EXPECT_EQ(ThreeDigitRule("45"), "45");
    EXPECT_EQ(ThreeDigitRule("1,000"), "1,000");
    EXPECT_EQ(ThreeDigitRule("12,345,678,901,234"), "12,345,678,901,234");
}

struct WorkedExample {
    std::string display;
    std::string english;
    std::string englishShown;
    std::string englishHidden;
    std::string japaneseShown;
    std::string japaneseHidden;
};

const std::vector<WorkedExample>& WorkedExamples() {
    static const std::vector<WorkedExample> rows{
        {"5", "5", R"(\Ctx="E-mail"\5)", R"(\Map="5"=""\)", R"(\Spd=195\5)", R"(\Spd=195\\Map="5"=""\)"},
        {"305", "3 hundred 5", R"(\Map="3 hundred 5"="305"\)", R"(\Map="3 hundred 5"=""\)", R"(\Spd=195\305)",
         R"(\Spd=195\\Map="305"=""\)"},
        {"300", "3 hundred ", R"(\Map="3 hundred "="300"\)", R"(\Map="3 hundred "=""\)", R"(\Spd=195\300)",
         R"(\Spd=195\\Map="300"=""\)"},
        {"1,000,000", "1,000,000", R"(\Ctx="E-mail"\1,000,000)", R"(\Map="1,000,000"=""\)",
         R"(\Spd=195\1,000,000)", R"(\Spd=195\\Map="1,000,000"=""\)"},
        {"12,345,678,901,234", "12,345,678,901,234", R"(\Ctx="E-mail"\12,345,678,901,234)",
         R"(\Map="12,345,678,901,234"=""\)", R"(\Spd=195\12,345,678,901,234)",
         R"(\Spd=195\\Map="12,345,678,901,234"=""\)"},
    };
    return rows;
}

class SpeakerTest : public ::testing::Test {
protected:
    void Show(const std::string& display) {
        texts.command1 = display;
        texts.command2 = display;
        texts.text2 = ThreeDigitRule(display);
        texts.writes.clear();
    }

    ReadOut1State state;
    MemoryTexts texts;
    RecordingCharacter peedy;
    Speaker speaker{state, texts, peedy, &peedy};
};

TEST_F(SpeakerTest, EveryCellOfTheWorkedExamples) {
    for (const auto& row : WorkedExamples()) {
        SCOPED_TRACE(row.display);
        Show(row.display);
        EXPECT_EQ(texts.text2, row.english);
        peedy.spoken.clear();
        state.BalloonOn = true;
        speaker.SpeakEnglish();
        speaker.SpeakJapanese();
        state.BalloonOn = false;
        speaker.SpeakEnglish();
        speaker.SpeakJapanese();
        EXPECT_EQ(peedy.spoken, (std::vector<Spoken>{{agent::kEnglishModeId, row.englishShown},
                                                     {agent::kJapaneseModeId, row.japaneseShown},
                                                     {agent::kEnglishModeId, row.englishHidden},
                                                     {agent::kJapaneseModeId, row.japaneseHidden}}));
    }
}

TEST_F(SpeakerTest, TextsFromMakeNumberReachTheEngines) {
    fakes::RecordingBoxes boxes;
    PlaceSelection places(state, boxes);
    places.ClickCheck1(1);
    places.ClickCheck1(3);
    fakes::ScriptedRandom random({0.55, 0.0, 0.35});
    NumberGenerator gen(state, places, texts, random, [] { return uint64_t{1}; });
    gen.MakeNumber();
    state.BalloonOn = true;
    speaker.SpeakEnglish();
    speaker.SpeakJapanese();
    EXPECT_EQ(peedy.spoken, (std::vector<Spoken>{{agent::kEnglishModeId, R"(\Map="3 hundred 5"="305"\)"},
                                                 {agent::kJapaneseModeId, R"(\Spd=195\305)"}}));
}

TEST_F(SpeakerTest, BalloonSwitchedBetweenTheTwoReadingsChangesOnlyTheSecond) {
    Show("1,234");
    state.BalloonOn = false;
    speaker.SpeakEnglish();
    state.BalloonOn = true;
    speaker.SpeakJapanese();
    Show("45");
    speaker.SpeakJapanese();
    state.BalloonOn = false;
    speaker.SpeakEnglish();
    EXPECT_EQ(peedy.spoken, (std::vector<Spoken>{{agent::kEnglishModeId, R"(\Map="1,234"=""\)"},
                                                 {agent::kJapaneseModeId, R"(\Spd=195\1,234)"},
                                                 {agent::kJapaneseModeId, R"(\Spd=195\45)"},
                                                 {agent::kEnglishModeId, R"(\Map="45"=""\)"}}));
}

TEST_F(SpeakerTest, EngineIsSetThroughTheCollectionAtEveryCallAndNothingIsWritten) {
    Show("305");
    const ReadOut1State before = state;
    speaker.SpeakEnglish();
    speaker.SpeakEnglish();
    speaker.SpeakJapanese();
    EXPECT_EQ(peedy.lookups, 3);
    EXPECT_EQ(peedy.modeSets, 3);
    EXPECT_TRUE(texts.writes.empty());
    EXPECT_EQ(state.RecCount1, before.RecCount1);
    EXPECT_EQ(state.ZeroCount, before.ZeroCount);
    EXPECT_EQ(state.PhaseFlag, before.PhaseFlag);
}

TEST_F(SpeakerTest, JapaneseReadingReadsCommand2AndEnglishReadsText2AndCommand1) {
    texts.command1 = "305";
    texts.command2 = "J";
    texts.text2 = "E";
    state.BalloonOn = true;
    speaker.SpeakEnglish();
    speaker.SpeakJapanese();
    EXPECT_EQ(peedy.spoken, (std::vector<Spoken>{{agent::kEnglishModeId, R"(\Map="E"="305"\)"},
                                                 {agent::kJapaneseModeId, R"(\Spd=195\J)"}}));
}

TEST_F(SpeakerTest, CharacterFailuresReachTheCaller) {
    Show("10");
    peedy.rejectMode = agent::kJapaneseModeId;
    EXPECT_THROW(speaker.SpeakJapanese(), agent::AgentError);
    EXPECT_TRUE(peedy.spoken.empty());
    peedy.failSpeak = true;
    EXPECT_THROW(speaker.SpeakEnglish(), agent::AgentError);

    Speaker unset(state, texts, peedy);
    EXPECT_THROW(unset.SpeakEnglish(), agent::AgentError);
}

}  // namespace
}  // namespace drill
