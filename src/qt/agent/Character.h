#pragma once

#include "core/agent/AgentApi.h"
#include "qt/agent/character/CharacterFormat.h"
#include "qt/agent/speech/SpeechService.h"

#include <QString>

#include <functional>
#include <memory>
#include <string>

namespace agent {

class BalloonWindow;
class CharacterWindow;

// One loaded character: its window, its balloon and its choice of voice.
class Character final : public ICharacter {
public:
    // onSpeak runs before each text is handed to the voice, so the owner knows who is talking.
    Character(const character::CharacterData& data, speech::SpeechService& voice,
              std::function<void(Character&)> onSpeak);
    ~Character() override;
    Character(const Character&) = delete;
    Character& operator=(const Character&) = delete;

    void Show() override;
    // While held, a Show() is kept until releaseShow(); a text to speak releases it at once.
    void holdShow() { showHeld_ = true; }
    void releaseShow();
    void MoveTo(int x, int y, int speed = 0) override;
    std::optional<CharacterBounds> Bounds() const override;
    IBalloon& Balloon() override;
    void setTTSModeID(const std::string& modeId) override;
    std::string TTSModeID() const override { return modeId_; }
    void Speak(const std::string& text) override;
    void setBalloonSubject(const std::string& text) override;
    void Prepare(const std::string& modeId, const std::string& text) override;
    void setEnglishVoice(EnglishVoice voice) override { voice_.setEnglishVoice(voice); }

    // What the voice reports while one of this character's texts plays.
    void speechStarted(const QString& shown);
    void speechFinished();
    void beakOpened(int opening);

    const QString& id() const { return id_; }
    CharacterWindow& window() { return *window_; }
    BalloonWindow& balloon() { return *balloon_; }

private:
    QRect windowRect() const;
    QPoint beakOnScreen() const;

    QString id_;
    speech::SpeechService& voice_;
    std::function<void(Character&)> onSpeak_;
    std::unique_ptr<CharacterWindow> window_;
    std::unique_ptr<BalloonWindow> balloon_;
    QString balloonSubject_;  // empty: any text may show
    bool showHeld_ = false;
    bool showPending_ = false;
    std::string modeId_ = kEnglishModeId;
    speech::EngineKind engine_ = speech::EngineKind::English;
};

}  // namespace agent
