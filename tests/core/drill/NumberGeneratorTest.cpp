#include "core/drill/NumberGenerator.h"

#include "DrillFakes.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <deque>
#include <map>
#include <set>
#include <string>

namespace drill {
namespace {

using fakes::BoxChange;
using fakes::MemoryTexts;
using fakes::RecordingBoxes;
using fakes::ScriptedRandom;

// r values giving these digits for places 1..15 (missing places draw 0).
std::deque<double> Pass(std::vector<int> digitsFromUnits) {
    std::deque<double> r;
    for (int p = 0; p < kPlaceCount; ++p) {
        const int d = p < static_cast<int>(digitsFromUnits.size()) ? digitsFromUnits[p] : 0;
        r.push_back(d / 10.0 + 0.05);
    }
    return r;
}

std::deque<double> Concat(std::initializer_list<std::deque<double>> passes) {
    std::deque<double> all;
    for (const auto& p : passes) all.insert(all.end(), p.begin(), p.end());
    return all;
}

int64_t Value(const std::string& display) {
    int64_t v = 0;
    for (char c : display)
        if (c != ',') v = v * 10 + (c - '0');
    return v;
}

// Digit of place p (1 = units) of a value.
int DigitAt(int64_t value, int p) {
    for (int i = 1; i < p; ++i) value /= 10;
    return static_cast<int>(value % 10);
}

class NumberGeneratorTest : public ::testing::Test {
protected:
    void SelectDigits(std::initializer_list<int> places) {
        for (int p : places) selection.ClickCheck1(p);
    }
    void SelectRange(int lo, int hi) {
        selection.ClickCheck2(lo);
        selection.ClickCheck2(hi);
    }

