#pragma once

#include "core/agent/AgentApi.h"
#include "core/drill/NumberTexts.h"
#include "core/drill/ReadOut1State.h"

#include <string>

namespace drill {

// The character looked up before each reading to set its engine.
inline constexpr const char* kCharacterId = "peedy";

// English reading text of a display text: three-character texts (100 to 999) get " hundred ".
std::string ThreeDigitRule(const std::string& text);

// The texts handed to Speak, with the speech-output tags that decide the balloon.
std::string EnglishSpeechText(const std::string& display, const std::string& english, bool balloonOn);
std::string JapaneseSpeechText(const std::string& japanese, bool balloonOn);
// The same at another speed (words per minute) than the drill's own.
std::string JapaneseSpeechText(const std::string& japanese, bool balloonOn, int speed);
// The speech-output tag that sets the speed of what follows it.
std::string SpeedTag(int speed);

// SpeakEnglish / SpeakJapanese: read the number's texts and BalloonOn at each call, set the engine of
// "peedy" anew, and queue one Speak on SpeechChar. They change no field and no control; failures of
// the character propagate to the caller.
class Speaker {
public:
    Speaker(const ReadOut1State& state, const NumberTexts& texts, agent::ICharacters& characters,
            agent::ICharacter* speechChar = nullptr);

    // SpeechChar: the character kept by the window once it is loaded. Speaking without one throws.
    void SetSpeechChar(agent::ICharacter& speechChar) { speechChar_ = &speechChar; }

    void SpeakEnglish();
    void SpeakJapanese();
    // Hands the texts that SpeakEnglish / SpeakJapanese would speak now to the character to be
    // synthesised ahead, with the engine each names; does nothing before SpeechChar is set.
    void prepareReadings(bool english, bool japanese);

private:
    const ReadOut1State& state_;
    const NumberTexts& texts_;
    agent::ICharacters& characters_;
    agent::ICharacter* speechChar_;

    agent::ICharacter& SpeechChar() const;
};

}  // namespace drill
