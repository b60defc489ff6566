#include "core/drill/ReadOut1State.h"

#include <gtest/gtest.h>

namespace drill {
namespace {

TEST(ReadOut1State, RecCountCountsUpAndStopsAtTheTop) {
    ReadOut1State s;
    CountNumberRead(s);
    EXPECT_EQ(s.RecCount1, 1);
    s.RecCount1 = 32766;
    CountNumberRead(s);
    EXPECT_EQ(s.RecCount1, 32767);
    for (int i = 0; i < 5; ++i) CountNumberRead(s);
    EXPECT_EQ(s.RecCount1, 32767);
}

TEST(ReadOut1State, PlaceModeOneReadsDigitFlagsEveryOtherValueRangeFlags) {
    ReadOut1State s;
    s.DigitFlags[4] = 1;
    s.RangeFlags[9] = 1;
    for (int16_t mode : {0, 2, 3, -1}) {
        s.PlaceMode = mode;
        EXPECT_EQ(&ActivePlaceFlags(s), &s.RangeFlags) << mode;
    }
    s.PlaceMode = 1;
    EXPECT_EQ(&ActivePlaceFlags(s), &s.DigitFlags);
}

}  // namespace
}  // namespace drill
