#include "ServiceHarness.h"
#include "qt/agent/speech/SpeechCache.h"

#include <gtest/gtest.h>

namespace agent::speech {
namespace {

using testing::Harness;

FakeEngineScript voice(int msPerChar = 20, int delayMs = 0) {
    FakeEngineScript s;
    s.msPerChar = msPerChar;
    s.delayMs = delayMs;
    return s;
}

qint64 startDelay(Harness& h, size_t i, qint64 askedAt) {
    EXPECT_TRUE(h.waitFor([&] { return h.events.startedAt.size() > i; }));
    return h.events.startedAt.size() > i ? h.events.startedAt[i] - askedAt : -1;
}

TEST(SpeechAhead, APreparedReadingPlaysFromTheCacheAndABalloonChangeChangesOnlyTheBalloon) {
    Harness h(voice(20, 1000), voice(20, 1000));  // engines that take a second before any audio
    h.service->prepare(EngineKind::English, R"(\Ctx="E-mail"\12,345)");
    h.service->prepare(EngineKind::Japanese, R"(\Spd=195\12,345)");
    h.waitFor([] { return false; }, 1800);
    // The balloon was switched off in between: the tags change, the spoken audio does not.
    qint64 asked = h.clock.elapsed();
    h.service->speak(EngineKind::English, R"(\Map="12,345"=""\)");
    EXPECT_LT(startDelay(h, 0, asked), 500);  // from the cache, not the second-long synthesis
    ASSERT_TRUE(h.waitFinished(1));
    asked = h.clock.elapsed();
    h.service->speak(EngineKind::Japanese, R"(\Spd=195\\Map="12,345"=""\)");
    EXPECT_LT(startDelay(h, 1, asked), 500);
    ASSERT_TRUE(h.waitFinished(2));
    EXPECT_EQ(h.events.lines, (QStringList{"started:", "finished", "started:", "finished"}));
    EXPECT_EQ(h.englishLog->calls().size(), 1u);
    EXPECT_EQ(h.japaneseLog->calls().size(), 1u);

    // Another speed is other audio: synthesised anew, not taken from the cache.
    h.service->speak(EngineKind::Japanese, R"(\Spd=150\12,345)");
    ASSERT_TRUE(h.waitFinished(3));
    ASSERT_EQ(h.japaneseLog->calls().size(), 2u);
    EXPECT_EQ(h.japaneseLog->calls()[1], (std::vector<SpeechPiece>{{"12,345", 150, ""}}));
}

TEST(SpeechAhead, AReadingSpokenWhileItsPreparationRunsWaitsForItInsteadOfStartingAgain) {
    Harness h(voice(20, 200), voice());
    h.service->prepare(EngineKind::English, "7");
    h.service->speak(EngineKind::English, R"(\Map="7"="seven"\)");
    ASSERT_TRUE(h.waitFinished(1));
    EXPECT_EQ(h.events.lines, (QStringList{"started:seven", "finished"}));
    EXPECT_EQ(h.englishLog->calls().size(), 1u);
}

TEST(SpeechAhead, EachVoiceHasItsOwnLaneYetReadingsPlayInTheOrderSpoken) {
    Harness h(voice(), voice(20, 3000));
    // A Japanese synthesis stuck for seconds must not hold up an English reading behind it.
    h.service->prepare(EngineKind::Japanese, "305");
    const qint64 asked = h.clock.elapsed();
    h.service->speak(EngineKind::English, "7");
    EXPECT_LT(startDelay(h, 0, asked), 500);
    ASSERT_TRUE(h.waitFinished(1));
    h.service->shutdown();

    // A slow reading queued first still plays first.
    Harness order(voice(), voice(20, 300));
    order.service->speak(EngineKind::Japanese, "305");
    order.service->speak(EngineKind::English, "7");
    ASSERT_TRUE(order.waitFinished(2));
    EXPECT_EQ(order.events.lines, (QStringList{"started:305", "finished", "started:7", "finished"}));
}

TEST(SpeechCache, KeepsAFewEntriesForgetsTheOldestAndAnyThatFailed) {
    SpeechCache cache(2);
    const std::vector<SpeechPiece> a{{"1", 0, ""}}, b{{"2", 0, ""}}, c{{"3", 0, ""}};
    // The key is the audio: engine, text and speed, never the context or the balloon.
    EXPECT_EQ(SpeechCache::keyOf(EngineKind::English, {{"1", 0, "E-mail"}}),
              SpeechCache::keyOf(EngineKind::English, a));
    EXPECT_NE(SpeechCache::keyOf(EngineKind::English, a), SpeechCache::keyOf(EngineKind::Japanese, a));
    EXPECT_NE(SpeechCache::keyOf(EngineKind::English, a),
              SpeechCache::keyOf(EngineKind::English, {{"1", 195, ""}}));
    EXPECT_NE(SpeechCache::keyOf(EngineKind::English, {{"1", 0, ""}, {"2", 0, ""}}),
              SpeechCache::keyOf(EngineKind::English, {{"12", 0, ""}}));
    const std::string ka = SpeechCache::keyOf(EngineKind::English, a);
    const std::string kb = SpeechCache::keyOf(EngineKind::English, b);
    const std::string kc = SpeechCache::keyOf(EngineKind::English, c);
    auto sa = std::make_shared<PcmStream>(), sb = std::make_shared<PcmStream>(),
         sc = std::make_shared<PcmStream>();
    cache.insert(ka, sa);
    cache.insert(kb, sb);
    cache.insert(kc, sc);
    EXPECT_EQ(cache.size(), 2u);
    EXPECT_EQ(cache.find(ka), nullptr);
    EXPECT_EQ(cache.find(kb), sb);
    sc->finish(true);
    EXPECT_EQ(cache.find(kc), nullptr);
    EXPECT_EQ(cache.size(), 1u);
}

}  // namespace
}  // namespace agent::speech

