#include "DrillFakes.h"
#include "core/drill/ReadOut1Logic.h"
#include "core/drill/Waits.h"

#include <gtest/gtest.h>
#include <QCoreApplication>
#include <QTimer>

#include <algorithm>
#include <chrono>
#include <functional>
#include <string>
#include <vector>

namespace drill {
namespace {

using Clock = std::chrono::steady_clock;

// A window timer over a precise QTimer: setting the interval restarts the countdown; 0 never fires.
class QtWindowTimer : public platform::ITimer {
public:
    QtWindowTimer() {
        timer_.setTimerType(Qt::PreciseTimer);
        QObject::connect(&timer_, &QTimer::timeout, [this] {
            if (handler) handler();
        });
    }
    void setInterval(int ms) override {
        interval_ = ms;
        Restart();
    }
    int interval() const override { return interval_; }
    void setEnabled(bool on) override {
        if (on == enabled_) return;
        enabled_ = on;
        Restart();
    }
    bool enabled() const override { return enabled_; }

    std::function<void()> handler;
    Clock::time_point armedAt;

private:
    void Restart() {
        timer_.stop();
        armedAt = Clock::now();
        if (enabled_ && interval_ > 0) timer_.start(interval_);
    }

    QTimer timer_;
    int interval_ = 0;
    bool enabled_ = true;
};

struct Step {
    std::string kind;  // "en", "ja" or "make"
    double waitedMs;   // since the wait before it was set
    int plannedMs;     // that wait
    int intervalAfter;
    int expectedAfter;  // worked out here from the texts
};

TEST(RealTimers, EnglishThenJapaneseForTwentySeconds) {
    int argc = 1;
    char name[] = "drill_sequencer_realtime_test";
    char* argv[] = {name, nullptr};
    QCoreApplication app(argc, argv);

    QtWindowTimer timer1, timer3, timer4;
    timer1.setInterval(2000);
    timer1.setEnabled(false);
    timer3.setEnabled(false);
    fakes::MemoryTexts texts;
    fakes::RecordingBoxes boxes;
    fakes::RecordingView view;
    fakes::RecordingCharacter peedy;
    ReadOut1Logic logic({texts, boxes, view, peedy, timer1, timer3, timer4},
                        std::make_unique<Xoshiro256Source>(12345));
    logic.SetSpeechChar(peedy);
    ReadOut1State& state = logic.State();

    std::vector<Step> steps;
    int planned = 0;
    auto onTick = [&](QtWindowTimer& timer, const std::function<void()>& handler) {
        const double waited = std::chrono::duration<double, std::milli>(Clock::now() - timer.armedAt).count();
        const size_t spokenBefore = peedy.spoken.size();
        const size_t writesBefore = texts.writes.size();
        handler();
        Step step{"", waited, planned, timer.interval(), 0};
        if (peedy.spoken.size() > spokenBefore) {
            const bool english = peedy.spoken.back().modeId == agent::kEnglishModeId;
            step.kind = english ? "en" : "ja";
            const int l = TextLength(texts.command1);
            const int e = TextLength(texts.text2);
            step.expectedAfter = english ? WithGap(EnglishWait(l, state.ZeroCount), state.ReadingGap)
                                         : JapaneseWait(e, state.ZeroCount);
            EXPECT_EQ(peedy.spoken.back().text,
                      english ? EnglishSpeechText(texts.command1, texts.text2, state.BalloonOn)
                              : JapaneseSpeechText(texts.command2, state.BalloonOn));
        } else if (texts.writes.size() > writesBefore) {
            step.kind = "make";
            step.expectedAfter = 2000;
        }
        planned = timer.interval();
        steps.push_back(step);
    };
    timer1.handler = [&] { onTick(timer1, [&] { logic.Sequencer().Timer1_Timer(); }); };
    timer3.handler = [&] { onTick(timer3, [&] { logic.Sequencer().Timer3_Timer(); }); };
    timer4.handler = [&] { onTick(timer4, [&] { logic.Sequencer().Timer4_Timer(); }); };

    QTimer::singleShot(0, [&] {
        logic.Sequencer().Command4_Click();
        planned = timer1.interval();
        // Halfway, the learner shows the balloon: later readings take the other form.
        QTimer::singleShot(10000, [&] { state.BalloonOn = true; });
        QTimer::singleShot(20000, [&] { app.quit(); });
    });
    app.exec();

    ASSERT_GE(steps.size(), 6u);
    const char* cycle[] = {"en", "ja", "make"};
    int readsEnglish = 0;
    for (size_t i = 0; i < steps.size(); ++i) {
        SCOPED_TRACE(::testing::Message() << "step " << i);
        EXPECT_EQ(steps[i].kind, cycle[i % 3]);
        EXPECT_EQ(steps[i].intervalAfter, steps[i].expectedAfter);
        // Lateness is the event loop's; early is a fault of the sequencer or the timer adapter.
        EXPECT_GE(steps[i].waitedMs, steps[i].plannedMs - 1.0) << "planned " << steps[i].plannedMs;
        readsEnglish += steps[i].kind == "en" ? 1 : 0;
    }
    double latest = 0;
    for (const auto& s : steps) latest = std::max(latest, s.waitedMs - s.plannedMs);
    ::testing::Test::RecordProperty("steps", static_cast<int>(steps.size()));
    ::testing::Test::RecordProperty("latest_ms", std::to_string(latest));
    EXPECT_EQ(steps[0].plannedMs, 10);
    EXPECT_EQ(state.RecCount1, readsEnglish);
    EXPECT_FALSE(timer3.enabled());
    EXPECT_FALSE(timer4.enabled());
    EXPECT_EQ(view.events, (std::vector<std::string>{"focus Command4", "reset colours", "pink Command4"}));
    EXPECT_EQ(boxes.changes.size(), 3u);  // the default places, ticked on screen
}

}  // namespace
}  // namespace drill
