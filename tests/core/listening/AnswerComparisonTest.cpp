#include "core/listening/AnswerComparison.h"

#include <gtest/gtest.h>

namespace drill {
namespace {

std::string Marks(const std::vector<bool>& marks) {
    std::string s;
    for (bool m : marks) s += m ? '^' : '.';
    return s;
}

std::string Verdict(const std::string& correct, const std::string& answer) {
    return VerdictLine(CompareAnswer(correct, answer), static_cast<int>(correct.size()),
                       static_cast<int>(answer.size()));
}

TEST(AnswerComparison, RightAnswerHasNoMarks) {
    const AnswerComparison c = CompareAnswer("922337203685477", "922337203685477");
    EXPECT_TRUE(c.correct);
    EXPECT_EQ(c.shift, PlaceShift::None);
    EXPECT_EQ(Marks(c.answerMarks), "...............");
    EXPECT_TRUE(c.wrongPlaces.empty());
    EXPECT_EQ(Verdict("5", "5"), "正解");
}

TEST(AnswerComparison, SameLengthNamesEveryWrongPlaceHighestFirst) {
    // 15 digits: places 15 (百兆), 9 (一億) and 5 (万) heard wrong.
    const AnswerComparison c = CompareAnswer("123456789012345", "923456189042345");
    EXPECT_FALSE(c.correct);
    EXPECT_EQ(c.shift, PlaceShift::None);
    EXPECT_EQ(Marks(c.answerMarks), "^.....^...^....");
    EXPECT_EQ(Marks(c.correctMarks), "^.....^...^....");
    EXPECT_EQ(c.wrongPlaces, (std::vector<int>{15, 9, 5}));
    EXPECT_EQ(Verdict("123456789012345", "923456189042345"), "間違えた位：百兆の位、一億の位、万の位");
    // Swapped digits are two wrong places, not a shift.
    EXPECT_EQ(Verdict("12", "21"), "間違えた位：十の位、一の位");
}

TEST(AnswerComparison, MillionHeardAsBillionIsAShiftNotTenWrongDigits) {
    const AnswerComparison c = CompareAnswer("3000000", "3000000000");
    EXPECT_EQ(c.shift, PlaceShift::Extra);
    EXPECT_EQ(c.shiftDigits, 3);
    EXPECT_EQ(Marks(c.answerMarks), ".^^^......");
    EXPECT_EQ(Marks(c.correctMarks), ".......");
    EXPECT_TRUE(c.misheardPlaces.empty());
    // By place value only the 百万 digit is missing from its place.
    EXPECT_EQ(c.wrongPlaces, (std::vector<int>{7}));
    EXPECT_EQ(Verdict("3000000", "3000000000"), "位ずれ：3桁多い（百万の位を十億の位と聞き違え）");
}

TEST(AnswerComparison, MissingDigitIsAShiftWhereverItFalls) {
    const AnswerComparison c = CompareAnswer("25000", "2500");
    EXPECT_EQ(c.shift, PlaceShift::Missing);
    EXPECT_EQ(c.shiftDigits, 1);
    EXPECT_EQ(Marks(c.correctMarks), "..^..");
    EXPECT_EQ(Marks(c.answerMarks), "....");
    EXPECT_EQ(Verdict("25000", "2500"), "位ずれ：1桁足りない（万の位を千の位と聞き違え）");

    // A digit dropped from the middle of a 15-digit number marks just that digit.
    const AnswerComparison mid = CompareAnswer("123456789012345", "12345689012345");
    EXPECT_EQ(mid.shift, PlaceShift::Missing);
    EXPECT_EQ(Marks(mid.correctMarks), "......^........");
    EXPECT_EQ(Marks(mid.answerMarks), "..............");
    EXPECT_TRUE(mid.misheardPlaces.empty());
    EXPECT_EQ(Verdict("120000000000000", "12000000000000"),
              "位ずれ：1桁足りない（百兆の位を十兆の位と聞き違え）");
}

TEST(AnswerComparison, ShiftWithAMisheardDigitNamesBoth) {
    const AnswerComparison c = CompareAnswer("3400000", "3500000000");
    EXPECT_EQ(c.shift, PlaceShift::Extra);
    EXPECT_EQ(Marks(c.answerMarks), ".^^^^.....");
    EXPECT_EQ(c.misheardPlaces, (std::vector<int>{6}));
    EXPECT_EQ(Verdict("3400000", "3500000000"),
              "位ずれ：3桁多い（百万の位を十億の位と聞き違え）　ほかに間違えた位：十万の位");
}

TEST(AnswerComparison, AnswersLongerThanTheDrillStillGetNamed) {
    EXPECT_EQ(Verdict("100000000000000", "100000000000000000"),
              "位ずれ：3桁多い（百兆の位を十京の位と聞き違え）");
    EXPECT_EQ(PlaceName(0), "");
    EXPECT_EQ(PlaceName(19), "");
    EXPECT_EQ(PlaceName(9), "一億");
}

TEST(AnswerComparison, GroupsMarkedDigitsByThreesLikeTheMainWindow) {
    std::string text, marks;
    for (const MarkedChar& mc : GroupMarked("1234567", {false, false, true, false, false, false, true})) {
        text += mc.c;
        marks += mc.wrong ? '^' : '.';
    }
    EXPECT_EQ(text, "1,234,567");
    EXPECT_EQ(marks, "...^....^");
    EXPECT_EQ(GroupMarked("123", {}).size(), 3u);
}

}  // namespace
}  // namespace drill
