#include "core/listening/ListeningDraw.h"

#include "core/drill/NumberTexts.h"
#include "core/drill/PlaceSelection.h"
#include "core/drill/SpokenForms.h"

namespace drill {

namespace {

// The copy's boxes are never shown anywhere.
class NoBoxes final : public PlaceBoxView {
public:
    void setPlaceBoxTicked(PlaceColumn, int, bool) override {}
};

}  // namespace

std::string ListeningNumber::Digits() const {
    std::string digits;
    for (char c : display)
        if (c >= '0' && c <= '9') digits += c;
    return digits;
}

ListeningNumber DrawListeningNumber(const ReadOut1State& mainState, RandomSource& random,
                                    const NumberGenerator::Clock& clock) {
    ReadOut1State copy;
    copy.DigitFlags = mainState.DigitFlags;
    copy.RangeFlags = mainState.RangeFlags;
    copy.PlaceMode = mainState.PlaceMode;
    // Nothing usable in the column the main window reads: the start buttons' default, 一, 十, 百.
    if (FlagSum(ActivePlaceFlags(copy)) == 0) {
        copy.DigitFlags = {};
        copy.RangeFlags = {};
    }
    NoBoxes boxes;
    PlaceSelection places(copy, boxes);
    HeldTexts texts;
    NumberGenerator generator(copy, places, texts, random, clock);
    generator.MakeNumber();
    return {texts.display, texts.english, texts.japanese};
}

std::string ListeningSpeechText(const ListeningNumber& number, ListeningLanguage language, ReadingPace pace) {
    const bool slow = pace == ReadingPace::Slow;
    if (language == ListeningLanguage::English) {
        const std::string text = EnglishSpeechText(number.display, number.english, false);
        return slow ? SpeedTag(kSlowEnglishSpeed) + text : text;
    }
    return slow ? JapaneseSpeechText(number.japanese, false, kSlowJapaneseSpeed)
                : JapaneseSpeechText(number.japanese, false);
}

void ReadListeningNumber(agent::ICharacters& characters, agent::ICharacter& speechChar,
                         const ListeningNumber& number, ListeningLanguage language, ReadingPace pace) {
    characters.Item(kCharacterId)
        .setTTSModeID(language == ListeningLanguage::English ? agent::kEnglishModeId
                                                             : agent::kJapaneseModeId);
    speechChar.Speak(ListeningSpeechText(number, language, pace));
}

}  // namespace drill
