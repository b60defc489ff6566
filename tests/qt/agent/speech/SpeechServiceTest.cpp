#include "ServiceHarness.h"

#include <gtest/gtest.h>

namespace agent::speech {
namespace {

using testing::Harness;
using testing::ManualClock;
using testing::ManualOutput;

FakeEngineScript voice(int rate, int msPerChar = 20) {
    FakeEngineScript s;
    s.sampleRate = rate;
    s.msPerChar = msPerChar;
    return s;
}

TEST(SpeechService, RequestsPlayOneAfterAnotherEachByTheEngineChosenWhenQueued) {
    auto clock = std::make_shared<ManualClock>();
    Harness h(voice(16000), voice(48000), [clock] { return std::make_unique<ManualOutput>(clock); });
    h.service->speak(EngineKind::English, R"(\Ctx="E-mail"\12,345)");
    h.service->speak(EngineKind::Japanese, R"(\Spd=195\305)");
    h.service->speak(EngineKind::English, R"(\Map="3 hundred 5"="305"\)");
    // Nothing moves until the device plays: the second request must not start meanwhile.
    ASSERT_TRUE(h.waitFor([&] { return h.events.startedAt.size() == 1; }));
    h.waitFor([] { return false; }, 100);
    EXPECT_EQ(h.events.lines, QStringList{"started:12,345"});
    for (int i = 0; i < 3; ++i) {
        ASSERT_TRUE(h.waitFor([&] { return clock->finished; })) << i;
        clock->positionUs = 1'000'000'000;  // played through
        ASSERT_TRUE(h.waitFinished(i + 1)) << i;
        clock->positionUs = 0;
    }
    EXPECT_EQ(h.events.lines, (QStringList{"started:12,345", "finished", "started:305", "finished",
                                           "started:305", "finished"}));
    EXPECT_EQ(clock->startedRates, (std::vector<int>{16000, 48000, 16000}));
    EXPECT_EQ(clock->stops, 3);
    const auto en = h.englishLog->calls();
    const auto ja = h.japaneseLog->calls();
    ASSERT_EQ(en.size(), 2u);
    ASSERT_EQ(ja.size(), 1u);
    EXPECT_EQ(en[0], (std::vector<SpeechPiece>{{"12,345", 0, "E-mail"}}));
    EXPECT_EQ(en[1], (std::vector<SpeechPiece>{{"3 hundred 5", 0, ""}}));
    EXPECT_EQ(ja[0], (std::vector<SpeechPiece>{{"305", 195, ""}}));
}

TEST(SpeechService, SpeakReturnsAtOnceEvenWhenTheEngineIsSlow) {
    FakeEngineScript slow = voice(16000);
    slow.delayMs = 400;
    Harness h(slow, slow);
    QElapsedTimer t;
    t.start();
    for (int i = 0; i < 20; ++i) h.service->speak(EngineKind::English, "12,345");
    EXPECT_LT(t.elapsed(), 100);
    EXPECT_TRUE(h.events.lines.isEmpty());
    h.service->shutdown();
}

TEST(SpeechService, WithoutADeviceTheBalloonLastsAsLongAsTheSpeech) {
    Harness h(voice(16000, 40), voice(16000, 40));                // silent, real-time output
    h.service->speak(EngineKind::English, "12345");               // 5 x 40 ms
    h.service->speak(EngineKind::Japanese, R"(\Spd=300\12345)");  // twice as fast
    ASSERT_TRUE(h.waitFinished(2));
    const qint64 first = h.events.finishedAt[0] - h.events.startedAt[0];
    const qint64 second = h.events.finishedAt[1] - h.events.startedAt[1];
    EXPECT_GE(first, 200 + 50);  // speech, then the balloon's short hold
    EXPECT_LT(first, 200 + 50 + 150);
    EXPECT_GE(second, 100 + 50);
    EXPECT_LT(second, 100 + 50 + 150);
    EXPECT_GE(h.events.startedAt[1], h.events.finishedAt[0]);
    ASSERT_FALSE(h.events.mouths.empty());
    EXPECT_EQ(h.events.mouths.back(), 0);
}

TEST(SpeechService, AnEmptyBalloonTextIsAnnouncedAsEmpty) {
    Harness h(voice(16000), voice(16000));
    h.service->speak(EngineKind::English, R"(\Map="5"=""\)");
    h.service->speak(EngineKind::Japanese, R"(\Spd=195\\Map="5"=""\)");
    h.service->speak(EngineKind::English, R"(\Map=""="5"\)");  // nothing to say, something to show
    ASSERT_TRUE(h.waitFinished(3));
    EXPECT_EQ(h.events.lines,
              (QStringList{"started:", "finished", "started:", "finished", "started:5", "finished"}));
}

TEST(SpeechService, BeakFollowsThePlayedPositionNotTheClock) {
    auto clock = std::make_shared<ManualClock>();
    Harness h(voice(16000, 100), voice(16000, 100),
              [clock] { return std::make_unique<ManualOutput>(clock); });
    h.service->speak(EngineKind::English, "  ab  ");  // 200 ms silence, 200 ms sound, 200 ms silence
    ASSERT_TRUE(h.waitFor([&] { return clock->finished; }));
    h.waitFor([] { return false; }, 300);  // wall time passes; the device has not played yet
    EXPECT_TRUE(h.events.mouths.empty());
    clock->positionUs = 100'000;
    h.waitFor([] { return false; }, 50);
    EXPECT_TRUE(h.events.mouths.empty());
    clock->positionUs = 250'000;
    ASSERT_TRUE(h.waitFor([&] { return !h.events.mouths.empty(); }));
    EXPECT_EQ(h.events.mouths.back(), 3);
    clock->positionUs = 450'000;
    ASSERT_TRUE(h.waitFor([&] { return h.events.mouths.back() == 0; }));
    EXPECT_TRUE(h.events.finishedAt.empty());  // still playing the trailing silence
    clock->positionUs = 600'000;
    ASSERT_TRUE(h.waitFinished(1));
}

TEST(SpeechService, AFailingEngineSkipsItsRequestsWithOneNoticeAndTheOtherKeepsSpeaking) {
    FakeEngineScript broken = voice(16000);
    broken.failWith = "日本語の音声エンジンを使えません (open-jtalk)";
    Harness h(voice(16000), broken);
    h.service->speak(EngineKind::Japanese, R"(\Spd=195\305)");
    h.service->speak(EngineKind::English, "7");
    h.service->speak(EngineKind::Japanese, R"(\Spd=195\306)");
    h.service->speak(EngineKind::English, "8");
    ASSERT_TRUE(h.waitFinished(2));
    h.waitFor([] { return false; }, 50);
    EXPECT_EQ(h.events.lines, (QStringList{"started:7", "finished", "started:8", "finished"}));
    EXPECT_EQ(h.events.notices, QStringList{QString::fromStdString(broken.failWith)});
    EXPECT_EQ(h.japaneseLog->calls().size(), 2u);
}

TEST(SpeechService, AnEngineThatCannotBeBuiltIsRetriedButNoticedOnce) {
    int attempts = 0;
    SpeechServiceConfig config;
    config.english = [] { return std::make_unique<FakeEngine>(FakeEngineScript{}, nullptr); };
    config.japanese = [&attempts]() -> std::unique_ptr<SpeechEngine> {
        ++attempts;
        throw EngineError("voice missing");
    };
    config.output = createSilentOutput;
    Harness h(std::move(config));
    for (int i = 0; i < 3; ++i) h.service->speak(EngineKind::Japanese, std::to_string(305 + i));
    h.service->speak(EngineKind::English, "1");
    ASSERT_TRUE(h.waitFinished(1));
    EXPECT_EQ(attempts, 1 + 3);  // once as the lane starts, then again for every request
    EXPECT_EQ(h.events.notices, QStringList{"voice missing"});
    EXPECT_EQ(h.events.lines, (QStringList{"started:1", "finished"}));
}

TEST(SpeechService, ShutdownStopsAtOnceAndIgnoresLaterRequests) {
    auto clock = std::make_shared<ManualClock>();
    Harness h(voice(16000, 100), voice(16000, 100),
              [clock] { return std::make_unique<ManualOutput>(clock); });
    for (int i = 0; i < 5; ++i) h.service->speak(EngineKind::English, "922,337,203,685,477");
    ASSERT_TRUE(h.waitFor([&] { return !h.events.startedAt.empty(); }));
    QElapsedTimer t;
    t.start();
    h.service->shutdown();
    EXPECT_LT(t.elapsed(), 500);
    const size_t synthesised = h.englishLog->calls().size();
    EXPECT_EQ(clock->stops, 1);
    EXPECT_EQ(h.events.lines, (QStringList{"started:922,337,203,685,477", "finished"}));
    h.service->speak(EngineKind::English, "1");
    h.waitFor([] { return false; }, 100);
    EXPECT_EQ(h.events.lines.size(), 2);
    EXPECT_EQ(h.englishLog->calls().size(), synthesised);
}

}  // namespace
}  // namespace agent::speech
