// Lateness of the drill timers while the character speaks.
//
// The real sequencer runs all four modes on real VbTimers, and the real agent speaks every reading
// through the real speech service (silently without a sound device). The sequencer's waits are
// divided by --scale so that 1000 ticks fit into minutes; speech is still queued at every reading,
// so the voice plays during the whole run. Each tick's lateness is its firing time minus the time
// its countdown was started plus the (scaled) interval.
//
// A second timer (--probe-ms, 0 = off) ticks beside the drill at a fixed interval; its lateness
// shows what the event loop does to a timer while speech is synthesised and played.
//
//   QT_QPA_PLATFORM=offscreen bench_drill_timing --character <bin>/PEEDY.acs [--ticks 1000] [--scale 10]

#include "core/drill/ReadOut1Logic.h"
#include "qt/agent/Agent.h"
#include "qt/agent/speech/SpeechService.h"
#include "qt/ui/VbTimer.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QTimer>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

namespace {

struct Tick {
    double latenessMs;
    bool speaking;
};

QElapsedTimer clock_;
double nowMs() {
    return static_cast<double>(clock_.nsecsElapsed()) / 1e6;
}
bool speaking_ = false;

// The real VbTimer under the sequencer, with its waits shortened and every tick's lateness kept.
class MeasuredTimer : public platform::ITimer {
public:
    MeasuredTimer(int scale, std::vector<Tick>& ticks) : scale_(scale), ticks_(ticks) {
        timer_.onTimer([this] {
            const double now = nowMs();
            ticks_.push_back({now - due_, speaking_});
            due_ = now + scaled_;  // a repeating tick counts on from here unless the handler re-arms
            if (handler_) handler_();
        });
    }
    void onTimer(std::function<void()> h) { handler_ = std::move(h); }

