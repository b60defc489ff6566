#pragma once

#include "core/agent/AgentApi.h"
#include "win32/agent/CharacterView.h"
#include "win32/agent/VoiceChoice.h"

#include <windows.h>

#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

struct ISpVoice;

namespace win32::agent {

// The installed voices, read from HKLM\SOFTWARE\Microsoft\Speech\Voices\Tokens.
std::vector<VoiceToken> installedVoices();

// The drill's speech character on Windows: our parrot's window (CharacterView) and SAPI 5 for the
// voice. Speak queues asynchronously and in order and never waits. The owner window passes
// kSpeechEventMessage on to speechEvents().
class SapiAgent : public ::agent::IAgent, private ::agent::ICharacters {
public:
    static constexpr UINT kSpeechEventMessage = WM_APP + 0x72;
    using Notice = std::function<void(const std::string&)>;
    using ViewLoader = std::function<std::unique_ptr<CharacterView>(const std::string& path, HWND owner)>;

    // notice: shows a message to the learner once (a language without a voice).
    SapiAgent(HWND owner, Notice notice, ViewLoader loader = loadCharacterView);
    ~SapiAgent() override;

    ::agent::ICharacters& Characters() override { return *this; }

    // SAPI's queued events: balloon and beak follow the stream being spoken.
    void speechEvents();

private:
    class Character;
    void Load(const std::string& id, const std::string& path) override;
    ::agent::ICharacter& Item(const std::string& id) override;

    HWND owner_;
    Notice notice_;
    ViewLoader loader_;
    bool comStarted_ = false;
    std::map<std::string, std::unique_ptr<Character>> characters_;
};

}  // namespace win32::agent
