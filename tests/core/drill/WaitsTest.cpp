#include "core/drill/Waits.h"

#include "core/drill/NumberGenerator.h"
#include "core/drill/SpokenForms.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace drill {
namespace {

TEST(Waits, WorkedNumbersWithoutGap) {
    EXPECT_EQ(EnglishWait(5, 0), 3330);  // 1,234
    EXPECT_EQ(JapaneseWait(5, 0), 2100);
    EXPECT_EQ(EnglishWait(2, 1), 1500);  // 10
    EXPECT_EQ(JapaneseWait(2, 1), 1340);
    EXPECT_EQ(EnglishWait(7, 5), 2160);  // 100,000
    EXPECT_EQ(JapaneseWait(7, 5), 2040);
    EXPECT_EQ(EnglishWait(1, 0), 2000);  // one digit
    EXPECT_EQ(JapaneseWait(1, 0), 1000);
}

TEST(Waits, GapWidensAndNarrowsDownToTheFloor) {
    EXPECT_EQ(WithGap(3330, 10000), 13330);
    EXPECT_EQ(WithGap(1500, -2000), 1000);
    EXPECT_EQ(WithGap(3330, -2000), 1330);
    EXPECT_EQ(JapaneseWaitWithGap(2, 0, -2000), 1000);
    EXPECT_EQ(JapaneseWaitWithGap(5, 0, 400), 2500);
    // One digit: flat 1000 whatever the gap.
    EXPECT_EQ(JapaneseWaitWithGap(1, 0, 10000), 1000);
    EXPECT_EQ(JapaneseWaitWithGap(1, 0, -2000), 1000);
}

// Over every shape of drawable number the waits stay in their stated ranges.
TEST(Waits, RangesOverAllDrawableLengths) {
    int enMin = 1 << 30, enMax = 0, jaMin = 1 << 30, jaMax = 0;
    for (int64_t top = 1; top <= 100000000000000; top *= 10) {
        for (int64_t v : {top, top * 9, top * 10 - 1, top + 1}) {
            if (v > 922337203685477) continue;
            const std::string d = GroupedDigits(v);
            const int z = CountZeros(d);
            const int en = EnglishWait(TextLength(d), z);
            const int ja = JapaneseWait(TextLength(ThreeDigitRule(d)), z);
            enMin = std::min(enMin, en);
            enMax = std::max(enMax, en);
            if (d.size() > 1) jaMin = std::min(jaMin, ja);
            jaMax = std::max(jaMax, ja);
        }
    }
    EXPECT_GE(enMin, 1330);
    EXPECT_LE(enMax, 9980);
    EXPECT_GE(jaMin, 1340);
    EXPECT_LE(jaMax, 5180);
}

}  // namespace
}  // namespace drill