namespace agent::speech {
namespace {

// The fake engine, noting the voice each synthesis was asked for.
class VoiceNotingEngine : public FakeEngine {
public:
    VoiceNotingEngine(std::shared_ptr<FakeEngineLog> log, std::shared_ptr<std::vector<std::string>> voices)
        : FakeEngine(voice(), std::move(log)), voices_(std::move(voices)) {}
    void useVoice(const std::string& v) override { current_ = v; }
    void synthesize(const std::vector<SpeechPiece>& pieces, PcmSink& sink,
                    const std::atomic<bool>& cancel) override {
        voices_->push_back(current_);
        FakeEngine::synthesize(pieces, sink, cancel);
    }

private:
    std::shared_ptr<std::vector<std::string>> voices_;
    std::string current_;
};

TEST(SpeechAhead, AVoiceChosenMidDrillReadsTheNextReadingEvenWhenTheOldVoiceHadPreparedIt) {
    auto voices = std::make_shared<std::vector<std::string>>();
    auto log = std::make_shared<FakeEngineLog>();
    SpeechServiceConfig config;
    config.english = [=] { return std::make_unique<VoiceNotingEngine>(log, voices); };
    config.japanese = [=] { return std::make_unique<FakeEngine>(voice(), log); };
    config.output = createSilentOutput;
    Harness h(std::move(config));
    h.service->prepare(EngineKind::English, "1,000");
    h.service->speak(EngineKind::English, R"(\Map="1,000"=""\)");  // from the preparation
    ASSERT_TRUE(h.waitFinished(1));
    h.service->setEnglishVoice(EnglishVoice::Male);
    h.service->speak(EngineKind::English, R"(\Map="1,000"=""\)");
    h.service->setEnglishVoice(EnglishVoice::Alternate);
    for (const char* text : {"5", "5", "6", "3 hundred "}) h.service->speak(EngineKind::English, text);
    ASSERT_TRUE(h.waitFinished(6));
    // "5" twice is one number: one speaker, and its second reading comes from the cache.
    EXPECT_EQ(*voices, (std::vector<std::string>{"slt", "rms", "slt", "rms", "slt"}));
}

}  // namespace
}  // namespace agent::speech
