#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

// Which installed SAPI voice reads which language. SAPI's own attribute filter is not relied on (Wine
// ignores it): each token's Attributes\Language is read from its registry key and parsed here.
namespace win32::agent {

struct VoiceToken {
    std::string id;        // full registry path of the token, as SpObjectToken::SetId takes it
    std::string language;  // Attributes\Language: hexadecimal LANGIDs separated by ';'
};

// The SAPI language id that a TTSModeID names: 0x409 English, 0x411 Japanese; nothing for another id.
std::optional<unsigned> languageOfModeId(std::string_view modeId);

// True when the Language attribute lists lang ("409", "409;9", " 411 ; 11" ...).
bool listsLanguage(std::string_view attribute, unsigned lang);

// The first token, in registry order, whose attribute lists lang.
std::optional<VoiceToken> chooseVoice(const std::vector<VoiceToken>& tokens, unsigned lang);

// SAPI's rate (-10..10) for a \Spd=\ words-per-minute tag; 0 (no tag) keeps the voice's own pace.
long sapiRateForSpeed(int wordsPerMinute);

// The notice for a language without an installed voice, naming where Windows adds voices.
std::string missingVoiceNotice(unsigned lang);

}  // namespace win32::agent
