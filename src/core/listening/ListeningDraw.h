#pragma once

#include "core/agent/AgentApi.h"
#include "core/drill/NumberGenerator.h"
#include "core/drill/RandomSource.h"
#include "core/drill/ReadOut1State.h"
#include "core/listening/ListeningSession.h"

#include <string>

namespace drill {

// The texts of one test number, held here and never written to a window.
struct ListeningNumber {
    std::string display;   // grouped digits, as the main window would show them
    std::string english;   // the English reading text (the "hundred" form for 100 to 999)
    std::string japanese;  // the Japanese reading text
    std::string Digits() const;
};

// Draws a number with the drill's own generator and the place selection as the main window holds it.
// The main window's state is only read: the draw runs on a copy, with the default places 一, 十, 百
// when no place is selected, and the copy goes with the draw.
ListeningNumber DrawListeningNumber(const ReadOut1State& mainState, RandomSource& random,
                                    const NumberGenerator::Clock& clock = SystemClockReading);

enum class ReadingPace { Normal, Slow };

// Speaking speeds of the slow replay: well below the engines' pace (English about 175, Japanese 195).
inline constexpr int kSlowEnglishSpeed = 100;
inline constexpr int kSlowJapaneseSpeed = 110;

// The text handed to Speak: always the no-balloon form, so the number is never shown before the answer.
std::string ListeningSpeechText(const ListeningNumber& number, ListeningLanguage language, ReadingPace pace);

// Sets the engine of "peedy" for the language and queues one reading on the character.
void ReadListeningNumber(agent::ICharacters& characters, agent::ICharacter& speechChar,
                         const ListeningNumber& number, ListeningLanguage language, ReadingPace pace);

}  // namespace drill
