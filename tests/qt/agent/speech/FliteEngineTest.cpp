#include "FakeEngine.h"
#include "GroupedByHand.h"
#include "core/speech/EnglishNumbers.h"
#include "qt/agent/speech/EnglishVoices.h"
#include "qt/agent/speech/FliteEngine.h"

#include <gtest/gtest.h>

#include <random>
#include <sstream>

using namespace agent::speech;
using agent::speech::testing::grouped;

namespace {

std::vector<std::string> splitWords(const std::string& words) {
    std::vector<std::string> out;
    std::istringstream in(words);
    for (std::string w; in >> w;) {
        if (w.back() == ',') w.pop_back();
        out.push_back(w);
    }
    return out;
}

// flite's text analysis must keep our words as they are: no digit reading, no word split or merged.
TEST(FliteEngineTest, FlitesWordStreamIsTheWordsItWasHanded) {
    std::mt19937_64 random(7);
    for (const char* voice : {kFemaleVoice, kMaleVoice}) {
        for (int length = 1; length <= 15; ++length) {
            for (int i = 0; i < 40; ++i) {
                std::string digits(1, char('1' + random() % 9));
                for (int k = 1; k < length; ++k) digits += random() % 2 ? char('0' + random() % 10) : '0';
                const std::string words = englishNumberWords(grouped(digits));
                EXPECT_EQ(FliteEngine::words(voice, words), splitWords(words)) << voice << " " << words;
            }
        }
        const std::string edge = englishNumberWords("922,337,203,685,477");
        EXPECT_EQ(FliteEngine::words(voice, edge), splitWords(edge));
    }
    // The reason for our wording: flite on its own reads a long number digit by digit.
    EXPECT_NE(FliteEngine::words(kFemaleVoice, "12,345,678,901,234"),
              splitWords(englishNumberWords("12,345,678,901,234")));
}

TEST(FliteEngineTest, BothVoicesSpeakAndACancelStopsTheStream) {
    for (const char* voice : {kFemaleVoice, kMaleVoice}) {
        FliteEngine engine(voice);
        PcmCollector all;
        std::atomic<bool> cancel{false};
        engine.synthesize({{"three hundred five"}}, all, cancel);
        EXPECT_EQ(all.sampleRate, 16000) << voice;
        EXPECT_GT(all.seconds(), 0.4) << voice;

        struct CancelFirst : PcmSink {
            std::atomic<bool>* cancel;
            size_t calls = 0;
            void pcm(int, const int16_t*, size_t) override {
                ++calls;
                *cancel = true;
            }
        } first;
        std::atomic<bool> stop{false};
        first.cancel = &stop;
        engine.synthesize({{englishNumberWords("999,999,999,999,999")}, {"again"}}, first, stop);
        EXPECT_EQ(first.calls, 1u) << voice;
    }
}

TEST(FliteEngineTest, EnglishEngineHandsWordsToTheChosenVoiceAndFallsBackToEspeak) {
    auto log = std::make_shared<FakeEngineLog>();
    std::vector<std::string> built;
    EnglishEngine engine([&](const std::string& voice) -> std::unique_ptr<SpeechEngine> {
        if (voice == kMaleVoice) throw EngineError("no rms");
        built.push_back(voice);
        return std::make_unique<FakeEngine>(FakeEngineScript{}, log);
    });
    PcmCollector pcm;
    std::atomic<bool> cancel{false};
    engine.synthesize({{"3 hundred 5", 0, "E-mail"}, {"12,304", 100, ""}}, pcm, cancel);
    engine.useVoice(kMaleVoice);  // missing: eSpeak NG reads instead, built once
    engine.synthesize({{"7"}}, pcm, cancel);
    engine.synthesize({{"7"}}, pcm, cancel);
    engine.useVoice(kEspeakVoice);
    engine.synthesizeNow({{"hello"}}, pcm, cancel);
    EXPECT_EQ(built, (std::vector<std::string>{kFemaleVoice, kEspeakVoice}));
    const auto calls = log->calls();
    ASSERT_EQ(calls.size(), 4u);
    EXPECT_EQ(calls[0], (std::vector<SpeechPiece>{{"three hundred five", 0, "E-mail"},
                                                  {"twelve thousand, three hundred four", 100, ""}}));
    EXPECT_EQ(calls[1], (std::vector<SpeechPiece>{{"seven"}}));
    EXPECT_EQ(calls[3], (std::vector<SpeechPiece>{{"hello"}}));

    EnglishEngine none(
        [](const std::string&) -> std::unique_ptr<SpeechEngine> { throw EngineError("none"); });
    EXPECT_THROW(none.synthesize({{"7"}}, pcm, cancel), EngineError);
}

TEST(FliteEngineTest, AlternateChangesSpeakerWithEachNewNumberOnly) {
    EnglishVoicePicker picker;
    EXPECT_EQ(picker.voiceFor("5"), kFemaleVoice);  // the default
    const std::vector<std::pair<agent::EnglishVoice, std::string>> fixed = {
        {agent::EnglishVoice::Female, kFemaleVoice},
        {agent::EnglishVoice::Male, kMaleVoice},
        {agent::EnglishVoice::Espeak, kEspeakVoice}};
    for (const auto& [choice, voice] : fixed) {
        picker.choose(choice);
        EXPECT_EQ(picker.voiceFor("1,000"), voice);
        EXPECT_EQ(picker.voiceFor("2,000"), voice);
    }
    picker.choose(agent::EnglishVoice::Alternate);
    // Prepared, spoken and spoken again: one number, one speaker; the next number, the other.
    const std::vector<std::pair<std::string, std::string>> readings = {
        {"1,000", kFemaleVoice},     {"1,000", kFemaleVoice},     {"1,000", kFemaleVoice},
        {"3 hundred 5", kMaleVoice}, {"3 hundred 5", kMaleVoice}, {"7", kFemaleVoice},
        {"1,000", kMaleVoice}};
    for (const auto& [text, voice] : readings) EXPECT_EQ(picker.voiceFor(text), voice) << text;
}

}  // namespace
