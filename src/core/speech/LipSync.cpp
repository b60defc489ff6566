#include "core/speech/LipSync.h"

#include <algorithm>
#include <cmath>

namespace agent::speech {
namespace {

constexpr int kFrameMs = 10;
constexpr float kSilence = 250.0f;  // below this RMS the beak stays shut whatever the scale

}  // namespace

MouthEnvelope::MouthEnvelope(int sampleRate)
    : rate_(std::max(1, sampleRate)), frameLen_(std::max<size_t>(1, size_t(rate_) * kFrameMs / 1000)) {}

void MouthEnvelope::append(const int16_t* samples, size_t count) {
    for (size_t i = 0; i < count; ++i) {
        partialSum_ += double(samples[i]) * samples[i];
        if (++partialCount_ == frameLen_) {
            const float rms = static_cast<float>(std::sqrt(partialSum_ / double(frameLen_)));
            rms_.push_back(rms);
            loudest_ = std::max(loudest_, rms);
            partialSum_ = 0;
            partialCount_ = 0;
        }
    }
    total_ += count;
}

int MouthEnvelope::openingAt(int64_t positionUs) const {
    if (positionUs < 0 || rms_.empty()) return 0;
    const size_t frame = static_cast<size_t>(positionUs / (kFrameMs * 1000));
    if (frame >= rms_.size()) return 0;
    const float rms = rms_[frame];
    if (rms < kSilence) return 0;
    const float level = rms / loudest_;
    if (level < 0.25f) return 1;
    if (level < 0.55f) return 2;
    return 3;
}

int64_t MouthEnvelope::durationUs() const {
    return int64_t(total_) * 1000000 / rate_;
}

}  // namespace agent::speech
