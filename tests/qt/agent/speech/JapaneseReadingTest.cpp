// Open JTalk's own reading of random numbers over all fifteen places, phrase by phrase as the engine
// splits them, against an independent converter written here from the rules of Japanese numerals.
// A new seed each run; it is printed with any failure, and TVX_READING_SEED repeats that run.

#include "TestPrograms.h"
#include "qt/agent/speech/ChildProcess.h"
#include "qt/agent/speech/OpenJTalkEngine.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <random>
#include <sstream>

namespace agent::speech {
namespace {

const char* const kDigit[] = {"", "イチ", "ニ", "サン", "ヨン", "ゴ", "ロク", "ナナ", "ハチ", "キュー"};
const char* const kUnit[] = {"", "マン", "オク", "チョー"};
// With their sound changes (3000 サンゼン, 600 ロッピャク, ...).
const char* const kThousands[] = {"",       "セン",     "ニセン",   "サンゼン", "ヨンセン",
                                  "ゴセン", "ロクセン", "ナナセン", "ハッセン", "キューセン"};
const char* const kHundreds[] = {"",         "ヒャク",     "ニヒャク",   "サンビャク", "ヨンヒャク",
                                 "ゴヒャク", "ロッピャク", "ナナヒャク", "ハッピャク", "キューヒャク"};

// One group of up to four digits (not all zero) followed by its unit: 0 none, 1 万, 2 億, 3 兆.
std::string groupKana(int group, int unit) {
    const int th = group / 1000, hu = group / 100 % 10, te = group / 10 % 10, on = group % 10;
    const bool cho = unit == 3;
    std::string k = std::string(kThousands[th]) + kHundreds[hu];
    if (te) k += std::string(te == 1 ? "" : kDigit[te]) + (cho && on == 0 ? "ジュッ" : "ジュー");
    if (on == 1 && cho)
        k += "イッ";
    else if (on == 8 && cho)
        k += "ハッ";
    else if (on)
        k += kDigit[on];
    return k + kUnit[unit];
}

// The phrases of a number as a Japanese speaker reads it; numbers of up to four digits are one phrase.
std::vector<std::string> expectedPhrases(uint64_t n) {
    std::vector<std::string> phrases;
    for (int unit = 3; unit >= 0; --unit) {
        uint64_t scale = 1;
        for (int i = 0; i < unit; ++i) scale *= 10000;
        const int group = int(n / scale % 10000);
        if (group) phrases.push_back(groupKana(group, unit));
    }
    return phrases;
}

std::string commaGrouped(uint64_t n) {
    std::string digits = std::to_string(n), out;
    for (size_t i = 0; i < digits.size(); ++i) {
        if (i > 0 && (digits.size() - i) % 3 == 0) out += ',';
        out += digits[i];
    }
    return out;
}

// The pronunciation field of every word of Open JTalk's text analysis, "、" included.
std::vector<std::string> traceWords(const std::string& path) {
    std::ifstream trace(path);
    std::vector<std::string> words;
    std::string line;
    bool inAnalysis = false;
    while (std::getline(trace, line)) {
        if (line.rfind("[Text analysis result]", 0) == 0) {
            inAnalysis = true;
        } else if (inAnalysis && line.empty()) {
            break;
        } else if (inAnalysis) {
            std::stringstream fields(line);
            std::string surface, field;
            std::getline(fields, surface, ',');
            for (int i = 1; i < 10 && std::getline(fields, field, ','); ++i) {
            }
            for (size_t at; (at = field.find("’")) != std::string::npos;)
                field.erase(at, std::string("’").size());
            words.push_back(field);
        }
    }
    return words;
}

TEST(JapaneseReading, RandomNumbersOfEveryLengthAreReadPhraseByPhraseAsASpeakerWould) {
    if (!testing::realOpenJTalkInstalled()) GTEST_SKIP() << "open_jtalk, naist-jdic or the voice is missing";
    const char* fixed = std::getenv("TVX_READING_SEED");  // to repeat a failed run
    const uint64_t seed = fixed ? std::strtoull(fixed, nullptr, 10) : std::random_device{}();
    SCOPED_TRACE("seed " + std::to_string(seed));
    std::mt19937_64 random(seed);
    const OpenJTalkSetup setup = defaultOpenJTalkSetup();
    testing::FakeJTalkFolder folder;
    const std::string tracePath = folder.path("trace.txt");
    // 210 numbers, each in a run of its own as the engine reads it: within one run the analyser weighs
    // a number by what precedes it (after "。" it takes "19" for the English "nineteen").
    constexpr int kPerLength = 14;
    std::vector<uint64_t> numbers;
    for (int digits = 1; digits <= 15; ++digits) {
        for (int k = 0; k < kPerLength; ++k) {
            uint64_t n = 1 + random() % 9;
            for (int d = 1; d < digits; ++d) n = n * 10 + random() % 10;
            numbers.push_back(n);
        }
    }
    for (const uint64_t n : numbers) {
        std::string text;
        for (const std::string& p : japanesePhrases(commaGrouped(n))) text += (text.empty() ? "" : "、") + p;
        std::atomic<bool> cancel{false};
        const ChildResult r = runChild(
            setup.program,
            {"-x", setup.dictionary, "-m", setup.voice, "-r", "3.0", "-ow", "/dev/null", "-ot", tracePath},
            text + "\n", cancel, {30000, size_t(64) << 20});
        ASSERT_EQ(r.exitCode, 0) << r.err;
        std::vector<std::string> heard(1);
        for (const std::string& w : traceWords(tracePath)) {
            if (w == "、")
                heard.emplace_back();
            else
                heard.back() += w;
        }
        EXPECT_EQ(heard, expectedPhrases(n)) << commaGrouped(n);
    }
}

TEST(JapaneseReading, TheIndependentConverterKnowsTheSoundChanges) {
    EXPECT_EQ(expectedPhrases(1'000'000'000'000), (std::vector<std::string>{"イッチョー"}));
    EXPECT_EQ(expectedPhrases(888'000'000'000'000),
              (std::vector<std::string>{"ハッピャクハチジューハッチョー"}));
    EXPECT_EQ(expectedPhrases(8'008), (std::vector<std::string>{"ハッセンハチ"}));
    EXPECT_EQ(expectedPhrases(200'000'000'000'000 / 10), (std::vector<std::string>{"ニジュッチョー"}));
    EXPECT_EQ(expectedPhrases(3'600'010'001),
              (std::vector<std::string>{"サンジューロクオク", "イチマン", "イチ"}));
}

}  // namespace
}  // namespace agent::speech
