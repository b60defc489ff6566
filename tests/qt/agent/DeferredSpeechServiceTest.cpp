#include "qt/agent/DeferredSpeechService.h"

#include "FakeSpeechService.h"
#include "QtTestApp.h"

#include <QSignalSpy>

#include <gtest/gtest.h>

namespace agent {
namespace {

using speech::EngineKind;

struct Voice : test::FakeSpeechService {
    void prepare(EngineKind engine, const std::string& text) override { prepared.emplace_back(engine, text); }
    void setEnglishVoice(EnglishVoice v) override { voices.push_back(v); }
    std::vector<std::pair<EngineKind, std::string>> prepared;
    std::vector<EnglishVoice> voices;
};

struct Rig {
    Voice* real = nullptr;
    int made = 0;
    DeferredSpeechService service{[this] {
        ++made;
        auto v = std::make_unique<Voice>();
        real = v.get();
        return v;
    }};
};

// Whatever is asked before the service is up reaches the real one, exactly once; after a shutdown
// nothing brings it up.
TEST(DeferredSpeechService, EverythingAskedBeforeStartReachesTheRealService) {
    using Voices = std::vector<EnglishVoice>;
    struct Case {
        const char* name;
        std::function<void(DeferredSpeechService&)> before;
        int madeBefore, madeAfter;
        size_t spoken, prepared;
        Voices voices;
    };
    const std::vector<Case> cases = {
        {"nothing", [](DeferredSpeechService&) {}, 0, 1, 0, 0, {}},
        {"voice kept",
         [](DeferredSpeechService& s) { s.setEnglishVoice(EnglishVoice::Male); },
         0,
         1,
         0,
         0,
         {EnglishVoice::Male}},
        {"speak", [](DeferredSpeechService& s) { s.speak(EngineKind::English, "12"); }, 1, 1, 1, 0, {}},
        {"prepare", [](DeferredSpeechService& s) { s.prepare(EngineKind::Japanese, "12"); }, 1, 1, 0, 1, {}},
        {"shut down", [](DeferredSpeechService& s) { s.shutdown(); }, 0, 0, 0, 0, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Rig rig;
        c.before(rig.service);
        EXPECT_EQ(rig.made, c.madeBefore);
        rig.service.start();
        rig.service.start();
        EXPECT_EQ(rig.made, c.madeAfter);
        if (!rig.real) continue;
        EXPECT_EQ(rig.real->spoken.size(), c.spoken);
        EXPECT_EQ(rig.real->prepared.size(), c.prepared);
        EXPECT_EQ(rig.real->voices, c.voices);
    }
}

TEST(DeferredSpeechService, PassesTheRealServicesSignalsOn) {
    Rig rig;
    rig.service.start();
    ASSERT_NE(rig.real, nullptr);
    QSignalSpy started(&rig.service, &speech::SpeechService::requestStarted);
    QSignalSpy notice(&rig.service, &speech::SpeechService::notice);
    emit rig.real->requestStarted(QStringLiteral("12"));
    emit rig.real->notice(QStringLiteral("no sound"));
    ASSERT_EQ(started.size(), 1);
    EXPECT_EQ(started.at(0).at(0).toString(), QStringLiteral("12"));
    EXPECT_EQ(notice.size(), 1);
    rig.service.shutdown();
    EXPECT_EQ(rig.real->shutdowns, 1);
}

}  // namespace
}  // namespace agent
