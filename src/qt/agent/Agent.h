#pragma once

#include "core/agent/AgentApi.h"
#include "qt/agent/speech/SpeechService.h"

#include <QByteArray>
#include <QObject>
#include <QPointer>

#include <memory>
#include <string>
#include <vector>

class QMessageBox;

namespace agent {

class Character;

// The speech character runtime: loads characters from their files, gives each a window and
// a balloon, and lends them one voice. Every failure throws AgentError.
class Agent final : public IAgent, public ICharacters {
public:
    // checkedCharacterFingerprint: see loadCharacterFile.
    explicit Agent(std::unique_ptr<speech::SpeechService> voice, QByteArray checkedCharacterFingerprint = {});
    ~Agent() override;
    Agent(const Agent&) = delete;
    Agent& operator=(const Agent&) = delete;

    ICharacters& Characters() override { return *this; }
    void Load(const std::string& id, const std::string& path) override;
    ICharacter& Item(const std::string& id) override;

    Character* find(const std::string& id);
    // Between these, a character's Show() waits: start-up shows the character only once its own window
    // is painted, as drawing the first frames took the CPU from the window manager mapping that window.
    void holdShows();
    void releaseShows();

private:
    void connectVoice();
    void showNotice(const QString& message);

    // Declared first so that it is destroyed last; shutdown() runs before anything else goes.
    std::unique_ptr<speech::SpeechService> voice_;
    std::vector<std::unique_ptr<Character>> characters_;
    // The character whose text the voice plays (the last to speak, else the first loaded);
    // the voice reports nothing about who asked.
    Character* speaker_ = nullptr;
    std::vector<QPointer<QMessageBox>> notices_;
    QByteArray checkedCharacterFingerprint_;
    bool showsHeld_ = false;
    // Receives the voice's signals; destroyed first, so no signal reaches a dead character.
    std::unique_ptr<QObject> listener_;
};

}  // namespace agent
