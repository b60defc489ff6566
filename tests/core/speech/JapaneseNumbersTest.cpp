#include "core/speech/JapaneseNumbers.h"

#include <gtest/gtest.h>

namespace agent::speech {
namespace {

TEST(JapaneseNumbers, LongNumbersAreSplitIntoTheirManOkuChoGroups) {
    const std::pair<const char*, const char*> cases[] = {
        {"10,000", "1万"},
        {"100,000,000", "1億"},
        {"1,000,000,000,000", "1兆"},
        {"1,000,000", "100万"},
        {"70,000,000", "7000万"},
        {"100,000,001", "1億、1"},
        {"1,000,000,000,010", "1兆、10"},
        {"12,345,678,901,234", "12兆、3456億、7890万、1234"},
        {"922,337,203,685,477", "922兆、3372億、368万、5477"},
        {"12345", "1万、2345"},
        {"x 20,000 y 3", "x 2万 y 3"},
    };
    for (const auto& [in, out] : cases) EXPECT_EQ(groupJapaneseNumbers(in), out) << in;
}

TEST(JapaneseNumbers, ShortOrOddNumbersAndOtherTextStayAsTheyAre) {
    for (const char* text : {"5", "305", "1,000", "9999", "1,2345", "0012345", "3.14159265",
                             "123456789012345678901", "こんにちは", ""})
        EXPECT_EQ(groupJapaneseNumbers(text), text) << text;
}

}  // namespace
}  // namespace agent::speech
