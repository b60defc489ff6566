#include "core/autoend/RowValue.h"

#include <gtest/gtest.h>

#include <limits>

namespace autoend {
namespace {

TEST(RowValue, ReadsTheNumericPrefix) {
    EXPECT_EQ(readRowValue(""), 0);
    EXPECT_EQ(readRowValue("abc"), 0);
    EXPECT_EQ(readRowValue("15"), 15);
    EXPECT_EQ(readRowValue("  42"), 42);
    EXPECT_EQ(readRowValue("1 2 3"), 123);  // blanks inside the number are skipped
    EXPECT_EQ(readRowValue("\t7\n"), 7);
    EXPECT_EQ(readRowValue("-20"), -20);
    EXPECT_EQ(readRowValue("+20"), 20);
    EXPECT_EQ(readRowValue("12abc"), 12);
    EXPECT_EQ(readRowValue("3.7.2"), 4);
    EXPECT_EQ(readRowValue("-"), 0);
    EXPECT_EQ(readRowValue("."), 0);
}

TEST(RowValue, ReadsExponentsOnlyWithDigits) {
    EXPECT_EQ(readRowValue("1e3"), 1000);
    EXPECT_EQ(readRowValue("2D2"), 200);
    EXPECT_EQ(readRowValue("5e"), 5);
    EXPECT_EQ(readRowValue("5e+"), 5);
    EXPECT_EQ(readRowValue("15E-1"), 2);
}

TEST(RowValue, RoundsHalvesToEven) {
    EXPECT_EQ(readRowValue("0.5"), 0);
    EXPECT_EQ(readRowValue("1.5"), 2);
    EXPECT_EQ(readRowValue("2.5"), 2);
    EXPECT_EQ(readRowValue("2.51"), 3);
    EXPECT_EQ(readRowValue("-2.5"), -2);
    EXPECT_EQ(readRowValue("-3.5"), -4);
}

TEST(RowValue, SaturatesBeyondThirtyTwoBits) {
    constexpr auto kMax = std::numeric_limits<std::int32_t>::max();
    constexpr auto kMin = std::numeric_limits<std::int32_t>::min();
    EXPECT_EQ(readRowValue("2147483647"), kMax);
    EXPECT_EQ(readRowValue("2147483648"), kMax);
    EXPECT_EQ(readRowValue("-2147483648"), kMin);
    EXPECT_EQ(readRowValue("-9999999999999"), kMin);
    EXPECT_EQ(readRowValue("1e999"), kMax);
    EXPECT_EQ(readRowValue("-1e999"), kMin);
    EXPECT_EQ(readRowValue("1e-999"), 0);
}

TEST(RowValue, WritesPlainDecimal) {
    EXPECT_EQ(writeRowValue(0), "0");
    EXPECT_EQ(writeRowValue(12000), "12000");
    EXPECT_EQ(writeRowValue(-5), "-5");
}

}  // namespace
}  // namespace autoend
