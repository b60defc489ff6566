#pragma once

// In-memory stand-ins for the window's controls, the timers and the speech character.

#include "FakeTimer.h"
#include "core/agent/AgentApi.h"
#include "core/drill/DrillSequencer.h"
#include "core/drill/NumberTexts.h"
#include "core/drill/PlaceSelection.h"
#include "core/drill/RandomSource.h"
#include "platform/Timer.h"

#include <array>
#include <cctype>
#include <deque>
#include <initializer_list>
#include <optional>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

namespace drill::fakes {

// Keeps the three texts and records every write as "Control=text".
class MemoryTexts : public NumberTexts {
public:
    std::string command1Caption() const override { return command1; }
    void setCommand1Caption(const std::string& text) override { Write("Command1", command1, text); }
    std::string command2Caption() const override { return command2; }
    void setCommand2Caption(const std::string& text) override { Write("Command2", command2, text); }
    std::string text2Text() const override { return text2; }
    void setText2Text(const std::string& text) override { Write("Text2", text2, text); }

    std::string command1, command2, text2;
    std::vector<std::string> writes;

private:
    void Write(const char* control, std::string& field, const std::string& text) {
        field = text;
        writes.push_back(std::string(control) + "=" + text);
    }
};

struct BoxChange {
    PlaceColumn column;
    int index;
    bool ticked;
    friend bool operator==(const BoxChange&, const BoxChange&) = default;
};

class RecordingBoxes : public PlaceBoxView {
public:
    void setPlaceBoxTicked(PlaceColumn column, int index, bool ticked) override {
        changes.push_back({column, index, ticked});
        (column == PlaceColumn::Check1 ? check1 : check2)[index] = ticked;
    }
    std::vector<BoxChange> changes;
    // The window's boxes as last reported.
    std::array<bool, kPlaceCount + 1> check1{}, check2{};
};

// Records interval and enabled changes; setInterval restarts the countdown like a window timer.
using FakeTimer = tvx::test::FakeTimer;

struct Spoken {
    std::string modeId;
    std::string text;
    friend bool operator==(const Spoken&, const Spoken&) = default;
};

// A character that records each Speak with the engine set at that moment.
class RecordingCharacter : public agent::ICharacter, public agent::ICharacters {
public:
    class NullBalloon : public agent::IBalloon {
    public:
        void setFontSize(int points) override { size_ = points; }
        int fontSize() const override { return size_; }

    private:
        int size_ = 0;
    };

    void Show() override {}
    // Stands where it was last moved, as a window of a fixed size.
    void MoveTo(int x, int y, int) override { at = agent::CharacterBounds{x, y, 128, 128}; }
    std::optional<agent::CharacterBounds> Bounds() const override { return at; }
    agent::IBalloon& Balloon() override { return balloon_; }
    void setTTSModeID(const std::string& modeId) override {
        if (rejectMode == modeId) throw agent::AgentError("no engine for " + modeId);
        ++modeSets;
        mode_ = modeId;
    }
    std::string TTSModeID() const override { return mode_; }
    void Speak(const std::string& text) override {
        if (failSpeak) throw agent::AgentError("Speak refused");
        spoken.push_back({mode_, text});
        calls.push_back("speak " + text);
    }
    void Prepare(const std::string& modeId, const std::string& text) override {
        prepared.push_back({modeId, text});
        calls.push_back("prepare " + text);
    }

    void Load(const std::string&, const std::string&) override {}
    agent::ICharacter& Item(const std::string& id) override {
        std::string lower;
        for (char c : id) lower += static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
        if (lower != "peedy") throw agent::AgentError("no character " + id);
        ++lookups;
        return *this;
    }

    std::optional<agent::CharacterBounds> at;
    std::vector<Spoken> spoken;
    std::vector<Spoken> prepared;
    std::vector<std::string> calls;  // "speak <text>" / "prepare <text>", in order
    int modeSets = 0;
    int lookups = 0;
    std::string rejectMode;
    bool failSpeak = false;

private:
    NullBalloon balloon_;
    std::string mode_;
};

// Hands out planned values of r; repeats the last one when the plan runs out.
class ScriptedRandom : public RandomSource {
public:
    explicit ScriptedRandom(std::deque<double> plan) : plan_(std::move(plan)) {}
    double Next() override {
        if (plan_.empty()) return last_;
        last_ = plan_.front();
        plan_.pop_front();
        return last_;
    }
    void Reseed(uint64_t clock) override { reseeds.push_back(clock); }

    std::vector<uint64_t> reseeds;

private:
    std::deque<double> plan_;
    double last_ = 0.0;
};

// The values ScriptedRandom hands out to draw these three-digit numbers in turn: each draw takes
// fifteen values, and with the default places only the first three count.
inline std::deque<double> plannedDigits(std::initializer_list<int> numbers) {
    std::deque<double> plan;
    for (int n : numbers) {
        plan.push_back((n % 10) / 10.0 + 0.05);
        plan.push_back((n / 10 % 10) / 10.0 + 0.05);
        plan.push_back((n / 100 % 10) / 10.0 + 0.05);
        for (int p = 4; p <= 15; ++p) plan.push_back(0.0);
    }
    return plan;
}

// The window side of the sequencer: records focus, colours and the gap caption.
class RecordingView : public DrillView {
public:
    void focusStartButton(StartButton button) override { events.push_back("focus " + Name(button)); }
    void ResetStartButtonColors() override { events.push_back("reset colours"); }
    void colourStartButtonPink(StartButton button) override { events.push_back("pink " + Name(button)); }
    void setCommand3Caption(const std::string& caption) override { command3 = caption; }
    int upDown1Increment() const override { return increment; }

    static std::string Name(StartButton button) {
        return "Command" + std::to_string(static_cast<int>(button));
    }

    std::vector<std::string> events;
    std::string command3 = "日 - 英 の間隔を長くする／縮める";
    int increment = kUpDown1Increment;
};

}  // namespace drill::fakes
