#include "agent/speech/AudioOutput.h"

#include "agent/speech/QtAudioOutput.h"

#include <QAudioDevice>
#include <QElapsedTimer>
#include <QMediaDevices>
#include <QtGlobal>

#include <algorithm>
#include <atomic>

namespace agent::speech {
namespace {

class SilentOutput : public AudioOutput {
public:
    bool start(int sampleRate) override {
        rate_ = sampleRate;
        clock_.start();
        return true;
    }
    void write(const int16_t*, size_t count) override { written_ += count; }
    void finishInput() override {}
    int64_t playedUs() const override {
        if (!clock_.isValid() || rate_ <= 0) return 0;
        return std::min<int64_t>(clock_.nsecsElapsed() / 1000, writtenUs());
    }
    bool drained() const override { return clock_.isValid() && clock_.nsecsElapsed() / 1000 >= writtenUs(); }
    void stop() override {}

private:
    int64_t writtenUs() const { return rate_ > 0 ? int64_t(written_) * 1000000 / rate_ : 0; }
    int rate_ = 0;
    size_t written_ = 0;
    QElapsedTimer clock_;
};

void warnOnce(const char* why) {
    static std::atomic<bool> warned{false};
    if (!warned.exchange(true)) qWarning("speech: %s; speaking silently", why);
}

// Tries the device when a request starts; any failure continues silently in real time.
class FallbackOutput : public AudioOutput {
public:
    explicit FallbackOutput(std::shared_ptr<QtAudioStreams> streams) : streams_(std::move(streams)) {}
    bool start(int sampleRate) override {
        if (QMediaDevices::defaultAudioOutput().isNull()) {
            warnOnce("no audio output device");
        } else {
            auto qt = std::make_unique<QtAudioOutput>(streams_);
            if (qt->start(sampleRate)) {
                out_ = std::move(qt);
                return true;
            }
            qt->stop();
            warnOnce("the audio output device refused to start");
        }
        out_ = createSilentOutput();
        return out_->start(sampleRate);
    }
    void write(const int16_t* s, size_t n) override { out_->write(s, n); }
    void pump() override { out_->pump(); }
    void finishInput() override { out_->finishInput(); }
    int64_t playedUs() const override { return out_->playedUs(); }
    bool drained() const override { return out_->drained(); }
    void stop() override {
        if (out_) out_->stop();
    }
    ~FallbackOutput() override { stop(); }

private:
    std::shared_ptr<QtAudioStreams> streams_;
    std::unique_ptr<AudioOutput> out_;
};

}  // namespace

std::unique_ptr<AudioOutput> createSilentOutput() {
    return std::make_unique<SilentOutput>();
}

AudioOutputFactory defaultAudioOutputFactory() {
    // The streams live as long as the factory, which the service drops when it shuts down.
    auto streams = std::make_shared<QtAudioStreams>();
    return [streams] { return std::make_unique<FallbackOutput>(streams); };
}

}  // namespace agent::speech
