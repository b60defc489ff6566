#include "agent/speech/EnglishVoices.h"

#include "agent/speech/EnglishNumbers.h"
#include "agent/speech/EspeakEngine.h"
#include "agent/speech/FliteEngine.h"

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

std::vector<SpeechPiece> inWords(const std::vector<SpeechPiece>& pieces) {
    std::vector<SpeechPiece> out = pieces;
    for (auto& piece : out) piece.text = englishNumberWords(piece.text);
    return out;
}

}  // namespace

void EnglishEngine::synthesize(const std::vector<SpeechPiece>& pieces, PcmSink& sink,
                               const std::atomic<bool>& cancel) {
    engineFor(voice_).synthesize(inWords(pieces), sink, cancel);
}

void EnglishEngine::synthesizeNow(const std::vector<SpeechPiece>& pieces, PcmSink& sink,
                                  const std::atomic<bool>& cancel) {
    engineFor(voice_).synthesizeNow(inWords(pieces), sink, cancel);
}

}  // namespace agent::speech
