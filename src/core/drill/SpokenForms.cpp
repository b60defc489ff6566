#include "core/drill/SpokenForms.h"

namespace drill {

namespace {

const std::string kMapOpen = "\\Map=\"";
const std::string kMapMiddle = "\"=\"";
const std::string kMapClose = "\"\\";
const std::string kEmailContext = "\\Ctx=\"E-mail\"\\";
constexpr int kJapaneseSpeed = 195;

std::string SilentBalloon(const std::string& spoken) {
    return kMapOpen + spoken + kMapMiddle + kMapClose;
}

}  // namespace

std::string ThreeDigitRule(const std::string& text) {
    if (TextLength(text) != 3 || text.size() != 3) return text;
    const char a = text[0];
    const char b = text[1];
    const char c = text[2];
    if (b == '0' && c == '0') return std::string(1, a) + " hundred ";
    if (b == '0') return std::string(1, a) + " hundred " + c;
    return std::string(1, a) + " hundred " + b + c;
}

std::string EnglishSpeechText(const std::string& display, const std::string& english, bool balloonOn) {
    if (!balloonOn) return SilentBalloon(english);
    if (TextLength(display) == 3) return kMapOpen + english + kMapMiddle + display + kMapClose;
    return kEmailContext + english;
}

std::string SpeedTag(int speed) {
    return "\\Spd=" + std::to_string(speed) + "\\";
}

std::string JapaneseSpeechText(const std::string& japanese, bool balloonOn) {
    return JapaneseSpeechText(japanese, balloonOn, kJapaneseSpeed);
}

std::string JapaneseSpeechText(const std::string& japanese, bool balloonOn, int speed) {
    return SpeedTag(speed) + (balloonOn ? japanese : SilentBalloon(japanese));
}

Speaker::Speaker(const ReadOut1State& state, const NumberTexts& texts, agent::ICharacters& characters,
                 agent::ICharacter* speechChar)
    : state_(state), texts_(texts), characters_(characters), speechChar_(speechChar) {}

agent::ICharacter& Speaker::SpeechChar() const {
    if (speechChar_ == nullptr) throw agent::AgentError("SpeechChar is not set");
    return *speechChar_;
}

void Speaker::SpeakEnglish() {
    const std::string english = texts_.text2Text();
    characters_.Item(kCharacterId).setTTSModeID(agent::kEnglishModeId);
    SpeechChar().Speak(EnglishSpeechText(texts_.command1Caption(), english, state_.BalloonOn));
}

void Speaker::SpeakJapanese() {
    const std::string japanese = texts_.command2Caption();
    characters_.Item(kCharacterId).setTTSModeID(agent::kJapaneseModeId);
    SpeechChar().Speak(JapaneseSpeechText(japanese, state_.BalloonOn));
}

void Speaker::prepareReadings(bool english, bool japanese) {
    if (speechChar_ == nullptr) return;
    // The very texts the Speak calls build, so the prepared audio is the audio asked for; a balloon
    // change before the reading changes only the shown text, which the audio does not depend on.
    if (english) {
        speechChar_->Prepare(agent::kEnglishModeId, EnglishSpeechText(texts_.command1Caption(),
                                                                      texts_.text2Text(), state_.BalloonOn));
    }
    if (japanese)
        speechChar_->Prepare(agent::kJapaneseModeId,
                             JapaneseSpeechText(texts_.command2Caption(), state_.BalloonOn));
}

}  // namespace drill
