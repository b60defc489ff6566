#pragma once

// English through the flite library, one of its US voices, synthesised on the calling thread and
// streamed out as it is produced.

#include "qt/agent/speech/SpeechEngine.h"

#include <string>
#include <vector>

namespace agent::speech {

class FliteEngine : public SpeechEngine {
public:
    // voice: "slt" (female) or "rms" (male). Throws EngineError when flite or the voice is missing.
    explicit FliteEngine(const std::string& voice);
    void synthesize(const std::vector<SpeechPiece>& pieces, PcmSink& sink,
                    const std::atomic<bool>& cancel) override;

    // The words flite's own text analysis finds in text, in order (its Word relation).
    static std::vector<std::string> words(const std::string& voice, const std::string& text);

private:
    std::string voice_;
};

}  // namespace agent::speech
