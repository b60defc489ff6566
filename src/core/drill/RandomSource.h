#pragma once

#include <array>
#include <cstdint>

namespace drill {

// The generator behind MakeNumber.
class RandomSource {
public:
    virtual ~RandomSource() = default;
    // Uniform in [0, 1).
    virtual double Next() = 0;
    // Mixes a clock reading into the running state; never restarts the sequence.
    virtual void Reseed(uint64_t clock) = 0;
};

// xoshiro256** with a splitmix64-derived start state.
class Xoshiro256Source final : public RandomSource {
public:
    explicit Xoshiro256Source(uint64_t seed);
    double Next() override;
    void Reseed(uint64_t clock) override;
    uint64_t NextBits();

private:
    std::array<uint64_t, 4> s_{};
};

// Nanoseconds of the system clock: the reading MakeNumber mixes in before each pass.
uint64_t SystemClockReading();

}  // namespace drill
