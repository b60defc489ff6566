#include "core/drill/PlaceSelection.h"

#include "DrillFakes.h"

#include <gtest/gtest.h>

#include <random>
#include <set>

namespace drill {
namespace {

using fakes::BoxChange;
using fakes::RecordingBoxes;

class PlaceSelectionTest : public ::testing::Test {
protected:
    std::set<int> TickedBoxes(PlaceColumn column) const {
        std::set<int> ticked;
        for (int p = 1; p <= kPlaceCount; ++p)
            if (places.Ticked(column, p)) ticked.insert(p);
        return ticked;
    }
    static std::set<int> Set(const PlaceFlags& flags) {
        std::set<int> set;
        for (int p = 1; p <= kPlaceCount; ++p)
            if (flags[p] == 1) set.insert(p);
        return set;
    }
    // The window's boxes as the observer reports them.
    std::set<int> Mirrored(PlaceColumn column) const {
        std::set<int> ticked;
        const auto& shown = column == PlaceColumn::Check1 ? boxes.check1 : boxes.check2;
        for (int p = 1; p <= kPlaceCount; ++p)
            if (shown[p]) ticked.insert(p);
        return ticked;
    }

    ReadOut1State state;
    RecordingBoxes boxes;
    PlaceSelection places{state, boxes};
};

TEST_F(PlaceSelectionTest, RangeColumnFillsWidensAndNarrowsTheRun) {
    places.ClickCheck2(2);
    places.ClickCheck2(5);
    EXPECT_EQ(TickedBoxes(PlaceColumn::Check2), (std::set<int>{2, 3, 4, 5}));
    EXPECT_EQ(Set(state.RangeFlags), (std::set<int>{2, 3, 4, 5}));

    places.ClickCheck2(3);  // inside the run: ticked again
    EXPECT_EQ(TickedBoxes(PlaceColumn::Check2), (std::set<int>{2, 3, 4, 5}));
    EXPECT_EQ(Set(state.RangeFlags), (std::set<int>{2, 3, 4, 5}));

    places.ClickCheck2(5);
    EXPECT_EQ(TickedBoxes(PlaceColumn::Check2), (std::set<int>{2, 3, 4}));
    places.ClickCheck2(2);
    EXPECT_EQ(TickedBoxes(PlaceColumn::Check2), (std::set<int>{3, 4}));
    EXPECT_EQ(Set(state.RangeFlags), (std::set<int>{3, 4}));
    EXPECT_EQ(state.PlaceMode, 2);
    EXPECT_EQ(Mirrored(PlaceColumn::Check2), (std::set<int>{3, 4}));
}

TEST_F(PlaceSelectionTest, UntickingTheOnlyRangeBoxEmptiesTheSelectionAndKeepsModeTwo) {
    places.ClickCheck2(7);
    places.ClickCheck2(7);
    EXPECT_TRUE(TickedBoxes(PlaceColumn::Check2).empty());
    EXPECT_EQ(FlagSum(state.RangeFlags), 0);
    EXPECT_EQ(state.PlaceMode, 2);
}

TEST_F(PlaceSelectionTest, RunReachesBothEndsOfTheColumn) {
    places.ClickCheck2(15);
    EXPECT_EQ(TickedBoxes(PlaceColumn::Check2), (std::set<int>{15}));
    places.ClickCheck2(1);
    EXPECT_EQ(Set(state.RangeFlags).size(), 15u);
    places.ClickCheck2(15);
    places.ClickCheck2(1);
    EXPECT_EQ(Set(state.RangeFlags), (std::set<int>{2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14}));
}

TEST_F(PlaceSelectionTest, DigitClickClearsTheRangeColumn) {
    places.ClickCheck2(3);
    places.ClickCheck2(7);
    boxes.changes.clear();
    places.ClickCheck1(4);
    EXPECT_TRUE(TickedBoxes(PlaceColumn::Check2).empty());
    EXPECT_EQ(FlagSum(state.RangeFlags), 0);
    EXPECT_EQ(Set(state.DigitFlags), (std::set<int>{4}));
    EXPECT_EQ(state.PlaceMode, 1);
    // The click's own toggle first, then the range boxes from the bottom up.
    std::vector<BoxChange> expected{{PlaceColumn::Check1, 4, true}};
    for (int p = 3; p <= 7; ++p) expected.push_back({PlaceColumn::Check2, p, false});
    EXPECT_EQ(boxes.changes, expected);
    EXPECT_FALSE(state.DigitClickBusy);
}

TEST_F(PlaceSelectionTest, RangeClickClearsTheDigitColumn) {
    places.ClickCheck1(1);
    places.ClickCheck1(5);
    places.ClickCheck2(9);
    EXPECT_TRUE(TickedBoxes(PlaceColumn::Check1).empty());
    EXPECT_EQ(FlagSum(state.DigitFlags), 0);
    EXPECT_EQ(TickedBoxes(PlaceColumn::Check2), (std::set<int>{9}));
    EXPECT_EQ(Set(state.RangeFlags), (std::set<int>{9}));
    EXPECT_EQ(state.PlaceMode, 2);
    EXPECT_FALSE(state.RangeClickBusy);
}

TEST_F(PlaceSelectionTest, DigitBoxesToggleFreely) {
    places.ClickCheck1(1);
    places.ClickCheck1(15);
    places.ClickCheck1(8);
    places.ClickCheck1(1);
    EXPECT_EQ(Set(state.DigitFlags), (std::set<int>{8, 15}));
    EXPECT_EQ(TickedBoxes(PlaceColumn::Check1), (std::set<int>{8, 15}));
}

TEST_F(PlaceSelectionTest, BusyFlagsMakeTheOtherHandlerInert) {
    places.ClickCheck1(2);
    state.RangeClickBusy = true;
    places.Check1_Click(6);
    EXPECT_EQ(Set(state.DigitFlags), (std::set<int>{2}));
    state.RangeClickBusy = false;

    places.ClickCheck2(4);
    state.DigitClickBusy = true;
    const int16_t before = state.PlaceMode;
    places.Check2_Click(9);
    EXPECT_EQ(state.PlaceMode, before);
    EXPECT_EQ(Set(state.RangeFlags), (std::set<int>{4}));
}

TEST_F(PlaceSelectionTest, DefaultSelectionTicksHundredsTensUnitsAsDigitClicks) {
    EXPECT_TRUE(places.applyDefaultSelection());
    EXPECT_EQ(boxes.changes, (std::vector<BoxChange>{{PlaceColumn::Check1, 3, true},
                                                     {PlaceColumn::Check1, 2, true},
                                                     {PlaceColumn::Check1, 1, true}}));
    EXPECT_EQ(Set(state.DigitFlags), (std::set<int>{1, 2, 3}));
    EXPECT_EQ(state.PlaceMode, 1);
}

TEST_F(PlaceSelectionTest, DefaultSelectionLeavesAnySelectionAlone) {
    places.ClickCheck2(10);
    boxes.changes.clear();
    EXPECT_FALSE(places.applyDefaultSelection());
    EXPECT_TRUE(boxes.changes.empty());
    EXPECT_EQ(state.PlaceMode, 2);

    places.ClickCheck1(6);
    EXPECT_FALSE(places.applyDefaultSelection());
    EXPECT_EQ(Set(state.DigitFlags), (std::set<int>{6}));
}

TEST_F(PlaceSelectionTest, OutOfRangeIndexIsRejected) {
    EXPECT_THROW(places.ClickCheck1(0), std::out_of_range);
    EXPECT_THROW(places.ClickCheck2(16), std::out_of_range);
    EXPECT_EQ(state.PlaceMode, 0);
}

// The four invariants after each of many random clicks in both columns.
TEST_F(PlaceSelectionTest, RandomClicksKeepTheInvariants) {
    std::mt19937 rng(20240611);
    std::uniform_int_distribution<int> place(1, kPlaceCount);
    std::bernoulli_distribution digitColumn(0.5);
    for (int i = 0; i < 10000; ++i) {
        const bool digit = digitColumn(rng);
        const int p = place(rng);
        if (digit) {
            places.ClickCheck1(p);
        } else {
            places.ClickCheck2(p);
        }
        SCOPED_TRACE(::testing::Message() << "click " << i << (digit ? " Check1(" : " Check2(") << p << ")");

        ASSERT_EQ(TickedBoxes(PlaceColumn::Check1), Set(state.DigitFlags));
        ASSERT_EQ(TickedBoxes(PlaceColumn::Check2), Set(state.RangeFlags));
        for (int q = 1; q <= kPlaceCount; ++q) {
            ASSERT_TRUE(state.DigitFlags[q] == 0 || state.DigitFlags[q] == 1);
            ASSERT_TRUE(state.RangeFlags[q] == 0 || state.RangeFlags[q] == 1);
        }
        ASSERT_TRUE(FlagSum(state.DigitFlags) == 0 || FlagSum(state.RangeFlags) == 0);
        const auto range = Set(state.RangeFlags);
        if (!range.empty()) {
            ASSERT_EQ(static_cast<int>(range.size()), *range.rbegin() - *range.begin() + 1);
        }
        ASSERT_EQ(state.PlaceMode, digit ? 1 : 2);
        ASSERT_FALSE(state.DigitClickBusy || state.RangeClickBusy);
        ASSERT_EQ(Mirrored(PlaceColumn::Check1), TickedBoxes(PlaceColumn::Check1));
        ASSERT_EQ(Mirrored(PlaceColumn::Check2), TickedBoxes(PlaceColumn::Check2));
    }
}

}  // namespace
}  // namespace drill
