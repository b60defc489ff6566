#pragma once

// English through the eSpeak NG library (voice en-us), synthesised synchronously.

#include "qt/agent/speech/SpeechEngine.h"

namespace agent::speech {

class EspeakEngine : public SpeechEngine {
public:
    // Throws EngineError when eSpeak NG or its en-us voice data cannot be loaded.
    EspeakEngine();
    void synthesize(const std::vector<SpeechPiece>& pieces, PcmSink& sink,
                    const std::atomic<bool>& cancel) override;
    int sampleRate() const { return rate_; }

    // eSpeak's phoneme transcription of text (en-us), to check how a text is read.
    static std::string phonemes(const std::string& text);

private:
    int rate_ = 0;
};

}  // namespace agent::speech
