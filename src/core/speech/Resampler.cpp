#include "core/speech/Resampler.h"

#include <cmath>

namespace agent::speech {

void Resampler::reset(int inRate, int outRate) {
    step_ = outRate > 0 ? double(inRate) / outRate : 1.0;
    passThrough_ = inRate == outRate;
    next_ = 0.0;
    base_ = 0;
    last_ = 0.0f;
}

std::vector<float> Resampler::process(const int16_t* in, size_t count) {
    constexpr float kScale = 1.0f / 32768.0f;
    std::vector<float> out;
    if (passThrough_) {
        out.reserve(count);
        for (size_t i = 0; i < count; ++i) out.push_back(in[i] * kScale);
        return out;
    }
    if (count == 0) return out;
    out.reserve(size_t(count / step_) + 2);
    const int64_t end = base_ + int64_t(count);
    // Interpolate between sample i and i+1; i may be the last sample of the previous chunk.
    while (int64_t(std::floor(next_)) + 1 < end) {
        const int64_t i = int64_t(std::floor(next_));
        const float a = i < base_ ? last_ : in[i - base_] * kScale;
        const float b = in[i + 1 - base_] * kScale;
        out.push_back(a + (b - a) * float(next_ - double(i)));
        next_ += step_;
    }
    last_ = in[count - 1] * kScale;
    base_ = end;
    return out;
}

}  // namespace agent::speech
