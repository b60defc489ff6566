#pragma once

// The character's voice: parses speech-output tags, synthesises on a worker thread with the engine
// chosen at queue time, plays the audio one request after another, and reports what the character
// window shows (balloon text, beak opening) while each request plays.

#include "core/agent/AgentApi.h"
#include "core/speech/ModeId.h"

#include <QObject>
#include <QString>

#include <memory>
#include <string>

namespace agent::speech {

class SpeechService : public QObject {
    Q_OBJECT
public:
    ~SpeechService() override;

    // Parse and enqueue only; returns at once. Requests play strictly in the order queued.
    virtual void speak(EngineKind engine, const std::string& taggedText) = 0;
    // Synthesises in the background a text that is about to be spoken, so that a later speak of
    // the same audio (engine, spoken text, speed) plays at once; plays nothing itself.
    virtual void prepare(EngineKind engine, const std::string& taggedText) { (void)engine, (void)taggedText; }
    // The English voice of the readings queued or prepared from now on.
    virtual void setEnglishVoice(EnglishVoice voice) { (void)voice; }
    // Stops playback, drops what is queued and ends every child process; used at exit.
    virtual void shutdown() = 0;

signals:
    // A request began playing; shown is what the balloon shows (empty: show no balloon).
    void requestStarted(const QString& shown);
    // The beak opening for the audio being played now: 0 closed .. 3 wide open.
    void mouthChanged(int opening);
    // The request that last started has finished playing.
    void requestFinished();
    // One clear, non-modal message for the learner, at most once per engine fault.
    void notice(const QString& message);
};

// The real service: flite (eSpeak NG as the fallback) for English, Open JTalk for Japanese,
// libpulse-simple for playback.
std::unique_ptr<SpeechService> createSpeechService(QObject* parent = nullptr);

}  // namespace agent::speech
