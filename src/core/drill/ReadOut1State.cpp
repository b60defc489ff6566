#include "core/drill/ReadOut1State.h"

#include <limits>

namespace drill {

void CountNumberRead(ReadOut1State& state) {
    if (state.RecCount1 < std::numeric_limits<int16_t>::max()) ++state.RecCount1;
}

int FlagSum(const PlaceFlags& flags) {
    int sum = 0;
    for (int p = 1; p <= kPlaceCount; ++p) sum += flags[p];
    return sum;
}

const PlaceFlags& ActivePlaceFlags(const ReadOut1State& state) {
    return state.PlaceMode == 1 ? state.DigitFlags : state.RangeFlags;
}

}  // namespace drill
