#pragma once

#include <array>
#include <cstdint>
#include <string>

namespace drill {

// Places run from 1 (units) to 15 (10^14); index 0 of the flag arrays is never used.
inline constexpr int kPlaceCount = 15;
using PlaceFlags = std::array<int16_t, kPlaceCount + 1>;

// The fields of the main window that the drill's parts share, with their start values.
struct ReadOut1State {
    int16_t RecCount1 = 0;
    PlaceFlags DigitFlags{};
    PlaceFlags RangeFlags{};
    bool RangeClickBusy = false;
    bool DigitClickBusy = false;
    bool EnJaFirstDue = false;
    bool JaEnFirstDue = false;
    bool PhaseFlag = false;
    bool EnglishOnly = false;
    bool BalloonOn = false;
    int16_t ZeroCount = 0;
    // 1 selects DigitFlags; any other value selects RangeFlags.
    int16_t PlaceMode = 0;
    int16_t ReadingGap = 0;
    std::string WinEdition;
};

// Counts one number read. Stops at 32767 instead of wrapping, so an auto-end by count still fires.
void CountNumberRead(ReadOut1State& state);

// Sum of flags 1..15 of one array.
int FlagSum(const PlaceFlags& flags);

// The array that the generator reads under the current PlaceMode.
const PlaceFlags& ActivePlaceFlags(const ReadOut1State& state);

}  // namespace drill
