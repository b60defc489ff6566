#include "TestPrograms.h"
#include "qt/agent/speech/ChildProcess.h"
#include "qt/agent/speech/OpenJTalkEngine.h"

#include <gtest/gtest.h>

#include <chrono>
#include <csignal>

namespace agent::speech {
namespace {

using Clock = std::chrono::steady_clock;

double secondsSince(Clock::time_point t) {
    return std::chrono::duration<double>(Clock::now() - t).count();
}

TEST(ChildLimits, AChildThatHangsFloodsOrLingersIsKilledAtItsLimit) {
    std::atomic<bool> cancel{false};
    const struct {
        const char* script;
        bool timedOut, overflowed;
    } cases[] = {
        {"sleep 30", true, false},
        {"exec >&- 2>&-; sleep 30", true, false},  // closed its output, still running
        {"yes flood", false, true},
        {"yes flood >&2", false, true},
    };
    for (const auto& c : cases) {
        ChildLimits limits;
        limits.timeoutMs = 300;
        limits.maxOutputBytes = 1 << 20;
        const auto start = Clock::now();
        const ChildResult r = runChild("/bin/sh", {"-c", c.script}, "", cancel, limits);
        EXPECT_LT(secondsSince(start), 3.0) << c.script;
        EXPECT_EQ(r.timedOut, c.timedOut) << c.script;
        EXPECT_EQ(r.overflowed, c.overflowed) << c.script;
        EXPECT_EQ(r.signal, SIGKILL) << c.script;
        EXPECT_LE(r.out.size() + r.err.size(), (1u << 20) + (256u << 10)) << c.script;
    }
    const ChildResult fine = runChild("/bin/sh", {"-c", "cat"}, "305\n", cancel, {});
    EXPECT_FALSE(fine.timedOut || fine.overflowed);
    EXPECT_EQ(fine.out, "305\n");
}

TEST(ChildLimits, AHungOrFloodingOpenJTalkCostsOneReadingWithAClearMessage) {
    testing::FakeJTalkFolder folder;
    const std::pair<const char*, const char*> cases[] = {
        {"exec sleep 60", "timed out"},
        {"exec yes RIFF", "wrote too much"},
    };
    for (const auto& [script, detail] : cases) {
        OpenJTalkEngine engine(folder.withScript(script));
        PcmCollector pcm;
        std::atomic<bool> cancel{false};
        const auto start = Clock::now();
        try {
            engine.synthesize({{"305", 195, ""}}, pcm, cancel);
            ADD_FAILURE() << "no error for: " << script;
        } catch (const EngineError& e) {
            const std::string msg = e.what();
            EXPECT_NE(msg.find(detail), std::string::npos) << msg;
            EXPECT_LT(msg.find("読み上げを1つ飛ばしました"), msg.find(detail)) << "Japanese first: " << msg;
        }
        EXPECT_LT(secondsSince(start), 8.0) << script;
    }
}

}  // namespace
}  // namespace agent::speech
