#include "qt/agent/speech/EnglishVoices.h"

#include "core/speech/EnglishNumbers.h"
#include "core/speech/Wav.h"
#include "qt/agent/speech/EspeakEngine.h"
#include "qt/agent/speech/FliteEngine.h"

#include <algorithm>

#include <cstdio>

namespace agent::speech {

std::string EnglishVoicePicker::voiceFor(const std::string& spokenText) {
    switch (choice_) {
        case EnglishVoice::Female:
            return kFemaleVoice;
        case EnglishVoice::Male:
            return kMaleVoice;
        case EnglishVoice::Espeak:
            return kEspeakVoice;
        case EnglishVoice::Alternate:
            break;
    }
    if (!any_ || spokenText != lastText_) {
        male_ = !male_;
        lastText_ = spokenText;
        any_ = true;
    }
    return male_ ? kMaleVoice : kFemaleVoice;
}

EnglishEngine::EnglishEngine(VoiceFactory factory) : factory_(std::move(factory)) {}

VoiceFactory EnglishEngine::defaultVoiceFactory() {
    return [](const std::string& voice) -> std::unique_ptr<SpeechEngine> {
        if (voice == kEspeakVoice) return std::make_unique<EspeakEngine>();
        return std::make_unique<FliteEngine>(voice);
    };
}

SpeechEngine& EnglishEngine::engineFor(const std::string& voice) {
    const std::string name = missing_.count(voice) ? kEspeakVoice : voice;
    if (auto it = engines_.find(name); it != engines_.end()) return *it->second;
    try {
        return *(engines_[name] = factory_(name));
    } catch (const EngineError& e) {
        engines_.erase(name);
        if (name == kEspeakVoice) throw;
        // A missing flite voice is not the learner's fault to mend: eSpeak NG reads instead.
        std::fprintf(stderr, "speech: %s; English falls back to eSpeak NG\n", e.what());
        missing_.insert(name);
        return engineFor(kEspeakVoice);
    }
}

namespace {

// The pace a speed tag is measured against for both engines: their own, unstretched.
constexpr double kOwnWpm = 175.0;
// Faster than this a reading loses more than it gains: it overruns instead.
constexpr double kMostSpeedUp = 1.8;

std::vector<SpeechPiece> inWords(const std::vector<SpeechPiece>& pieces) {
    std::vector<SpeechPiece> out = pieces;
    for (auto& piece : out) piece.text = englishNumberWords(piece.text);
    return out;
}

}  // namespace

void EnglishEngine::read(const std::vector<SpeechPiece>& pieces, PcmSink& sink,
                         const std::atomic<bool>& cancel, bool now) {
    SpeechEngine& engine = engineFor(voice_);
    std::vector<SpeechPiece> words = inWords(pieces);
    std::string spoken;
    bool ownPace = true;
    for (const auto& piece : pieces) {
        spoken += piece.text;
        ownPace = ownPace && piece.speedWpm == 0;
    }
    PcmCollector pcm;
    if (now)
        engine.synthesizeNow(words, pcm, cancel);
    else
        engine.synthesize(words, pcm, cancel);
    const auto trim = [&pcm] {
        const size_t end = trailingSilenceStart(pcm.samples.data(), pcm.samples.size(), pcm.sampleRate);
        pcm.samples.resize(end);
        const size_t begin = leadingSilenceEnd(pcm.samples.data(), pcm.samples.size(), pcm.sampleRate);
        pcm.samples.erase(pcm.samples.begin(), pcm.samples.begin() + std::ptrdiff_t(begin));
        // The engine's room tone must not end in a click where it is cut: fade the kept edges.
        const size_t n = pcm.samples.size();
        const size_t fade = std::min(n / 2, size_t(pcm.sampleRate) * 30 / 1000);
        for (size_t i = 0; i < fade; ++i) {
            const double gain = double(i) / double(fade);
            pcm.samples[i] = int16_t(pcm.samples[i] * gain);
            pcm.samples[n - 1 - i] = int16_t(pcm.samples[n - 1 - i] * gain);
        }
    };
    trim();
    // Only a number at the engine's own pace has a wait to fit; a learner's speed tag stands.
    const int budgetMs = ownPace ? englishReadingBudgetMs(spoken) : 0;
    const double ms = pcm.seconds() * 1000.0;
    if (budgetMs > 0 && ms > budgetMs && !cancel) {
        const double speedUp = std::min(kMostSpeedUp, ms / budgetMs * 1.03);
        for (auto& piece : words) piece.speedWpm = int(kOwnWpm * speedUp + 0.5);
        pcm = PcmCollector();
        engine.synthesize(words, pcm, cancel);
        trim();
    }
    if (cancel || pcm.samples.empty()) return;
    sink.pcm(pcm.sampleRate, pcm.samples.data(), pcm.samples.size());
}

void EnglishEngine::synthesize(const std::vector<SpeechPiece>& pieces, PcmSink& sink,
                               const std::atomic<bool>& cancel) {
    read(pieces, sink, cancel, false);
}

void EnglishEngine::synthesizeNow(const std::vector<SpeechPiece>& pieces, PcmSink& sink,
                                  const std::atomic<bool>& cancel) {
    read(pieces, sink, cancel, true);
}

}  // namespace agent::speech
