#include "qt/agent/speech/AudioOutput.h"

#include "qt/agent/speech/PulseDevice.h"

#include <QElapsedTimer>

#include <algorithm>

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

// One request on the shared device: the samples go to its track, which the device thread plays.
class DeviceOutput : public AudioOutput {
public:
    explicit DeviceOutput(std::shared_ptr<PulseDevice> device) : device_(std::move(device)) {}
    bool start(int sampleRate) override {
        track_ = std::make_shared<DeviceTrack>(sampleRate);
        device_->play(track_);
        return true;
    }
    void write(const int16_t* s, size_t n) override {
        if (track_) track_->append(s, n);
    }
    void finishInput() override {
        if (track_) track_->finish();
    }
    int64_t playedUs() const override { return track_ ? track_->playedUs() : 0; }
    bool drained() const override { return !track_ || track_->drained(); }
    void stop() override {
        if (track_ && !track_->drained()) track_->cancel();
        track_.reset();
    }
    ~DeviceOutput() override { stop(); }

private:
    std::shared_ptr<PulseDevice> device_;
    std::shared_ptr<DeviceTrack> track_;
};

}  // namespace

std::unique_ptr<AudioOutput> createSilentOutput() {
    return std::make_unique<SilentOutput>();
}

DefaultAudio defaultAudio() {
    // The device lives as long as the factory, which the service drops when it shuts down.
    auto device = std::make_shared<PulseDevice>();
    DefaultAudio audio;
    audio.output = [device] { return std::make_unique<DeviceOutput>(device); };
    audio.watch = [device](std::function<void(DeviceEvent)> handler) {
        device->setEventHandler(std::move(handler));
    };
    return audio;
}

}  // namespace agent::speech
