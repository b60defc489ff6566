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

}  // namespace agent::speech
