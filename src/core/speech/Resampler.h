#pragma once

// Streaming linear-interpolation resampler for mono audio, chunk by chunk.

#include <cstddef>
#include <cstdint>
#include <vector>

namespace agent::speech {

class Resampler {
public:
    void reset(int inRate, int outRate);
    // Converts the next chunk to the output rate, as floats in -1..1.
    std::vector<float> process(const int16_t* in, size_t count);

private:
    double step_ = 1.0;  // input samples per output sample
    double next_ = 0.0;  // position of the next output sample, in input samples since reset
    int64_t base_ = 0;   // input samples consumed before the current chunk
    float last_ = 0.0f;
    bool passThrough_ = true;
};

}  // namespace agent::speech
