#include "qt/agent/speech/DeviceTrack.h"

#include <algorithm>

namespace agent::speech {

void DeviceTrack::append(const int16_t* samples, size_t count) {
    const std::lock_guard lock(mutex_);
    samples_.insert(samples_.end(), samples, samples + count);
}

void DeviceTrack::finish() {
    const std::lock_guard lock(mutex_);
    finished_ = true;
}

void DeviceTrack::cancel() {
    const std::lock_guard lock(mutex_);
    cancelled_ = true;
}

int64_t DeviceTrack::playedUs() const {
    const std::lock_guard lock(mutex_);
    if (handed_ == 0) return 0;
    const int64_t handedUs = handed_ * 1000000 / rate_;
    // Between two hand-overs the device plays on in real time from what it was last given.
    const int64_t since =
        std::chrono::duration_cast<std::chrono::microseconds>(Clock::now() - handedAt_).count();
    return std::clamp<int64_t>(handedUs - latencyUs_ + since, 0, handedUs);
}

bool DeviceTrack::drained() const {
    const std::lock_guard lock(mutex_);
    return cancelled_ || (allHanded_ && Clock::now() >= playedOutAt_);
}

DeviceTrack::Take DeviceTrack::take(size_t max) {
    const std::lock_guard lock(mutex_);
    Take t;
    const size_t n = std::min(max, samples_.size() - taken_);
    t.samples.assign(samples_.begin() + long(taken_), samples_.begin() + long(taken_ + n));
    taken_ += n;
    t.finished = finished_ && taken_ == samples_.size();
    t.cancelled = cancelled_;
    return t;
}

void DeviceTrack::handed(size_t inputSamples, int64_t latencyUs) {
    const std::lock_guard lock(mutex_);
    handed_ += int64_t(inputSamples);
    latencyUs_ = latencyUs;
    handedAt_ = Clock::now();
}

void DeviceTrack::allHanded(int64_t latencyUs) {
    const std::lock_guard lock(mutex_);
    if (allHanded_) return;
    allHanded_ = true;
    playedOutAt_ = Clock::now() + std::chrono::microseconds(latencyUs);
}

}  // namespace agent::speech