    ReadOut1State state;
    RecordingBoxes boxes;
    PlaceSelection selection{state, boxes};
    MemoryTexts texts;
    uint64_t clockReading = 5000;
    NumberGenerator::Clock clock = [this] { return clockReading++; };
};

TEST(GroupedDigits, GroupsByThreesFromTheRight) {
    EXPECT_EQ(GroupedDigits(0), "0");
    EXPECT_EQ(GroupedDigits(7), "7");
    EXPECT_EQ(GroupedDigits(999), "999");
    EXPECT_EQ(GroupedDigits(1000), "1,000");
    EXPECT_EQ(GroupedDigits(100000), "100,000");
    EXPECT_EQ(GroupedDigits(1000000), "1,000,000");
    EXPECT_EQ(GroupedDigits(12345678901234), "12,345,678,901,234");
    EXPECT_EQ(GroupedDigits(922337203685477), "922,337,203,685,477");
    EXPECT_EQ(GroupedDigits(-1234), "-1,234");
    EXPECT_EQ(GroupedDigits("922337203685477"), "922,337,203,685,477");
    EXPECT_EQ(GroupedDigits("100"), "100");
    EXPECT_EQ(GroupedDigits("0001234"), "0,001,234");  // an answer keeps its leading zeros
}

TEST_F(NumberGeneratorTest, WritesCommand2FirstThenCommand1Text2Command2AndTheEnglishForm) {
    SelectDigits({1, 2, 3});
    ScriptedRandom random(Pass({5, 0, 3}));
    NumberGenerator gen(state, selection, texts, random, clock);
    gen.MakeNumber();
    EXPECT_EQ(texts.writes, (std::vector<std::string>{"Command2=", "Command1=305", "Text2=305",
                                                      "Command2=305", "Text2=3 hundred 5"}));
    EXPECT_EQ(state.ZeroCount, 1);
    EXPECT_EQ(random.reseeds, (std::vector<uint64_t>{5000}));
}

TEST_F(NumberGeneratorTest, OtherLengthsKeepTheDisplayTextInText2) {
    SelectDigits({1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14});
    const std::vector<std::pair<std::deque<double>, std::pair<std::string, int>>> cases{
        {Pass({5}), {"5", 0}},
        {Pass({0, 1, 0, 0, 0, 0, 0}), {"10", 1}},
        {Pass({0, 0, 0, 0, 0, 0, 1}), {"1,000,000", 6}},
        {Pass({4, 3, 2, 1, 0, 9, 8, 7, 6, 5, 4, 3, 2, 1}), {"12,345,678,901,234", 1}},
    };
    for (const auto& [plan, expected] : cases) {
        ScriptedRandom random(plan);
        NumberGenerator gen(state, selection, texts, random, clock);
        texts.writes.clear();
        gen.MakeNumber();
        const std::string& d = expected.first;
        EXPECT_EQ(texts.writes,
                  (std::vector<std::string>{"Command2=", "Command1=" + d, "Text2=" + d, "Command2=" + d}));
        EXPECT_EQ(state.ZeroCount, expected.second) << d;
    }
}

TEST_F(NumberGeneratorTest, ZeroCountComesFromTheDisplayTextNotTheHundredForm) {
    SelectDigits({1, 2, 3});
    ScriptedRandom random(Pass({0, 0, 3}));
    NumberGenerator gen(state, selection, texts, random, clock);
    gen.MakeNumber();
    EXPECT_EQ(texts.text2, "3 hundred ");
    EXPECT_EQ(texts.command1, "300");
    EXPECT_EQ(texts.command2, "300");
    EXPECT_EQ(state.ZeroCount, 2);
}

TEST_F(NumberGeneratorTest, AllZeroPassIsDrawnAgainFromTheFirstStep) {
    SelectDigits({1});
    ScriptedRandom random(Concat({Pass({0, 7, 7}), Pass({0}), Pass({4})}));
    NumberGenerator gen(state, selection, texts, random, clock);
    gen.MakeNumber();
    EXPECT_EQ(texts.command1, "4");
    EXPECT_EQ(random.reseeds, (std::vector<uint64_t>{5000, 5001, 5002}));
    EXPECT_EQ(texts.writes.front(), "Command2=");
    EXPECT_EQ(std::count(texts.writes.begin(), texts.writes.end(), "Command2="), 3);
}

TEST_F(NumberGeneratorTest, PassAboveTheCurrencyCeilingIsAbandoned) {
    SelectRange(1, 15);
    // 999,999,999,999,999 would exceed 922,337,203,685,477.5807; the ceiling itself is allowed.
    ScriptedRandom random(Concat({Pass({9, 9, 9, 9, 9, 9, 9, 9, 9, 9, 9, 9, 9, 9, 9}),
                                  Pass({7, 7, 4, 5, 8, 6, 3, 0, 2, 7, 3, 3, 2, 2, 9})}));
    NumberGenerator gen(state, selection, texts, random, clock);
    gen.MakeNumber();
    EXPECT_EQ(texts.command1, "922,337,203,685,477");
    EXPECT_EQ(random.reseeds.size(), 2u);
}

TEST_F(NumberGeneratorTest, OnlySelectedPlacesCarryNonZeroDigits) {
    Xoshiro256Source random(99);
    NumberGenerator gen(state, selection, texts, random, clock);
    SelectDigits({2, 6, 13});
    for (int i = 0; i < 3000; ++i) {
        gen.MakeNumber();
        const int64_t v = Value(texts.command1);
        ASSERT_GE(v, 1);
        for (int p = 1; p <= kPlaceCount; ++p) {
            if (p != 2 && p != 6 && p != 13) {
                ASSERT_EQ(DigitAt(v, p), 0) << texts.command1;
            }
        }
    }
    selection.ClickCheck2(4);
    selection.ClickCheck2(8);
    for (int i = 0; i < 3000; ++i) {
        gen.MakeNumber();
        const int64_t v = Value(texts.command1);
        ASSERT_GE(v, 1);
        ASSERT_LT(v, 100000000);
        ASSERT_EQ(v % 1000, 0) << texts.command1;
    }
}

TEST_F(NumberGeneratorTest, DigitsOfEachSelectedPlaceAreCloseToUniform) {
    Xoshiro256Source random(2024);
    NumberGenerator gen(state, selection, texts, random, clock);
    SelectDigits({1, 5, 8, 15});
    constexpr int kDraws = 20000;
    std::map<int, std::array<int, 10>> counts;
    for (int i = 0; i < kDraws; ++i) {
        gen.MakeNumber();
        const int64_t v = Value(texts.command1);
        for (int p : {1, 5, 8, 15}) ++counts[p][DigitAt(v, p)];
    }
    for (const auto& [place, digits] : counts) {
        double chi2 = 0;
        for (int n : digits) chi2 += (n - kDraws / 10.0) * (n - kDraws / 10.0) / (kDraws / 10.0);
        // 9 degrees of freedom: 33.7 is the 0.01% tail; a biased digit moves it far beyond.
        EXPECT_LT(chi2, 33.7) << "place " << place;
    }
}

TEST_F(NumberGeneratorTest, HighestPlaceAloneGivesTheNineMultiples) {
    Xoshiro256Source random(5);
    NumberGenerator gen(state, selection, texts, random, clock);
    SelectDigits({15});
    std::set<std::string> seen;
    for (int i = 0; i < 500; ++i) {
        gen.MakeNumber();
        seen.insert(texts.command1);
    }
    std::set<std::string> expected;
    for (int d = 1; d <= 9; ++d) expected.insert(std::to_string(d) + "00,000,000,000,000");
    EXPECT_EQ(seen, expected);
}

TEST_F(NumberGeneratorTest, AllFifteenPlacesNeverExceedTheCeiling) {
    Xoshiro256Source random(77);
    NumberGenerator gen(state, selection, texts, random, clock);
    SelectRange(1, 15);
    int aboveHalf = 0;
    for (int i = 0; i < 20000; ++i) {
        gen.MakeNumber();
        const int64_t v = Value(texts.command1);
        ASSERT_LE(v, 922337203685477);
        ASSERT_GE(v, 1);
        aboveHalf += v >= 900000000000000 ? 1 : 0;
    }
    EXPECT_GT(aboveHalf, 0);  // the top digit 9 still occurs under the ceiling
}

TEST_F(NumberGeneratorTest, UnitsAloneGiveOneToNine) {
    Xoshiro256Source random(3);
    NumberGenerator gen(state, selection, texts, random, clock);
    SelectDigits({1});
    std::set<std::string> seen;
    for (int i = 0; i < 500; ++i) {
        gen.MakeNumber();
        seen.insert(texts.command1);
    }
    EXPECT_EQ(seen, (std::set<std::string>{"1", "2", "3", "4", "5", "6", "7", "8", "9"}));
}

TEST_F(NumberGeneratorTest, EmptySelectionGetsTheDefaultPlacesInsteadOfLooping) {
    Xoshiro256Source random(11);
    NumberGenerator gen(state, selection, texts, random, clock);
    selection.ClickCheck2(6);
    selection.ClickCheck2(6);  // the learner unticked the last box
    boxes.changes.clear();
    gen.MakeNumber();
    EXPECT_EQ(boxes.changes, (std::vector<BoxChange>{{PlaceColumn::Check1, 3, true},
                                                     {PlaceColumn::Check1, 2, true},
                                                     {PlaceColumn::Check1, 1, true}}));
    EXPECT_EQ(state.PlaceMode, 1);
    const int64_t v = Value(texts.command1);
    EXPECT_GE(v, 1);
    EXPECT_LE(v, 999);
    EXPECT_EQ(texts.writes.front(), "Command2=");
}

TEST_F(NumberGeneratorTest, SourceThatReachesOneStillGivesADigit) {
    SelectDigits({1});
    ScriptedRandom random({1.0});
    NumberGenerator gen(state, selection, texts, random, clock);
    gen.MakeNumber();
    EXPECT_EQ(texts.command1, "9");
}

TEST_F(NumberGeneratorTest, DrawsWithinOneClockTickStillDiffer) {
    Xoshiro256Source random(8);
    NumberGenerator gen(state, selection, texts, random, [] { return uint64_t{42}; });
    SelectRange(1, 12);
    std::set<std::string> seen;
    for (int i = 0; i < 200; ++i) {
        gen.MakeNumber();
        seen.insert(texts.command1);
    }
    EXPECT_EQ(seen.size(), 200u);
}

}  // namespace
}  // namespace drill
