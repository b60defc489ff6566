#pragma once

// The beak opening from the loudness of the audio: RMS per 10 ms frame, scaled to the loudest
// frame heard so far in the request, so quiet and loud voices both move the beak fully.

#include <cstddef>
#include <cstdint>
#include <vector>

namespace agent::speech {

class MouthEnvelope {
public:
    explicit MouthEnvelope(int sampleRate);
    void append(const int16_t* samples, size_t count);
    // Opening 0..3 for the audio at this position (microseconds from the request's start).
    int openingAt(int64_t positionUs) const;
    int64_t durationUs() const;

private:
    int rate_;
    size_t frameLen_;
    std::vector<float> rms_;
    double partialSum_ = 0;
    size_t partialCount_ = 0;
    size_t total_ = 0;
    float loudest_ = 0;
};

}  // namespace agent::speech
