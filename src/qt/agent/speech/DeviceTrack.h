#pragma once

// One request's audio on its way to the sound device. The window thread appends what the engine
// has produced and reads back how much has been played; the device thread takes it from here at
// the pace the device asks for, so a busy window thread never leaves the device without audio.

#include <atomic>
#include <chrono>
#include <cstddef>
#include <cstdint>
#include <mutex>
#include <vector>

namespace agent::speech {

class DeviceTrack {
public:
    explicit DeviceTrack(int sampleRate) : rate_(sampleRate) {}
    int sampleRate() const { return rate_; }

    // Window thread.
    void append(const int16_t* samples, size_t count);
    void finish();  // no more samples will come
    void cancel();  // drop the rest at once
    int64_t playedUs() const;
    bool drained() const;  // finished, and every sample has left the device

    // Device thread: up to max samples not yet taken; finished/cancelled as they stand now.
    struct Take {
        std::vector<int16_t> samples;
        bool finished = false;
        bool cancelled = false;
    };
    Take take(size_t max);
    // Accounts for samples handed to the device (or to the silent clock), and the device's latency.
    void handed(size_t inputSamples, int64_t latencyUs);
    // Everything was handed over; it has played once the latency reported then has passed.
    void allHanded(int64_t latencyUs);

private:
    using Clock = std::chrono::steady_clock;
    const int rate_;
    mutable std::mutex mutex_;
    std::vector<int16_t> samples_;
    size_t taken_ = 0;
    bool finished_ = false;
    bool cancelled_ = false;
    int64_t handed_ = 0;
    int64_t latencyUs_ = 0;
    Clock::time_point handedAt_{};
    bool allHanded_ = false;
    Clock::time_point playedOutAt_{};
};

}  // namespace agent::speech
