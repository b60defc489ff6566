#pragma once

// A deterministic stand-in engine: every character becomes a fixed stretch of sound (a space,
// silence), so durations and loudness are known in advance. Records what it was handed.

#include "qt/agent/speech/SpeechEngine.h"

#include <mutex>

namespace agent::speech {

struct FakeEngineScript {
    int sampleRate = 16000;
    int msPerChar = 40;  // at the engine's own pace; \Spd scales it like words per minute over 150
    int amplitude = 12000;
    int delayMs = 0;       // before the first audio, as a slow engine would
    std::string failWith;  // when set, every synthesis throws EngineError with this message
};

class FakeEngineLog {
public:
    void add(std::vector<SpeechPiece> pieces);
    std::vector<std::vector<SpeechPiece>> calls() const;

private:
    mutable std::mutex mutex_;
    std::vector<std::vector<SpeechPiece>> calls_;
};

class FakeEngine : public SpeechEngine {
public:
    FakeEngine(FakeEngineScript script, std::shared_ptr<FakeEngineLog> log);
    void synthesize(const std::vector<SpeechPiece>& pieces, PcmSink& sink,
                    const std::atomic<bool>& cancel) override;

    // The exact number of samples a text takes at a speed.
    static size_t samplesFor(const FakeEngineScript& script, const std::string& text, int speedWpm);

private:
    FakeEngineScript script_;
    std::shared_ptr<FakeEngineLog> log_;
};

}  // namespace agent::speech
