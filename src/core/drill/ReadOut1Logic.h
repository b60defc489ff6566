#pragma once

#include "core/agent/AgentApi.h"
#include "core/drill/DrillSequencer.h"
#include "core/drill/NumberGenerator.h"
#include "core/drill/NumberTexts.h"
#include "core/drill/PlaceSelection.h"
#include "core/drill/RandomSource.h"
#include "core/drill/ReadOut1State.h"
#include "core/drill/SpokenForms.h"
#include "platform/Timer.h"

#include <memory>

namespace drill {

// The controls of ReadOut1 that the logic reads and writes, all implemented by the window.
struct ReadOut1Controls {
    NumberTexts& texts;
    PlaceBoxView& placeBoxes;
    DrillView& view;
    agent::ICharacters& characters;
    platform::ITimer& timer1;
    platform::ITimer& timer3;
    platform::ITimer& timer4;
};

// All drill logic of the main window wired together: the window forwards its events to the
// handlers here and implements ReadOut1Controls over its widgets.
class ReadOut1Logic {
public:
    // random: nullptr gives a xoshiro256** generator seeded from the clock.
    explicit ReadOut1Logic(const ReadOut1Controls& controls, std::unique_ptr<RandomSource> random = nullptr,
                           NumberGenerator::Clock clock = SystemClockReading);
    ~ReadOut1Logic();
    ReadOut1Logic(const ReadOut1Logic&) = delete;
    ReadOut1Logic& operator=(const ReadOut1Logic&) = delete;

    ReadOut1State& State() { return state_; }
    PlaceSelection& Places() { return places_; }
    NumberGenerator& Generator() { return generator_; }
    Speaker& Speech() { return speaker_; }
    DrillSequencer& Sequencer() { return sequencer_; }

    void SetSpeechChar(agent::ICharacter& speechChar) { speaker_.SetSpeechChar(speechChar); }

private:
    class Host;

    ReadOut1State state_;
    std::unique_ptr<RandomSource> random_;
    PlaceSelection places_;
    NumberGenerator generator_;
    Speaker speaker_;
    std::unique_ptr<Host> host_;
    DrillSequencer sequencer_;
};

}  // namespace drill
