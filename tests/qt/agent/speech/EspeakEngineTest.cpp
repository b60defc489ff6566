#include "qt/agent/speech/EspeakEngine.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace agent::speech {
namespace {

PcmCollector speak(const std::string& text, int wpm = 0) {
    EspeakEngine engine;
    PcmCollector pcm;
    std::atomic<bool> cancel{false};
    engine.synthesize({{text, wpm, ""}}, pcm, cancel);
    return pcm;
}

TEST(EspeakEngine, ReadsGroupedDigitsUpToHundredsOfTrillions) {
    const std::string p = EspeakEngine::phonemes("922,337,203,685,477");
    for (const char* word :
         {"n'aInh'VndrI2d", "tr'Ili@n", "b'Ili@n", "m'Ili@n", "T'aUz@nd", "s'Ev@nti s'Ev@n"})
        EXPECT_NE(p.find(word), std::string::npos) << word << " in " << p;
    EXPECT_EQ(EspeakEngine::phonemes("1,000,000"), "w'Vn m'Ili@n");
    const std::string zeros = EspeakEngine::phonemes("100,000,001");
    EXPECT_EQ(zeros.find("T'aUz@nd"), std::string::npos) << zeros;  // an empty group is not read
}

TEST(EspeakEngine, ReadsTheHundredFormsAsWords) {
    EXPECT_EQ(EspeakEngine::phonemes("3 hundred 5"), "Tr'i: h'VndrI2d f'aIv");
    EXPECT_EQ(EspeakEngine::phonemes("3 hundred 45"), "Tr'i: h'VndrI2d f'o@t#i f'aIv");
    EXPECT_EQ(EspeakEngine::phonemes("3 hundred "), "Tr'i: h'VndrI2d");
}

TEST(EspeakEngine, ProducesAudibleSpeechWhoseLengthFollowsTheSpeed) {
    const PcmCollector normal = speak("12,345");
    EXPECT_EQ(normal.sampleRate, 22050);
    EXPECT_GT(normal.seconds(), 1.0);
    EXPECT_LT(normal.seconds(), 5.0);
    const auto peak = *std::max_element(normal.samples.begin(), normal.samples.end());
    EXPECT_GT(peak, 3000);
    const PcmCollector fast = speak("12,345", 350);
    const PcmCollector slow = speak("12,345", 100);
    EXPECT_LT(fast.seconds(), normal.seconds() * 0.8);
    EXPECT_GT(slow.seconds(), normal.seconds() * 1.3);
}

TEST(EspeakEngine, CancelStopsEarly) {
    EspeakEngine engine;
    PcmCollector pcm;
    std::atomic<bool> cancel{true};
    engine.synthesize({{"922,337,203,685,477", 0, ""}}, pcm, cancel);
    EXPECT_LT(pcm.seconds(), 0.5);
}

}  // namespace
}  // namespace agent::speech
