#pragma once

// AudioOutput on the default device through QAudioSink in push mode.

#include "agent/speech/AudioOutput.h"
#include "agent/speech/Resampler.h"

#include <QAudioFormat>
#include <QByteArray>
#include <QElapsedTimer>

#include <memory>

class QAudioSink;
class QIODevice;

namespace agent::speech {

class QtAudioOutput : public AudioOutput {
public:
    QtAudioOutput();
    ~QtAudioOutput() override;
    bool start(int sampleRate) override;
    void write(const int16_t* samples, size_t count) override;
    void pump() override;
    void finishInput() override;
    int64_t playedUs() const override;
    bool drained() const override;
    void stop() override;

private:
    void append(const std::vector<float>& mono);
    std::unique_ptr<QAudioSink> sink_;
    QIODevice* io_ = nullptr;
    QAudioFormat format_;
    Resampler resampler_;
    QByteArray queued_;
    int64_t queuedFrames_ = 0;  // every device frame ever queued, padding included
    bool finished_ = false;
    int64_t lastPlayed_ = 0;
    QElapsedTimer sinceProgress_;
};

}  // namespace agent::speech
