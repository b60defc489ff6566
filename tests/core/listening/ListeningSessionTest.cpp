#include "core/listening/ListeningSession.h"

#include <gtest/gtest.h>

namespace drill {
namespace {

ListeningTrial Trial(const std::string& correct, const std::string& answer, int replays = 0, int slow = 0,
                     ListeningLanguage language = ListeningLanguage::English) {
    ListeningTrial t;
    t.language = language;
    t.correct = correct;
    t.answer = answer;
    t.comparison = CompareAnswer(correct, answer);
    t.replays = replays;
    t.slowReplays = slow;
    return t;
}

TEST(ListeningSession, CountsPlacesTriedAndWrongByPlaceValue) {
    ListeningSession s;
    s.Record(Trial("305", "305"));
    s.Record(Trial("3000000", "3000000000"));  // shift: only 百万 is wrong by place value
    s.Record(Trial("123456789012345", "123456789012340"));
    EXPECT_EQ(s.Tried(), 3);
    EXPECT_EQ(s.Correct(), 1);
    EXPECT_EQ(s.Place(1).tried, 3);
    EXPECT_EQ(s.Place(1).wrong, 1);
    EXPECT_EQ(s.Place(3).tried, 3);
    EXPECT_EQ(s.Place(3).wrong, 0);
    EXPECT_EQ(s.Place(7).tried, 2);
    EXPECT_EQ(s.Place(7).wrong, 1);
    EXPECT_EQ(s.Place(15).tried, 1);
    EXPECT_EQ(s.Place(15).wrong, 0);
    EXPECT_DOUBLE_EQ(s.Place(7).ErrorRate(), 50.0);
    EXPECT_DOUBLE_EQ(s.Place(1).ErrorRate(), 100.0 / 3);
    // Out-of-range places are empty, not a crash.
    EXPECT_EQ(s.Place(0).tried, 0);
    EXPECT_EQ(s.Place(16).tried, 0);
}

TEST(ListeningSession, ErrorRateByDigitCountCountsWholeNumbers) {
    ListeningSession s;
    s.Record(Trial("25000", "2500"));
    s.Record(Trial("12345", "12345"));
    s.Record(Trial("7", "7"));
    EXPECT_EQ(s.DigitCount(5).tried, 2);
    EXPECT_EQ(s.DigitCount(5).wrong, 1);
    EXPECT_DOUBLE_EQ(s.DigitCount(5).ErrorRate(), 50.0);
    EXPECT_DOUBLE_EQ(s.DigitCount(1).ErrorRate(), 0.0);
    EXPECT_DOUBLE_EQ(s.DigitCount(9).ErrorRate(), 0.0);  // nothing tried is 0 %, not NaN
}

TEST(ListeningSession, CountsEveryReplay) {
    ListeningSession s;
    s.CountReplay(false);
    s.CountReplay(true);
    s.CountReplay(false);
    EXPECT_EQ(s.Replays(), 3);
    EXPECT_EQ(s.SlowReplays(), 1);
}

TEST(ListeningSession, CsvQuotesGroupedNumbersAndOpensInSpreadsheets) {
    ListeningSession s;
    s.Record(Trial("1234567", "1234567", 2, 1));
    s.Record(Trial("3000000", "3000000000", 0, 0, ListeningLanguage::Japanese));
    const std::string csv = s.Csv();
    const std::string bom = "\xEF\xBB\xBF";
    ASSERT_EQ(csv.rfind(bom, 0), 0u);
    EXPECT_EQ(csv.substr(bom.size()),
              "番号,言語,正解,答え,正誤,位ずれ,間違えた位,もう一度,ゆっくり\r\n"
              "1,英語,\"1,234,567\",\"1,234,567\",正解,,,2,1\r\n"
              "2,日本語,\"3,000,000\",\"3,000,000,000\",不正解,3桁多い,百万,0,0\r\n");
    EXPECT_EQ(ListeningSession().Csv(),
              bom + "番号,言語,正解,答え,正誤,位ずれ,間違えた位,もう一度,ゆっくり\r\n");
}

TEST(ListeningSession, CsvFieldEscapesQuotesAndLineBreaks) {
    EXPECT_EQ(CsvField("plain"), "plain");
    EXPECT_EQ(CsvField("a\"b"), "\"a\"\"b\"");
    EXPECT_EQ(CsvField("a\nb"), "\"a\nb\"");
}

}  // namespace
}  // namespace drill
