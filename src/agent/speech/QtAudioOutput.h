#pragma once

// AudioOutput on the default device through QAudioSink in push mode.
//
// The device streams outlive the requests: one QAudioSink per engine rate is opened on first use and
// kept open, idle, between requests. Opening a PulseAudio stream per request cost a reconnect each
// time, and a sink whose latency had grown while no stream was connected (the null sink renders up
// to 2 s ahead and cannot rewind it) held a freshly connected stream for up to that long.

#include "agent/speech/AudioOutput.h"
#include "agent/speech/Resampler.h"

#include <QAudioFormat>
#include <QAudioSink>
#include <QByteArray>
#include <QElapsedTimer>

#include <map>
#include <memory>

class QIODevice;

namespace agent::speech {

// The open device streams, shared by the requests of one service (GUI thread only).
class QtAudioStreams {
public:
    struct Stream {
        std::unique_ptr<QAudioSink> sink;
        QIODevice* io = nullptr;
        QAudioFormat format;
    };
    QtAudioStreams() = default;
    QtAudioStreams(const QtAudioStreams&) = delete;
    QtAudioStreams& operator=(const QtAudioStreams&) = delete;
    ~QtAudioStreams();
    // The open stream for PCM at this rate, opened now if there is none or it has failed.
    Stream* open(int sampleRate);
    // Stops a stream at once, dropping what it still holds; the next request restarts it.
    // Sinks are destroyed only with this object: PulseAudio can call back into a stopped sink.
    void close(int sampleRate);

private:
    std::map<int, Stream> streams_;
};

class QtAudioOutput : public AudioOutput {
public:
    explicit QtAudioOutput(std::shared_ptr<QtAudioStreams> streams);
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
    bool allPlayed() const;
    std::shared_ptr<QtAudioStreams> streams_;
    QtAudioStreams::Stream* stream_ = nullptr;
    int rate_ = 0;
    Resampler resampler_;
    QByteArray queued_;
    int64_t queuedFrames_ = 0;  // every device frame of this request ever queued, padding included
    int64_t baseUs_ = 0;        // the stream's position when this request began
    bool finished_ = false;
    bool wroteAny_ = false;
    int64_t lastPlayed_ = 0;
    QElapsedTimer sinceProgress_;
};

}  // namespace agent::speech
