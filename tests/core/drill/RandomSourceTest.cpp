#include "core/drill/RandomSource.h"

#include <gtest/gtest.h>

#include <set>

namespace drill {
namespace {

TEST(Xoshiro256Source, DrawsStayInTheHalfOpenUnitInterval) {
    Xoshiro256Source source(1);
    for (int i = 0; i < 100000; ++i) {
        const double r = source.Next();
        ASSERT_GE(r, 0.0);
        ASSERT_LT(r, 1.0);
    }
}

TEST(Xoshiro256Source, ReseedWithTheSameClockReadingDoesNotRestartTheSequence) {
    Xoshiro256Source source(42);
    std::set<uint64_t> seen;
    for (int pass = 0; pass < 1000; ++pass) {
        source.Reseed(1234567);  // the same clock tick every time
        ASSERT_TRUE(seen.insert(source.NextBits()).second) << "pass " << pass;
    }
}

TEST(Xoshiro256Source, ReseedMixesTheClockIntoTheState) {
    Xoshiro256Source a(7), b(7);
    a.Reseed(100);
    b.Reseed(101);
    EXPECT_NE(a.NextBits(), b.NextBits());

    Xoshiro256Source c(7), d(7);
    c.Reseed(100);
    d.Reseed(100);
    EXPECT_EQ(c.NextBits(), d.NextBits());
}

}  // namespace
}  // namespace drill
