#include "core/ui/FittingPoints.h"

#include <gtest/gtest.h>

namespace {

// A text as wide as points * width: fits a control of room when points * width <= room.
TEST(FittingPoints, LargestQuarterPointThatFitsFromTheDesignSizeDown) {
    struct Case {
        double design, width, room, want;
    };
    const Case cases[] = {
        {14.25, 10, 142.5, 14.25},                         // the design size fits: kept
        {14.25, 10, 142.4, 14.0},                          // just too wide: one quarter point less
        {14.25, 10, 100.0, 10.0},                          // several steps, landing on a quarter
        {14.25, 10, 99.9, 9.75},   {11.25, 10, 1.0, 6.0},  // nothing fits: the smallest size, not below it
        {36.0, 10, 1000.0, 36.0},  {5.0, 10, 1.0, 5.0},    // a design below the smallest size is never grown
    };
    for (const Case& c : cases) {
        const double got =
            ui::fittingPoints(c.design, [&](double points) { return points * c.width <= c.room; });
        EXPECT_DOUBLE_EQ(got, c.want) << c.design << " in " << c.room;
    }
}

}  // namespace
