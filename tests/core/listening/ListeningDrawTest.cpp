#include "DrillFakes.h"
#include "core/listening/ListeningDraw.h"

#include <gtest/gtest.h>

namespace drill {
namespace {

using fakes::RecordingCharacter;
using fakes::ScriptedRandom;

uint64_t FixedClock() {
    return 42;
}

TEST(ListeningDraw, UsesTheMainWindowsPlacesWithoutTouchingItsState) {
    ReadOut1State main;
    main.PlaceMode = 1;
    main.DigitFlags[5] = 1;
    main.DigitFlags[8] = 1;
    main.ZeroCount = 7;
    const ReadOut1State before = main;
    // Places 1..15 draw 0.3 each: only places 5 and 8 keep their 3.
    ScriptedRandom random({0.35});
    const ListeningNumber n = DrawListeningNumber(main, random, FixedClock);
    EXPECT_EQ(n.display, "30,030,000");
    EXPECT_EQ(n.Digits(), "30030000");
    EXPECT_EQ(n.japanese, "30,030,000");
    EXPECT_EQ(main.DigitFlags, before.DigitFlags);
    EXPECT_EQ(main.RangeFlags, before.RangeFlags);
    EXPECT_EQ(main.PlaceMode, before.PlaceMode);
    EXPECT_EQ(main.ZeroCount, 7);
}

TEST(ListeningDraw, RangeColumnAndTheDefaultPlacesAsTheDrillHasThem) {
    ReadOut1State range;
    range.PlaceMode = 2;
    range.RangeFlags[15] = 1;
    ScriptedRandom nines({0.95});
    EXPECT_EQ(DrawListeningNumber(range, nines, FixedClock).display, "900,000,000,000,000");

    // Nothing ticked: 一, 十, 百, and the main window stays unticked.
    ReadOut1State none;
    ScriptedRandom digits({0.5, 0.3, 0.1, 0.9});
    const ListeningNumber n = DrawListeningNumber(none, digits, FixedClock);
    EXPECT_EQ(n.display, "135");
    EXPECT_EQ(n.english, "1 hundred 35");
    EXPECT_EQ(FlagSum(none.DigitFlags), 0);
    EXPECT_EQ(none.PlaceMode, 0);

    // A column emptied by the learner falls back to the default too, instead of drawing forever.
    ReadOut1State emptied;
    emptied.PlaceMode = 2;
    ScriptedRandom more({0.5, 0.3, 0.1, 0.9});
    EXPECT_EQ(DrawListeningNumber(emptied, more, FixedClock).display, "135");
}

TEST(ListeningDraw, ReadsWithoutBalloonAndSlowerOnRequest) {
    const ListeningNumber n{"305", "3 hundred 5", "305"};
    EXPECT_EQ(ListeningSpeechText(n, ListeningLanguage::English, ReadingPace::Normal),
              "\\Map=\"3 hundred 5\"=\"\"\\");
    EXPECT_EQ(ListeningSpeechText(n, ListeningLanguage::English, ReadingPace::Slow),
              "\\Spd=100\\\\Map=\"3 hundred 5\"=\"\"\\");
    EXPECT_EQ(ListeningSpeechText(n, ListeningLanguage::Japanese, ReadingPace::Normal),
              "\\Spd=195\\\\Map=\"305\"=\"\"\\");
    // The slow Japanese reading has one speed only, the slow one.
    EXPECT_EQ(ListeningSpeechText(n, ListeningLanguage::Japanese, ReadingPace::Slow),
              "\\Spd=110\\\\Map=\"305\"=\"\"\\");

    RecordingCharacter peedy;
    peedy.setTTSModeID(agent::kJapaneseModeId);
    const ListeningNumber big{"12,345,678,901,234", "12,345,678,901,234", "12,345,678,901,234"};
    ReadListeningNumber(peedy, peedy, big, ListeningLanguage::English, ReadingPace::Normal);
    ReadListeningNumber(peedy, peedy, big, ListeningLanguage::Japanese, ReadingPace::Slow);
    ASSERT_EQ(peedy.spoken.size(), 2u);
    EXPECT_EQ(peedy.spoken[0].modeId, agent::kEnglishModeId);
    EXPECT_EQ(peedy.spoken[0].text, "\\Map=\"12,345,678,901,234\"=\"\"\\");
    EXPECT_EQ(peedy.spoken[1].modeId, agent::kJapaneseModeId);
    EXPECT_EQ(peedy.spoken[1].text, "\\Spd=110\\\\Map=\"12,345,678,901,234\"=\"\"\\");
}

}  // namespace
}  // namespace drill
