#include "GroupedByHand.h"
#include "core/drill/NumberGenerator.h"
#include "core/drill/SpokenForms.h"
#include "core/drill/Waits.h"
#include "core/speech/EnglishNumbers.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <map>
#include <random>
#include <sstream>
#include <string>
#include <vector>

using agent::speech::englishNumberWords;
using agent::speech::testing::grouped;

namespace {

// An independent reading of the words: a listener's sum of groups times their scale. Fails (returns
// -1) on anything an American reading must not contain: "and", a bare "hundred", a scale out of
// order, a comma anywhere but after a scale word.
int64_t parseWords(const std::string& words) {
    static const std::map<std::string, int> small = {
        {"zero", 0},     {"one", 1},      {"two", 2},        {"three", 3},     {"four", 4},
        {"five", 5},     {"six", 6},      {"seven", 7},      {"eight", 8},     {"nine", 9},
        {"ten", 10},     {"eleven", 11},  {"twelve", 12},    {"thirteen", 13}, {"fourteen", 14},
        {"fifteen", 15}, {"sixteen", 16}, {"seventeen", 17}, {"eighteen", 18}, {"nineteen", 19},
        {"twenty", 20},  {"thirty", 30},  {"forty", 40},     {"fifty", 50},    {"sixty", 60},
        {"seventy", 70}, {"eighty", 80},  {"ninety", 90}};
    static const std::map<std::string, int64_t> scales = {{"thousand", 1000LL},
                                                          {"million", 1000000LL},
                                                          {"billion", 1000000000LL},
                                                          {"trillion", 1000000000000LL}};
    std::istringstream in(words);
    std::string w;
    int64_t total = 0, group = 0, lastScale = INT64_MAX;
    int lastSmall = -1;  // the previous word's value when it was a number word
    bool afterScale = false;
    while (in >> w) {
        bool comma = false;
        if (w.back() == ',') {
            comma = true;
            w.pop_back();
        }
        if (auto s = small.find(w); s != small.end()) {
            if (lastSmall >= 0 && !(lastSmall >= 20 && lastSmall % 10 == 0 && s->second < 10)) return -1;
            if (s->second == 0 && (group || total)) return -1;
            group += s->second;
            lastSmall = s->second;
            afterScale = false;
        } else if (w == "hundred") {
            if (lastSmall < 1 || lastSmall > 9 || group != lastSmall) return -1;
            group *= 100;
            lastSmall = -1;
        } else if (auto sc = scales.find(w); sc != scales.end()) {
            if (group == 0 || sc->second >= lastScale) return -1;
            total += group * sc->second;
            lastScale = sc->second;
            group = 0;
            lastSmall = -1;
            afterScale = true;
        } else {
            return -1;  // "and", digits, anything else
        }
        if (comma && !afterScale) return -1;
        if (afterScale && !comma && in.peek() != EOF) return -1;  // a pause at every group boundary
    }
    return total + group;
}

// The drill's form of 100 to 999.
std::string hundredForm(const std::string& d) {
    if (d[1] == '0' && d[2] == '0') return d.substr(0, 1) + " hundred ";
    if (d[1] == '0') return d.substr(0, 1) + " hundred " + d[2];
    return d.substr(0, 1) + " hundred " + d.substr(1);
}

TEST(EnglishNumbersTest, EdgeCasesReadAsAnAmericanSaysThem) {
    const std::vector<std::pair<std::string, std::string>> cases = {
        {"0", "zero"},
        {"7", "seven"},
        {"10", "ten"},
        {"19", "nineteen"},
        {"40", "forty"},
        {"45", "forty five"},
        {"3 hundred ", "three hundred"},
        {"1 hundred ", "one hundred"},
        {"3 hundred 5", "three hundred five"},
        {"3 hundred 10", "three hundred ten"},
        {"9 hundred 99", "nine hundred ninety nine"},
        {"1,000", "one thousand"},
        {"1,001", "one thousand, one"},
        {"10,000", "ten thousand"},
        {"12,304", "twelve thousand, three hundred four"},
        {"100,000", "one hundred thousand"},
        {"1,000,000", "one million"},
        {"100,000,000,000,000", "one hundred trillion"},
        {"922,337,203,685,477",
         "nine hundred twenty two trillion, three hundred thirty seven billion, two hundred three million, "
         "six hundred eighty five thousand, four hundred seventy seven"},
        {"999,999,999,999,999",
         "nine hundred ninety nine trillion, nine hundred ninety nine billion, nine hundred ninety nine "
         "million, nine hundred ninety nine thousand, nine hundred ninety nine"},
        {"1,000,000,000,001", "one trillion, one"},
        // Not a reading text: left to the engine as it stands.
        {"hello", "hello"},
        {"1,23,456", "1,23,456"},
        {"12,34", "12,34"},
        {",123", ",123"},
        {"3 hundred 456", "3 hundred 456"},
        {"", ""},
    };
    for (const auto& [text, words] : cases) EXPECT_EQ(englishNumberWords(text), words) << text;
    // The edge cases also read back as themselves.
    for (const char* d : {"100", "305", "310"})
        EXPECT_EQ(parseWords(englishNumberWords(hundredForm(d))), std::stoll(d));
}

TEST(EnglishNumbersTest, RandomNumbersOfEveryLengthReadBackAsThemselves) {
    std::mt19937_64 random(20);
    for (int length = 1; length <= 15; ++length) {
        for (int i = 0; i < 300; ++i) {
            // Zeros as often as not: the drill leaves every unticked place at zero.
            std::string digits(1, char('1' + random() % 9));
            for (int k = 1; k < length; ++k) digits += random() % 2 ? char('0' + random() % 10) : '0';
            const int64_t n = std::stoll(digits);
            const std::string text = length == 3 ? hundredForm(digits) : grouped(digits);
            const std::string words = englishNumberWords(text);
            ASSERT_EQ(parseWords(words), n) << text << " -> " << words;
            ASSERT_EQ(words.find(" and"), std::string::npos) << words;
            // Plain digits say the same as grouped ones.
            ASSERT_EQ(englishNumberWords(digits),
                      length == 3 ? englishNumberWords(hundredForm(digits)) : words);
        }
    }
}

TEST(EnglishNumbersTest, TheIndependentReadingRejectsWhatAListenerWouldMishear) {
    // Guards the guard: readings the wording must never give.
    for (const char* bad : {"one hundred and five", "hundred", "twelve thousand three hundred four",
                            "one million, one billion", "five, three", "twenty thirty", "one 2"})
        EXPECT_EQ(parseWords(bad), -1) << bad;
    EXPECT_EQ(parseWords("twelve thousand, three hundred four"), 12304);
}

// The speech side keeps its own copy of the drill's wait; it must never drift from it.
TEST(EnglishNumbersTest, TheReadingBudgetIsTheDrillsEnglishWaitLess300Ms) {
    std::mt19937_64 random(3);
    for (int length = 1; length <= 15; ++length) {
        for (int zeros = 0; zeros < length; ++zeros) {
            std::string digits(1, char('1' + random() % 9));
            for (int k = 1; k < length; ++k) digits += char('1' + random() % 9);
            for (int k = 0; k < zeros; ++k) digits[size_t(1 + k)] = '0';
            const std::string display = drill::GroupedDigits(std::stoll(digits));
            const std::string english =
                drill::TextLength(display) == 3 ? drill::ThreeDigitRule(display) : display;
            const int wait = drill::EnglishWait(drill::TextLength(display), drill::CountZeros(display));
            EXPECT_EQ(agent::speech::englishReadingBudgetMs(english), wait - 300) << english;
        }
    }
    for (const char* other : {"hello", "", "3 hundred 456", "012"})
        EXPECT_EQ(agent::speech::englishReadingBudgetMs(other), 0) << other;
}

}  // namespace
