#include "core/listening/AnswerInput.h"

#include <gtest/gtest.h>

namespace drill {
namespace {

TEST(AnswerInput, TakesHalfAndFullWidthDigitsWithAnyCommasOrSpaces) {
    const std::pair<const char*, const char*> cases[] = {
        {"1234567", "1234567"},
        {"1,234,567", "1234567"},
        {"１２３４５６７", "1234567"},
        {"１，２３４，５６７", "1234567"},
        {"1、234、567", "1234567"},
        {"1､234", "1234"},
        {" 12 345 ", "12345"},
        {"１２　３４５", "12345"},
        {"1\t2", "12"},
        {"1,2345,6789", "123456789"},  // grouped by four, as Japanese reads it
        {"1２,3４", "1234"},
        {"９２２，３３７，２０３，６８５，４７７", "922337203685477"},
    };
    for (const auto& [typed, digits] : cases) {
        const NormalisedAnswer a = NormaliseAnswer(typed);
        EXPECT_EQ(a.problem, AnswerProblem::None) << typed;
        EXPECT_EQ(a.digits, digits) << typed;
    }
}

TEST(AnswerInput, DropsLeadingZerosButKeepsZeroItself) {
    EXPECT_EQ(NormaliseAnswer("007").digits, "7");
    EXPECT_EQ(NormaliseAnswer("０,０００").digits, "0");
    EXPECT_EQ(NormaliseAnswer("0").problem, AnswerProblem::None);
}

TEST(AnswerInput, RefusesWhatIsNotANumberWithAHintNotAnError) {
    const std::pair<const char*, AnswerProblem> cases[] = {
        {"", AnswerProblem::Empty},
        {" , 、　", AnswerProblem::Empty},
        {"12a", AnswerProblem::NotADigit},
        {"十二万", AnswerProblem::NotADigit},
        {"1.5", AnswerProblem::NotADigit},
        {"-5", AnswerProblem::NotADigit},
        {"1\n2", AnswerProblem::NotADigit},
        {"12\xff", AnswerProblem::NotADigit},     // malformed UTF-8
        {"1\xe3\x80", AnswerProblem::NotADigit},  // cut-off sequence at the end
        {"1234567890123456789", AnswerProblem::TooLong},
    };
    for (const auto& [typed, problem] : cases) {
        const NormalisedAnswer a = NormaliseAnswer(typed);
        EXPECT_EQ(a.problem, problem) << typed;
        EXPECT_TRUE(a.digits.empty()) << typed;
        EXPECT_FALSE(AnswerHint(problem).empty()) << typed;
    }
    EXPECT_EQ(NormaliseAnswer("123456789012345678").problem, AnswerProblem::None);
    EXPECT_EQ(NormaliseAnswer("0001234567890123456789").problem, AnswerProblem::TooLong);
    EXPECT_EQ(NormaliseAnswer("000123456789012345678").digits, "123456789012345678");
    EXPECT_TRUE(AnswerHint(AnswerProblem::None).empty());
}

}  // namespace
}  // namespace drill
