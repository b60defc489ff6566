#pragma once

// A sequencer over virtual time: three timers that fire in deadline order, a host whose MakeNumber
// shows planned numbers, and the real Speaker over a recording character.

#include "DrillFakes.h"
#include "core/drill/DrillSequencer.h"
#include "core/drill/NumberGenerator.h"
#include "core/drill/PlaceSelection.h"
#include "core/drill/SpokenForms.h"

#include <cstdint>
#include <deque>
#include <functional>
#include <stdexcept>
#include <string>
#include <vector>

namespace drill::rig {

class VirtualTimer : public platform::ITimer {
public:
    VirtualTimer(const int64_t& now, std::string name) : now_(now), name_(std::move(name)) {}

    void setInterval(int ms) override {
        interval_ = ms;
        deadline_ = now_ + ms;
    }
    int interval() const override { return interval_; }
    void setEnabled(bool on) override {
        if (on && !enabled_) deadline_ = now_ + interval_;
        enabled_ = on;
    }
    bool enabled() const override { return enabled_; }

    bool armed() const { return enabled_ && interval_ > 0; }
    int64_t deadline() const { return deadline_; }
    void rearm() { deadline_ = now_ + interval_; }
    const std::string& name() const { return name_; }

    std::function<void()> handler;

private:
    const int64_t& now_;
    std::string name_;
    int interval_ = 0;
    bool enabled_ = true;
    int64_t deadline_ = 0;
};

struct Tick {
    std::string timer;
    int64_t at;
    int intervalAfter;
};

struct SpokenAt {
    int64_t at;
    std::string modeId;
    std::string text;
};

class Host : public DrillHost {
    // Declared first: the members below are built on them.
    ReadOut1State& state_;
    const int64_t& now_;

public:
    Host(ReadOut1State& state, const int64_t& now) : state_(state), now_(now) {}

    void MakeNumber() override {
        if (numbers.empty()) throw std::logic_error("no planned number left");
        const std::string d = GroupedDigits(numbers.front());
        numbers.pop_front();
        texts.setCommand2Caption("");
        texts.setCommand1Caption(d);
        texts.setText2Text(d);
        texts.setCommand2Caption(d);
        texts.setText2Text(ThreeDigitRule(d));
        state_.ZeroCount = CountZeros(d);
        log.push_back("make " + d);
    }
    void SpeakEnglish() override {
        speaker.SpeakEnglish();
        Record();
    }
    void SpeakJapanese() override {
        speaker.SpeakJapanese();
        Record();
    }
    void applyDefaultSelection() override {
        if (places.applyDefaultSelection()) log.push_back("default places");
    }
    void focusStartButton(StartButton b) override { log.push_back("focus " + fakes::RecordingView::Name(b)); }
    void ResetStartButtonColors() override { log.push_back("reset colours"); }
    void colourStartButtonPink(StartButton b) override {
        log.push_back("pink " + fakes::RecordingView::Name(b));
    }
    void setCommand3Caption(const std::string& caption) override { command3.push_back(caption); }
    int upDown1Increment() const override { return increment; }

    std::deque<int64_t> numbers;
    fakes::MemoryTexts texts;
    fakes::RecordingCharacter peedy;
    fakes::RecordingBoxes boxes;
    PlaceSelection places{state_, boxes};
    Speaker speaker{state_, texts, peedy, &peedy};
    std::vector<std::string> log;
    std::vector<SpokenAt> spoken;
    std::vector<std::string> command3;
    int increment = kUpDown1Increment;

private:
    void Record() {
        const auto& last = peedy.spoken.back();
        spoken.push_back({now_, last.modeId, last.text});
        log.push_back(std::string(last.modeId == agent::kEnglishModeId ? "en " : "ja ") + last.text);
    }
};

class Rig {
public:
    Rig() {
        timer1.handler = [this] { sequencer.Timer1_Timer(); };
        timer3.handler = [this] { sequencer.Timer3_Timer(); };
        timer4.handler = [this] { sequencer.Timer4_Timer(); };
        // As after start-up: Timer1 and Timer3 stopped, Timer4 enabled without an interval.
        timer1.setInterval(2000);
        timer1.setEnabled(false);
        timer3.setEnabled(false);
    }

    // Fires the timer due first; records which one and the interval it was left with.
    Tick Step() {
        VirtualTimer* next = nullptr;
        for (VirtualTimer* t : {&timer1, &timer3, &timer4})
            if (t->armed() && (next == nullptr || t->deadline() < next->deadline())) next = t;
        if (next == nullptr) throw std::logic_error("no timer armed");
        now = next->deadline();
        next->rearm();
        next->handler();
        ticks.push_back({next->name(), now, next->interval()});
        return ticks.back();
    }

    int ArmedTimers() const {
        int n = 0;
        for (const VirtualTimer* t : {&timer1, &timer3, &timer4}) n += t->armed() ? 1 : 0;
        return n;
    }

    int64_t now = 0;
    ReadOut1State state;
    VirtualTimer timer1{now, "Timer1"}, timer3{now, "Timer3"}, timer4{now, "Timer4"};
    Host host{state, now};
    DrillSequencer sequencer{state, host, host.texts, timer1, timer3, timer4};
    std::vector<Tick> ticks;
};

}  // namespace drill::rig
