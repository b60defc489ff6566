#include "ServiceHarness.h"

#include <gtest/gtest.h>

namespace agent::speech {
namespace {

using testing::Harness;
using testing::ManualClock;
using testing::ManualOutput;

SpeechServiceConfig withOutput(AudioOutputFactory output, int lateStartMs) {
    SpeechServiceConfig config;
    FakeEngineScript fast;
    fast.msPerChar = 20;
    config.english = [fast] { return std::make_unique<FakeEngine>(fast, nullptr); };
    config.japanese = [fast] { return std::make_unique<FakeEngine>(fast, nullptr); };
    config.output = std::move(output);
    config.lateStartMs = lateStartMs;
    return config;
}

TEST(SpeechStall, ReadingsHeldUpByAStalledDeviceAreDroppedAndTheNextStartsOnItsTick) {
    auto clock = std::make_shared<ManualClock>();  // its position stands still: the device stalls
    Harness h(withOutput([clock] { return std::make_unique<ManualOutput>(clock); }, 300));
    h.service->speak(EngineKind::English, R"(\Map="aaaa"="1,000"\)");
    h.service->speak(EngineKind::English, R"(\Map="bbbb"="2,000"\)");
    h.service->speak(EngineKind::Japanese, R"(\Map="cccc"="2,000"\)");
    ASSERT_TRUE(h.waitFinished(1));
    h.waitFor([] { return false; }, 200);
    // The one playing closed its balloon; the two queued behind it never opened theirs.
    EXPECT_EQ(h.events.lines, (QStringList{"started:1,000", "finished"}));

    clock->positionUs = int64_t(1) << 40;  // the device plays again
    h.service->speak(EngineKind::English, R"(\Map="dddd"="3,000"\)");
    ASSERT_TRUE(h.waitFinished(2));
    EXPECT_EQ(h.events.lines, (QStringList{"started:1,000", "finished", "started:3,000", "finished"}));
    EXPECT_LT(h.events.startedAt[1] - h.events.finishedAt[0], 1000);
}

TEST(SpeechStall, AReadingQueuedBehindALongOneThatPlaysIsNotDropped) {
    // The drill relies on it: a reading longer than its wait is followed by the next in the queue.
    Harness h(withOutput(createSilentOutput, 300));
    h.service->speak(EngineKind::English, R"(\Map=")" + std::string(60, 'a') + R"("="long"\)");  // 1.2 s
    h.service->speak(EngineKind::Japanese, R"(\Map="bbbb"="next"\)");
    ASSERT_TRUE(h.waitFinished(2));
    EXPECT_EQ(h.events.lines, (QStringList{"started:long", "finished", "started:next", "finished"}));
}

}  // namespace
}  // namespace agent::speech