    void setInterval(int ms) override {
        interval_ = ms;
        scaled_ = ms <= 0 ? 0 : std::max(1, ms / scale_);
        due_ = nowMs() + scaled_;
        timer_.setInterval(scaled_);
    }
    int interval() const override { return interval_; }
    void setEnabled(bool on) override {
        if (on && !timer_.enabled()) due_ = nowMs() + scaled_;
        timer_.setEnabled(on);
    }
    bool enabled() const override { return timer_.enabled(); }

private:
    int scale_;
    std::vector<Tick>& ticks_;
    ui::VbTimer timer_;
    int interval_ = 0;
    int scaled_ = 0;
    double due_ = 0;
    std::function<void()> handler_;
};

// The window's texts and controls, kept in memory.
class Controls : public drill::HeldTexts, public drill::PlaceBoxView, public drill::DrillView {
public:
    void setPlaceBoxTicked(drill::PlaceColumn, int, bool) override {}
    void focusStartButton(drill::StartButton) override {}
    void ResetStartButtonColors() override {}
    void colourStartButtonPink(drill::StartButton) override {}
    void setCommand3Caption(const std::string&) override {}
    int upDown1Increment() const override { return drill::kUpDown1Increment; }
};

double percentile(std::vector<double> v, double p) {
    if (v.empty()) return 0;
    std::sort(v.begin(), v.end());
    const size_t i =
        std::min(v.size() - 1, static_cast<size_t>(p / 100.0 * static_cast<double>(v.size() - 1) + 0.5));
    return v[i];
}

void report(const char* name, const std::vector<Tick>& ticks) {
    std::vector<double> all, during;
    for (const Tick& t : ticks) {
        all.push_back(t.latenessMs);
        if (t.speaking) during.push_back(t.latenessMs);
    }
    auto line = [name](const char* which, const std::vector<double>& v) {
        std::printf("%-10s %-14s n=%5zu  median %.3f ms  p99 %.3f ms  max %.3f ms  min %.3f ms\n", name,
                    which, v.size(), percentile(v, 50), percentile(v, 99), percentile(v, 100),
                    percentile(v, 0));
    };
    line("all ticks", all);
    line("while speaking", during);
}

const char* option(int argc, char** argv, const char* name, const char* fallback) {
    for (int i = 1; i + 1 < argc; ++i)
        if (std::strcmp(argv[i], name) == 0) return argv[i + 1];
    return fallback;
}

}  // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QApplication::setQuitOnLastWindowClosed(false);
    const int wanted = std::atoi(option(argc, argv, "--ticks", "1000"));
    const int scale = std::max(1, std::atoi(option(argc, argv, "--scale", "10")));
    const int probeMs = std::atoi(option(argc, argv, "--probe-ms", "0"));
    const std::string character = option(argc, argv, "--character", "PEEDY.acs");

    auto service = agent::speech::createSpeechService();
    agent::speech::SpeechService* voice = service.get();
    int started = 0;
    QObject::connect(voice, &agent::speech::SpeechService::requestStarted, [&](const QString&) {
        speaking_ = true;
        ++started;
    });
    QObject::connect(voice, &agent::speech::SpeechService::requestFinished, [] { speaking_ = false; });
    agent::Agent agent(std::move(service));

    std::vector<Tick> drillTicks, probeTicks;
    drillTicks.reserve(static_cast<size_t>(wanted) + 16);
    MeasuredTimer timer1(scale, drillTicks), timer3(scale, drillTicks), timer4(scale, drillTicks);
    Controls controls;
    drill::ReadOut1Logic logic(
        drill::ReadOut1Controls{controls, controls, controls, agent.Characters(), timer1, timer3, timer4});
    try {
        agent.Characters().Load("peedy", character);
    } catch (const std::exception& e) {
        std::fprintf(stderr, "cannot load the character: %s\n", e.what());
        return 1;
    }
    agent::ICharacter& peedy = agent.Characters().Item("peedy");
    logic.SetSpeechChar(peedy);
    peedy.Show();
    drill::DrillSequencer& seq = logic.Sequencer();
    timer1.onTimer([&] { seq.Timer1_Timer(); });
    timer3.onTimer([&] { seq.Timer3_Timer(); });
    timer4.onTimer([&] { seq.Timer4_Timer(); });

    ui::VbTimer probe;
    double probeDue = 0;
    probe.onTimer([&] {
        const double now = nowMs();
        probeTicks.push_back({now - probeDue, speaking_});
        probeDue = now + probeMs;
        probe.setInterval(probeMs);  // re-armed as the drill re-arms its timers
    });

    clock_.start();
    // A quarter of the ticks in each mode, in the order of the start buttons.
    const int perMode = std::max(1, wanted / 4);
    int mode = 0;
    auto startMode = [&](int m) {
        switch (m) {
            case 0:
                seq.Command4_Click();
                break;
            case 1:
                seq.Command5_Click();
                break;
            case 2:
                seq.Command7_Click();
                break;
            default:
                seq.Command8_Click();
                break;
        }
    };
    startMode(0);
    if (probeMs > 0) {
        probeDue = nowMs() + probeMs;
        probe.setInterval(probeMs);
    }
    QTimer watch;
    watch.setTimerType(Qt::PreciseTimer);
    QObject::connect(&watch, &QTimer::timeout, [&] {
        const int done = static_cast<int>(drillTicks.size());
        if (done >= wanted) {
            QApplication::quit();
        } else if (done >= (mode + 1) * perMode && mode < 3) {
            startMode(++mode);
        }
    });
    watch.start(1);
    QApplication::exec();
    const double seconds = nowMs() / 1000;
    drillTicks.resize(std::min(drillTicks.size(), static_cast<size_t>(wanted)));

    std::printf("%d drill ticks in %.1f s, waits divided by %d, %d readings started playing, RecCount1 %d\n",
                static_cast<int>(drillTicks.size()), seconds, scale, started, logic.State().RecCount1);
    report("drill", drillTicks);
    if (probeMs > 0) {
        std::printf("probe timer at %d ms:\n", probeMs);
        report("probe", probeTicks);
    }
    return 0;
}
