#pragma once

// Building a SpeechService from chosen parts: tests pass fake engines and outputs.

#include "qt/agent/speech/AudioOutput.h"
#include "qt/agent/speech/SpeechEngine.h"
#include "qt/agent/speech/SpeechService.h"

namespace agent::speech {

struct SpeechServiceConfig {
    EngineFactory english;
    EngineFactory japanese;
    AudioOutputFactory output;
    DeviceWatch watchDevice;  // optional: where the output's device reports its losses
    int tickMs = 10;          // player clock: feeds the device and moves the beak
    int balloonHoldMs = 150;  // the balloon stays this long after the audio ends
    // A reading the device has held up this long since it was queued (it stalled or went away) is
    // out of step with the drill: it is dropped, with its balloon. One held up less gives way to
    // the next as soon as that is queued, so the next starts on its own tick.
    int lateStartMs = 1000;
};

// flite and eSpeak NG, Open JTalk at their Debian locations, and the default audio output.
SpeechServiceConfig defaultSpeechServiceConfig();

std::unique_ptr<SpeechService> createSpeechService(SpeechServiceConfig config, QObject* parent = nullptr);

}  // namespace agent::speech
