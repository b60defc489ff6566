#pragma once

// The seam between the speech queue and a synthesiser: text in, mono 16-bit PCM out.

#include "core/speech/SpeechTags.h"

#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

namespace agent::speech {

// A fault the learner can act on; what() is the message shown to them.
class EngineError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// Receives the audio as it is produced; every call of one synthesis has the same rate.
class PcmSink {
public:
    virtual ~PcmSink() = default;
    virtual void pcm(int sampleRate, const int16_t* samples, size_t count) = 0;
};

class SpeechEngine {
public:
    virtual ~SpeechEngine() = default;
    // Synthesises the pieces in order, feeding sink; returns early once cancel is set.
    // Throws EngineError when the engine cannot speak.
    virtual void synthesize(const std::vector<SpeechPiece>& pieces, PcmSink& sink,
                            const std::atomic<bool>& cancel) = 0;
    // The same for audio wanted at once rather than ahead of its turn: an engine may hand over its
    // first audio sooner at a small cost to the pace.
    virtual void synthesizeNow(const std::vector<SpeechPiece>& pieces, PcmSink& sink,
                               const std::atomic<bool>& cancel) {
        synthesize(pieces, sink, cancel);
    }
    // The voice the following syntheses use, for an engine that has several; others ignore it.
    virtual void useVoice(const std::string& voice) { (void)voice; }
};

// Builds an engine on the synthesis thread; throws EngineError when it is not installed.
using EngineFactory = std::function<std::unique_ptr<SpeechEngine>()>;

// Collects the whole synthesis; handy for tests and measurements.
class PcmCollector : public PcmSink {
public:
    void pcm(int rate, const int16_t* s, size_t n) override {
        sampleRate = rate;
        samples.insert(samples.end(), s, s + n);
    }
    double seconds() const { return sampleRate ? double(samples.size()) / sampleRate : 0.0; }
    int sampleRate = 0;
    std::vector<int16_t> samples;
};

}  // namespace agent::speech
