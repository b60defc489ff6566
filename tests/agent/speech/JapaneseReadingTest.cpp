// Open JTalk's own reading of random numbers over all fifteen places, phrase by phrase as the engine
// splits them, against an independent converter written here from the rules of Japanese numerals.
// A new seed each run; it is printed with any failure so the run can be repeated.

#include "TestPrograms.h"
#include "agent/speech/ChildProcess.h"
#include "agent/speech/OpenJTalkEngine.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <random>
#include <sstream>

namespace agent::speech {
namespace {

const char* const kDigit[] = {"", "イチ", "ニ", "サン", "ヨン", "ゴ", "ロク", "ナナ", "ハチ", "キュー"};
const char* const kUnit[] = {"", "マン", "オク", "チョー"};

// One group of up to four digits (not all zero) followed by its unit: 0 none, 1 万, 2 億, 3 兆.
std::string groupKana(int group, int unit) {
    const int th = group / 1000, hu = group / 100 % 10, te = group / 10 % 10, on = group % 10;
    const bool cho = unit == 3;
    std::string k;
    if (th == 1)
        k += "セン";
    else if (th == 3)
        k += "サンゼン";
    else if (th == 8)
        k += "ハッセン";
    else if (th)
        k += std::string(kDigit[th]) + "セン";
    if (hu == 1)
        k += "ヒャク";
    else if (hu == 3)
        k += "サンビャク";
    else if (hu == 6)
        k += "ロッピャク";
    else if (hu == 8)
        k += "ハッピャク";
    else if (hu)
        k += std::string(kDigit[hu]) + "ヒャク";
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

// The pronunciation field of every word of Open JTalk's text analysis, "、" and "。" included.
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
            words.push_back(surface == "。" ? surface : field);  // a full stop is pronounced as a pause too
        }
    }
    return words;
}

TEST(JapaneseReading, RandomNumbersOfEveryLengthAreReadPhraseByPhraseAsASpeakerWould) {
    if (!testing::realOpenJTalkInstalled()) GTEST_SKIP() << "open_jtalk, naist-jdic or the voice is missing";
    const uint64_t seed = std::random_device{}();
    SCOPED_TRACE("seed " + std::to_string(seed));
    std::mt19937_64 random(seed);
    const OpenJTalkSetup setup = defaultOpenJTalkSetup();
    testing::FakeJTalkFolder folder;
    const std::string tracePath = folder.path("trace.txt");
    // 210 numbers, read several to a run of open_jtalk: its input line must stay well under the
    // 1 KiB beyond which it overruns its own buffer and aborts.
    constexpr int kPerLength = 14, kBatch = 12;
    std::vector<uint64_t> numbers;
    for (int digits = 1; digits <= 15; ++digits) {
        for (int k = 0; k < kPerLength; ++k) {
            uint64_t n = 1 + random() % 9;
            for (int d = 1; d < digits; ++d) n = n * 10 + random() % 10;
            numbers.push_back(n);
        }
    }
    std::shuffle(numbers.begin(), numbers.end(), random);
    for (size_t from = 0; from < numbers.size(); from += kBatch) {
        // Every phrase as the engine hands it over; numbers apart by "。", phrases by "、".
        std::string text;
        std::vector<std::vector<std::string>> expected;
        for (size_t i = from; i < std::min(numbers.size(), from + kBatch); ++i) {
            const std::vector<std::string> phrases = japanesePhrases(commaGrouped(numbers[i]));
            std::string joined;
            for (const std::string& p : phrases) joined += (joined.empty() ? "" : "、") + p;
            text += joined + "。";
            expected.push_back(expectedPhrases(numbers[i]));
        }
        std::atomic<bool> cancel{false};
        const ChildResult r = runChild(
            setup.program,
            {"-x", setup.dictionary, "-m", setup.voice, "-r", "3.0", "-ow", "/dev/null", "-ot", tracePath},
            text + "\n", cancel, {120000, size_t(256) << 20});
        ASSERT_EQ(r.exitCode, 0) << r.err;
        std::vector<std::vector<std::string>> heard(1, std::vector<std::string>(1));
        for (const std::string& w : traceWords(tracePath)) {
            if (w == "。") {
                heard.push_back(std::vector<std::string>(1));
            } else if (w == "、") {
                heard.back().emplace_back();
            } else {
                heard.back().back() += w;
            }
        }
        heard.pop_back();
        ASSERT_EQ(heard.size(), expected.size()) << text;
        for (size_t i = 0; i < expected.size(); ++i) {
            EXPECT_EQ(heard[i], expected[i]) << commaGrouped(numbers[from + i]);
        }
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
