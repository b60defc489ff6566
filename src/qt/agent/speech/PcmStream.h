#pragma once

// One request's audio, written by the synthesis thread and read by the player as it grows.

#include <cstddef>
#include <cstdint>
#include <mutex>
#include <vector>

namespace agent::speech {

class PcmStream {
public:
    enum class State { Pending, Done, Failed };
    struct Status {
        int sampleRate = 0;
        State state = State::Pending;
    };

    void append(int sampleRate, const int16_t* samples, size_t count) {
        std::lock_guard lock(mutex_);
        rate_ = sampleRate;
        samples_.insert(samples_.end(), samples, samples + count);
    }
    void finish(bool failed) {
        std::lock_guard lock(mutex_);
        state_ = failed ? State::Failed : State::Done;
    }
    // Appends to out the samples from index `from` on; the status is consistent with them.
    Status read(size_t from, std::vector<int16_t>& out) const {
        std::lock_guard lock(mutex_);
        if (from < samples_.size()) out.insert(out.end(), samples_.begin() + long(from), samples_.end());
        return {rate_, state_};
    }

private:
    mutable std::mutex mutex_;
    int rate_ = 0;
    std::vector<int16_t> samples_;
    State state_ = State::Pending;
};

}  // namespace agent::speech
