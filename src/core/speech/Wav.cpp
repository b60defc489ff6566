#include "core/speech/Wav.h"

#include <cstdlib>

#include <algorithm>

namespace agent::speech {
namespace {

uint32_t le32(const std::string& b, size_t at) {
    const auto* p = reinterpret_cast<const unsigned char*>(b.data() + at);
    return p[0] | (p[1] << 8) | (p[2] << 16) | (uint32_t(p[3]) << 24);
}
uint16_t le16(const std::string& b, size_t at) {
    const auto* p = reinterpret_cast<const unsigned char*>(b.data() + at);
    return static_cast<uint16_t>(p[0] | (p[1] << 8));
}

}  // namespace

std::optional<MonoPcm> parseWav(const std::string& b) {
    if (b.size() < 12 || b.compare(0, 4, "RIFF") != 0 || b.compare(8, 4, "WAVE") != 0) return std::nullopt;
    int channels = 0, bits = 0, rate = 0;
    for (size_t at = 12; at + 8 <= b.size();) {
        const std::string id = b.substr(at, 4);
        const size_t size = le32(b, at + 4);
        const size_t body = at + 8;
        if (id == "fmt " && body + 16 <= b.size()) {
            if (le16(b, body) != 1) return std::nullopt;  // integer PCM only
            channels = le16(b, body + 2);
            rate = static_cast<int>(le32(b, body + 4));
            bits = le16(b, body + 14);
        } else if (id == "data") {
            if (bits != 16 || channels < 1 || rate <= 0) return std::nullopt;
            const size_t avail = std::min(size, b.size() - body);
            const size_t frames = avail / (2 * channels);
            MonoPcm pcm{rate, std::vector<int16_t>(frames)};
            for (size_t f = 0; f < frames; ++f) {
                int sum = 0;
                for (int c = 0; c < channels; ++c) sum += int16_t(le16(b, body + 2 * (f * channels + c)));
                pcm.samples[f] = static_cast<int16_t>(sum / channels);
            }
            return pcm;
        }
        at = body + size + (size & 1);
    }
    return std::nullopt;
}

size_t leadingSilenceEnd(const int16_t* samples, size_t count, int sampleRate, int keepMs, int threshold) {
    size_t first = 0;
    while (first < count && std::abs(static_cast<int>(samples[first])) < threshold) ++first;
    if (first == count) return 0;
    const size_t keep = static_cast<size_t>(sampleRate) * static_cast<size_t>(keepMs) / 1000;
    return first > keep ? first - keep : 0;
}

size_t trailingSilenceStart(const int16_t* samples, size_t count, int sampleRate, int keepMs, int threshold) {
    size_t last = count;
    while (last > 0 && std::abs(static_cast<int>(samples[last - 1])) < threshold) --last;
    if (last == 0) return count;
    const size_t keep = static_cast<size_t>(sampleRate) * static_cast<size_t>(keepMs) / 1000;
    return std::min(count, last + keep);
}

}  // namespace agent::speech
