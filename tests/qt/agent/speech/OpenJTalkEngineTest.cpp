#include "TestPrograms.h"
#include "core/speech/Wav.h"
#include "qt/agent/speech/OpenJTalkEngine.h"

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

namespace agent::speech {
namespace {

using testing::FakeJTalkFolder;

TEST(OpenJTalkRate, SpeedInWordsPerMinuteIsCalibratedToTheDrillsWaits) {
    EXPECT_DOUBLE_EQ(openJTalkRate(195), 2.0);
    EXPECT_DOUBLE_EQ(openJTalkRate(0), 1.0);  // no speed tag: the voice's own pace
    EXPECT_DOUBLE_EQ(openJTalkRate(10), 0.5);
    EXPECT_DOUBLE_EQ(openJTalkRate(1000), 3.0);
}

class RealOpenJTalk : public ::testing::Test {
protected:
    void SetUp() override {
        if (!testing::realOpenJTalkInstalled())
            GTEST_SKIP() << "open_jtalk, naist-jdic or the voice is missing";
    }
    // The pronunciation Open JTalk chose, from its own trace: the kana of each word, joined.
    std::string reading(const std::string& text, int wpm = 195) {
        OpenJTalkSetup setup = defaultOpenJTalkSetup();
        setup.tracePath = folder_.path("trace.txt");
        std::remove(setup.tracePath.c_str());
        OpenJTalkEngine engine(setup);
        std::atomic<bool> cancel{false};
        engine.synthesize({{text, wpm, ""}}, pcm_, cancel);
        return traceKana(setup.tracePath);
    }
    // Every phrase's trace is appended to the one file: their kana, joined with "、".
    static std::string traceKana(const std::string& path) {
        std::ifstream trace(path);
        std::string line, kana;
        bool inAnalysis = false;
        while (std::getline(trace, line)) {
            if (line.rfind("[Text analysis result]", 0) == 0) {
                if (!kana.empty()) kana += "、";
                inAnalysis = true;
            } else if (inAnalysis && line.empty()) {
                inAnalysis = false;
            } else if (inAnalysis) {
                std::stringstream fields(line);
                std::string field;
                for (int i = 0; i < 10 && std::getline(fields, field, ','); ++i) {
                }
                kana += field;
            }
        }
        for (size_t at; (at = kana.find("’")) != std::string::npos;) kana.erase(at, std::string("’").size());
        return kana;
    }
    FakeJTalkFolder folder_;
    PcmCollector pcm_;
};

TEST_F(RealOpenJTalk, ReadsEveryManOkuChoGroupAsItsOwnPhrase) {
    const std::pair<const char*, const char*> cases[] = {
        {"10,000", "イチマン"},
        {"100,000,000", "イチオク"},
        {"1,000,000,000,000", "イッチョー"},
        {"305", "サンビャクゴ"},
        {"1,000,000", "ヒャクマン"},
        {"70,000,000", "ナナセンマン"},
        {"100,000,001", "イチオク、イチ"},
        {"922,337,203,685,477",
         "キューヒャクニジューニチョー、サンゼンサンビャクナナジューニオク、サンビャクロクジューハチマン、"
         "ゴセンヨンヒャクナナジューナナ"},
    };
    for (const auto& [text, kana] : cases) EXPECT_EQ(reading(text), kana) << text;
}

TEST_F(RealOpenJTalk, TheVoiceIsHeardAtOnceWithoutTheLeadingSilence) {
    reading("305");
    ASSERT_FALSE(pcm_.samples.empty());
    const size_t firstLoud = leadingSilenceEnd(pcm_.samples.data(), pcm_.samples.size(), pcm_.sampleRate, 0);
    EXPECT_LE(firstLoud * 1000 / pcm_.sampleRate, 40u);
}

TEST_F(RealOpenJTalk, GivesItsVoiceAtItsOwnRateAndFasterAtSpeed195) {
    reading("12,345,678,901,234", 0);
    const double ownPace = pcm_.seconds();
    EXPECT_EQ(pcm_.sampleRate, 48000);
    pcm_ = {};
    reading("12,345,678,901,234", 195);
    EXPECT_LT(pcm_.seconds(), ownPace * 0.85);
    EXPECT_GT(pcm_.seconds(), 2.0);
    EXPECT_LT(pcm_.seconds(), 8.0);
}

TEST(OpenJTalkEngine, NamesWhatIsMissingAndHowToInstallIt) {
    FakeJTalkFolder folder;
    const OpenJTalkSetup good = folder.withScript("exit 0");
    const struct {
        OpenJTalkSetup setup;
        const char* package;
    } cases[] = {
        {{folder.path("none"), good.dictionary, good.voice, ""}, "open-jtalk"},
        {{good.program, folder.path("none"), good.voice, ""}, "open-jtalk-mecab-naist-jdic"},
        {{good.program, good.dictionary, folder.path("none.htsvoice"), ""},
         "hts-voice-nitech-jp-atr503-m001"},
    };
    for (const auto& c : cases) {
        try {
            OpenJTalkEngine engine(c.setup);
            ADD_FAILURE() << "accepted a setup without " << c.package;
        } catch (const EngineError& e) {
            const std::string msg = e.what();
            EXPECT_NE(msg.find(c.package), std::string::npos) << msg;
            // As a learner would install it, not a script of our source tree.
            EXPECT_NE(msg.find("sudo apt install open-jtalk"), std::string::npos) << msg;
            EXPECT_EQ(msg.find("scripts/"), std::string::npos) << msg;
        }
    }
}

TEST(OpenJTalkEngine, AFailingChildIsReportedNotSwallowed) {
    FakeJTalkFolder folder;
    const std::pair<const char*, const char*> cases[] = {
        {"exit 3", "3"},
        {"kill -SEGV $$", "11"},
        {"echo not-a-wav", "open_jtalk"},
        {"cat > /dev/null; exit 0", "open_jtalk"},
    };
    for (const auto& [script, mention] : cases) {
        OpenJTalkEngine engine(folder.withScript(script));
        PcmCollector pcm;
        std::atomic<bool> cancel{false};
        try {
            engine.synthesize({{"305", 195, ""}}, pcm, cancel);
            ADD_FAILURE() << "no error for: " << script;
        } catch (const EngineError& e) {
            EXPECT_NE(std::string(e.what()).find(mention), std::string::npos) << script << ": " << e.what();
        }
    }
}

TEST(OpenJTalkEngine, HandsTheGroupedTextAndTheRateToTheChildAtOnceOrFirstPhraseApart) {
    for (const bool now : {false, true}) {
        FakeJTalkFolder folder;
        const std::string args = folder.path("args"), input = folder.path("input");
        // Echo the arguments and input, then answer with a tiny WAV copied from a here-document.
        OpenJTalkEngine engine(
            folder.withScript("echo \"$@\" > " + args + "; cat >> " + input +
                              "; printf 'RIFF\\044\\0\\0\\0WAVEfmt \\020\\0\\0\\0\\001\\0\\001\\0"
                              "\\200\\076\\0\\0\\0\\175\\0\\0\\002\\0\\020\\0data\\004\\0\\0\\0"
                              "\\001\\0\\002\\0'"));
        PcmCollector pcm;
        std::atomic<bool> cancel{false};
        if (now)
            engine.synthesizeNow({{"100,000,001", 195, ""}}, pcm, cancel);
        else
            engine.synthesize({{"100,000,001", 195, ""}}, pcm, cancel);
        EXPECT_EQ(pcm.sampleRate, 16000);
        std::string argLine, line;
        std::ifstream argFile(args), inputFile(input);
        std::getline(argFile, argLine);
        char rate[32];
        std::snprintf(rate, sizeof rate, "-r %.3f", openJTalkRate(195));
        EXPECT_NE(argLine.find(rate), std::string::npos) << argLine;
        EXPECT_NE(argLine.find("-ow /dev/stdout"), std::string::npos) << argLine;
        std::vector<std::string> inputs;
        while (std::getline(inputFile, line)) inputs.push_back(line);
        if (!now) {
            EXPECT_EQ(inputs, (std::vector<std::string>{"1億、1"}));
            EXPECT_EQ(pcm.samples, (std::vector<int16_t>{1, 2}));
            continue;
        }
        // Wanted at once: the first phrase alone, then the rest, with one short pause between.
        EXPECT_EQ(inputs, (std::vector<std::string>{"1億", "1"}));
        ASSERT_GT(pcm.samples.size(), 4u);
        EXPECT_EQ(std::vector<int16_t>(pcm.samples.begin(), pcm.samples.begin() + 2),
                  (std::vector<int16_t>{1, 2}));
        EXPECT_EQ(std::vector<int16_t>(pcm.samples.end() - 2, pcm.samples.end()),
                  (std::vector<int16_t>{1, 2}));
        EXPECT_LE(pcm.samples.size() - 4, size_t(16000 * kPhrasePauseMs / 1000));
        EXPECT_GE(pcm.samples.size() - 4, size_t(16000 * (kPhrasePauseMs - 60) / 1000));
    }
}

}  // namespace
}  // namespace agent::speech
