#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace agent::speech {

struct MonoPcm {
    int sampleRate = 0;
    std::vector<int16_t> samples;
};

// Reads a RIFF/WAVE file of 16-bit PCM (channels averaged to mono); nullopt when it is not one.
// A truncated data chunk yields the samples that are there.
std::optional<MonoPcm> parseWav(const std::string& bytes);

// Index of the first sample to play so that at most keepMs of near-silence (below threshold)
// precedes the first audible sample; 0 when the audio starts loud or has no audible sample at all,
// so nothing is ever dropped whole.
size_t leadingSilenceEnd(const int16_t* samples, size_t count, int sampleRate, int keepMs = 30,
                         int threshold = 256);

// Index just past the audio to keep so that at most keepMs of near-silence follows the last
// audible sample; count when there is no audible sample at all.
size_t trailingSilenceStart(const int16_t* samples, size_t count, int sampleRate, int keepMs = 40,
                            int threshold = 256);

}  // namespace agent::speech
