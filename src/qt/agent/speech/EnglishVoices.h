#pragma once

// The English voices behind the one English engine mode: the learner's choice decides which voice
// reads each number, and every reading is handed to its voice as words, never as digits.

#include "core/agent/AgentApi.h"
#include "qt/agent/speech/SpeechEngine.h"

#include <functional>
#include <map>
#include <memory>
#include <set>
#include <string>

namespace agent::speech {

inline constexpr const char* kFemaleVoice = "slt";
inline constexpr const char* kMaleVoice = "rms";
inline constexpr const char* kEspeakVoice = "espeak";

// Which voice reads an English text. Alternate changes speaker at each new number, so both
// readings of one number (prepared, spoken, spoken again) share a voice.
class EnglishVoicePicker {
public:
    void choose(EnglishVoice choice) { choice_ = choice; }
    EnglishVoice choice() const { return choice_; }
    std::string voiceFor(const std::string& spokenText);

private:
    EnglishVoice choice_ = EnglishVoice::Female;
    std::string lastText_;
    bool male_ = true;  // the speaker of lastText_ under Alternate; the first number gets the female
    bool any_ = false;
};

// Builds the engine of one voice name; throws EngineError when that voice is not installed.
using VoiceFactory = std::function<std::unique_ptr<SpeechEngine>(const std::string& voice)>;

// The English lane's engine: turns number texts into words and hands them to the voice last chosen
// by useVoice, built on first use. A flite voice that cannot be built gives way to eSpeak NG.
// A number read at the voice's own pace that would not end 300 ms before the drill's next step is
// read again just fast enough to; the silence around the voice is cut.
class EnglishEngine : public SpeechEngine {
public:
    explicit EnglishEngine(VoiceFactory factory = defaultVoiceFactory());
    void useVoice(const std::string& voice) override { voice_ = voice; }
    void synthesize(const std::vector<SpeechPiece>& pieces, PcmSink& sink,
                    const std::atomic<bool>& cancel) override;
    void synthesizeNow(const std::vector<SpeechPiece>& pieces, PcmSink& sink,
                       const std::atomic<bool>& cancel) override;

    // flite for "slt" and "rms", eSpeak NG en-us for "espeak".
    static VoiceFactory defaultVoiceFactory();

private:
    SpeechEngine& engineFor(const std::string& voice);
    void read(const std::vector<SpeechPiece>& pieces, PcmSink& sink, const std::atomic<bool>& cancel,
              bool now);

    VoiceFactory factory_;
    std::string voice_ = kFemaleVoice;
    std::map<std::string, std::unique_ptr<SpeechEngine>> engines_;
    std::set<std::string> missing_;
};

}  // namespace agent::speech
