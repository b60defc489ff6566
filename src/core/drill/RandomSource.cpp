#include "core/drill/RandomSource.h"

#include <chrono>

namespace drill {

namespace {

uint64_t SplitMix64(uint64_t& x) {
    uint64_t z = (x += 0x9e3779b97f4a7c15ULL);
    z = (z ^ (z >> 30)) * 0xbf58476d1ce4e5b9ULL;
    z = (z ^ (z >> 27)) * 0x94d049bb133111ebULL;
    return z ^ (z >> 31);
}

uint64_t Rotl(uint64_t x, int k) {
    return (x << k) | (x >> (64 - k));
}

}  // namespace

Xoshiro256Source::Xoshiro256Source(uint64_t seed) {
    for (auto& word : s_) word = SplitMix64(seed);
}

uint64_t Xoshiro256Source::NextBits() {
    const uint64_t result = Rotl(s_[1] * 5, 7) * 9;
    const uint64_t t = s_[1] << 17;
    s_[2] ^= s_[0];
    s_[3] ^= s_[1];
    s_[1] ^= s_[2];
    s_[0] ^= s_[3];
    s_[2] ^= t;
    s_[3] = Rotl(s_[3], 45);
    return result;
}

double Xoshiro256Source::Next() {
    // The top 53 bits give every double in [0, 1) on a 2^-53 grid.
    return static_cast<double>(NextBits() >> 11) * 0x1.0p-53;
}

void Xoshiro256Source::Reseed(uint64_t clock) {
    // XOR a scrambled clock into one word and step once: the state moves on even for a repeated reading.
    uint64_t mix = clock;
    s_[0] ^= SplitMix64(mix);
    if ((s_[0] | s_[1] | s_[2] | s_[3]) == 0) s_[0] = 0x9e3779b97f4a7c15ULL;
    NextBits();
}

uint64_t SystemClockReading() {
    return static_cast<uint64_t>(std::chrono::system_clock::now().time_since_epoch().count());
}

}  // namespace drill
