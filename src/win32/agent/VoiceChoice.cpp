#include "win32/agent/VoiceChoice.h"

#include "core/agent/AgentApi.h"

#include <algorithm>
#include <cctype>
#include <cmath>

namespace win32::agent {
namespace {

bool sameIgnoringCase(std::string_view a, std::string_view b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return std::tolower(static_cast<unsigned char>(x)) ==
                      std::tolower(static_cast<unsigned char>(y));
           });
}

// SAPI 5 voices speak about 180 words a minute at rate 0, and each step of rate is a factor of
// 3^(1/10) (rate 10 is three times as fast).
constexpr double kWordsPerMinuteAtRateZero = 180.0;

}  // namespace

std::optional<unsigned> languageOfModeId(std::string_view modeId) {
    if (sameIgnoringCase(modeId, ::agent::kEnglishModeId)) return 0x409;
    if (sameIgnoringCase(modeId, ::agent::kJapaneseModeId)) return 0x411;
    return std::nullopt;
}

bool listsLanguage(std::string_view attribute, unsigned lang) {
    std::size_t start = 0;
    while (start <= attribute.size()) {
        const std::size_t end = std::min(attribute.find(';', start), attribute.size());
        std::string_view item = attribute.substr(start, end - start);
        while (!item.empty() && std::isspace(static_cast<unsigned char>(item.front()))) item.remove_prefix(1);
        while (!item.empty() && std::isspace(static_cast<unsigned char>(item.back()))) item.remove_suffix(1);
        if (!item.empty() && item.size() <= 4 &&
            std::all_of(item.begin(), item.end(),
                        [](char c) { return std::isxdigit(static_cast<unsigned char>(c)); }) &&
            std::stoul(std::string(item), nullptr, 16) == lang)
            return true;
        start = end + 1;
    }
    return false;
}

std::optional<VoiceToken> chooseVoice(const std::vector<VoiceToken>& tokens, unsigned lang) {
    for (const VoiceToken& t : tokens)
        if (listsLanguage(t.language, lang)) return t;
    return std::nullopt;
}

long sapiRateForSpeed(int wordsPerMinute) {
    if (wordsPerMinute <= 0) return 0;
    const double steps = 10.0 * std::log(wordsPerMinute / kWordsPerMinuteAtRateZero) / std::log(3.0);
    return std::clamp(std::lround(steps), -10L, 10L);
}

std::string missingVoiceNotice(unsigned lang) {
    const std::string name = lang == 0x411 ? "日本語" : "英語";
    return name + "の音声がこのパソコンに入っていないため、" + name +
           "は読み上げません。\r\n"
           "音声は Windows の［設定］→［時刻と言語］→［音声認識］（Speech）で追加できます。";
}

}  // namespace win32::agent
