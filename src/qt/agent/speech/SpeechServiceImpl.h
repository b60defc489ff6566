#pragma once

#include "core/speech/LipSync.h"
#include "qt/agent/speech/EnglishVoices.h"
#include "qt/agent/speech/SpeechCache.h"
#include "qt/agent/speech/SpeechServiceConfig.h"
#include "qt/agent/speech/SynthesisWorker.h"

#include <QElapsedTimer>
#include <QTimer>

#include <deque>
#include <optional>

namespace agent::speech {

// Parses and queues on the caller's (GUI) thread, synthesises on each voice's own lane, and hands
// the audio to the output from a short timer on the GUI thread, one request after another; the
// output's device thread plays it on from there.
class SpeechServiceImpl final : public SpeechService {
    Q_OBJECT
public:
    SpeechServiceImpl(SpeechServiceConfig config, QObject* parent);
    ~SpeechServiceImpl() override;
    void speak(EngineKind engine, const std::string& taggedText) override;
    void prepare(EngineKind engine, const std::string& taggedText) override;
    void shutdown() override;
    void setEnglishVoice(EnglishVoice voice) override { voices_.choose(voice); }

private:
    struct Request {
        std::shared_ptr<PcmStream> stream;
        QString shown;
        qint64 stallAtQueue = 0;  // deviceStallMs() when it was queued
    };
    enum class Phase { Waiting, Playing, Draining, Holding };

    void tick();
    bool startPlaying();  // false: the request was skipped
    void feed();
    void updateMouth();
    void setMouth(int opening);
    std::shared_ptr<PcmStream> synthesise(EngineKind engine, std::vector<SpeechPiece> pieces, bool now);
    void onFault(EngineKind engine, const QString& message);
    void onDevice(DeviceEvent event);
    void stopAll(bool announce);
    // Milliseconds so far during which a playing output made no progress (beyond a short grace).
    qint64 deviceStallMs() const;
    void watchProgress();
    void drop(const char* why);

    SpeechServiceConfig config_;
    std::unique_ptr<SynthesisWorker> lanes_[2];
    SpeechCache cache_;
    EnglishVoicePicker voices_;
    std::deque<Request> queue_;
    std::optional<Request> current_;
    Phase phase_ = Phase::Waiting;
    std::unique_ptr<AudioOutput> output_;
    std::unique_ptr<MouthEnvelope> envelope_;
    std::vector<int16_t> pcm_;
    size_t written_ = 0;
    bool started_ = false;
    QTimer timer_;
    QElapsedTimer hold_;
    QElapsedTimer clock_;
    qint64 stallMs_ = 0;  // closed stalls
    bool watching_ = false;
    int64_t lastPlayedUs_ = 0;
    qint64 lastProgressMs_ = 0;
    int mouth_ = 0;
    bool noticed_[2] = {false, false};
    bool deviceLost_ = false;
    bool down_ = false;
};

}  // namespace agent::speech
