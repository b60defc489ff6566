#pragma once

// The speech character as the drill uses it: a collection of characters loaded from files,
// each one shown, moved, given a voice and handed texts to speak.
// The real implementation is agent::Agent; tests use recording fakes of these interfaces.

#include <optional>
#include <stdexcept>
#include <string>

namespace agent {

// Every failing operation throws this; start-up turns it into a message box and a non-zero exit.
class AgentError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// Engine mode identifiers handed to TTSModeID.
inline constexpr const char* kEnglishModeId = "{CA141FD0-AC7F-11D1-97A3-006008273001}";
inline constexpr const char* kJapaneseModeId = "{a778e060-a936-11d1-B17B-0020AFED142E}";

// The English voices the learner can choose from; Alternate changes speaker with every number.
enum class EnglishVoice { Female, Male, Espeak, Alternate };

class IBalloon {
public:
    virtual ~IBalloon() = default;
    virtual void setFontSize(int points) = 0;
    virtual int fontSize() const = 0;
};

// The character's window on the screen, in pixels.
struct CharacterBounds {
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;
};

class ICharacter {
public:
    virtual ~ICharacter() = default;
    // Asks for the show animation and returns; the character stays visible afterwards.
    virtual void Show() = 0;
    // Places the character's top-left corner at (x, y) screen pixels; speed 0 moves at once.
    virtual void MoveTo(int x, int y, int speed = 0) = 0;
    // Where the character's window stands now; none when it has no window.
    virtual std::optional<CharacterBounds> Bounds() const { return std::nullopt; }
    virtual IBalloon& Balloon() = 0;
    // Later Speak calls use the engine that this identifier names; an unknown identifier throws.
    virtual void setTTSModeID(const std::string& modeId) = 0;
    virtual std::string TTSModeID() const = 0;
    // Queues the text (UTF-8, with speech-output tags) and returns at once.
    virtual void Speak(const std::string& text) = 0;
    // From now on the balloon shows only this text (the number on the display): a balloon showing
    // another closes at once, and readings of another text queued earlier open none.
    virtual void setBalloonSubject(const std::string& text) { (void)text; }
    // Synthesises ahead, with the engine this identifier names, a text that Speak will soon be
    // handed, so that its audio is ready on time; shows and plays nothing, changes no setting.
    virtual void Prepare(const std::string& modeId, const std::string& text) { (void)modeId, (void)text; }
    // Later English readings, prepared or spoken, use this voice.
    virtual void setEnglishVoice(EnglishVoice voice) { (void)voice; }
};

class ICharacters {
public:
    virtual ~ICharacters() = default;
    // Loads the character file at path and makes it available under id; throws on any fault.
    virtual void Load(const std::string& id, const std::string& path) = 0;
    // The loaded character with this id (compared case-insensitively); throws when there is none.
    virtual ICharacter& Item(const std::string& id) = 0;
};

class IAgent {
public:
    virtual ~IAgent() = default;
    virtual ICharacters& Characters() = 0;
};

}  // namespace agent
