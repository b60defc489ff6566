#include "ServiceHarness.h"
#include "TestPrograms.h"
#include "qt/agent/speech/OpenJTalkEngine.h"
#include "qt/agent/speech/PulseDevice.h"

#include <gtest/gtest.h>

#include <signal.h>
#include <stdlib.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
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

// A sound server that takes the connection and never answers (a hung daemon): the device must not
// hold the program open, or a failed start-up would never show its message.
TEST(PulseDeviceShutdown, ASoundServerThatNeverAnswersDoesNotHoldTheProgram) {
    char dir[] = "/tmp/tvx-silent-pulse-XXXXXX";
    ASSERT_NE(::mkdtemp(dir), nullptr);
    const std::string path = std::string(dir) + "/native";
    const int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
    sockaddr_un addr{};
    addr.sun_family = AF_UNIX;
    std::strncpy(addr.sun_path, path.c_str(), sizeof addr.sun_path - 1);
    ASSERT_EQ(::bind(fd, reinterpret_cast<sockaddr*>(&addr), sizeof addr), 0);
    ASSERT_EQ(::listen(fd, 4), 0);  // connections queue, nothing ever reads them
    ::setenv("PULSE_SERVER", ("unix:" + path).c_str(), 1);

    QElapsedTimer t;
    t.start();
    {
        PulseDevice device;
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
    }
    EXPECT_LT(t.elapsed(), 3000);
    ::unsetenv("PULSE_SERVER");
    ::close(fd);
    ::unlink(path.c_str());
    ::rmdir(dir);
}

}  // namespace
}  // namespace agent::speech
