#include "ServiceHarness.h"
#include "TestPrograms.h"
#include "agent/speech/OpenJTalkEngine.h"

#include <gtest/gtest.h>

#include <signal.h>

#include <cerrno>
#include <fstream>
#include <thread>

namespace agent::speech {
namespace {

using testing::FakeJTalkFolder;
using testing::Harness;

// A child that hangs: closing the drill must still end promptly and leave no process behind.
TEST(SpeechServiceShutdown, EndsARunningChildWithinTheDeadlineAndLeavesNoOrphan) {
    FakeJTalkFolder folder;
    const std::string pidFile = folder.path("pid");
    const OpenJTalkSetup hang = folder.withScript("echo $$ > " + pidFile + ".tmp; mv " + pidFile + ".tmp " +
                                                  pidFile + "; exec sleep 30");
    SpeechServiceConfig config;
    config.english = [] { return std::make_unique<FakeEngine>(FakeEngineScript{}, nullptr); };
    config.japanese = [hang] { return std::make_unique<OpenJTalkEngine>(hang); };
    config.output = createSilentOutput;
    Harness h(std::move(config));
    for (int i = 0; i < 3; ++i) h.service->speak(EngineKind::Japanese, R"(\Spd=195\305)");
    h.service->speak(EngineKind::English, "7");
    pid_t child = 0;
    ASSERT_TRUE(h.waitFor([&] { return bool(std::ifstream(pidFile) >> child); }));
    ASSERT_EQ(::kill(child, 0), 0);

    QElapsedTimer t;
    t.start();
    h.service->shutdown();
    h.service.reset();
    EXPECT_LT(t.elapsed(), 500);
    EXPECT_EQ(::kill(child, 0), -1);
    EXPECT_EQ(errno, ESRCH);
    EXPECT_TRUE(h.events.lines.isEmpty());
}

TEST(SpeechServiceShutdown, DestroyingAServiceMidSpeechIsSafe) {
    FakeEngineScript slow;
    slow.delayMs = 200;
    Harness h(slow, slow);
    h.service->speak(EngineKind::English, "12,345");
    h.service->speak(EngineKind::Japanese, "12,345");
    QElapsedTimer t;
    t.start();
    h.service.reset();
    EXPECT_LT(t.elapsed(), 500);
}

}  // namespace
}  // namespace agent::speech
