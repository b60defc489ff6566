#pragma once

#include "core/drill/NumberTexts.h"
#include "core/drill/PlaceSelection.h"
#include "core/drill/RandomSource.h"
#include "core/drill/ReadOut1State.h"

#include <cstdint>
#include <functional>
#include <string>

namespace drill {

// A currency value: a signed 64-bit count of ten-thousandths.
inline constexpr int64_t kCurrencyScale = 10000;
inline constexpr int64_t kCurrencyMax = INT64_MAX;  // 922,337,203,685,477.5807

// Whole units grouped by threes with ",": 7 -> "7", 1000 -> "1,000".
std::string GroupedDigits(int64_t units);
// A string of digits grouped the same way: "1234" -> "1,234". The one grouping rule of the program.
std::string GroupedDigits(const std::string& digits);

// Number of "0" characters in a text.
int16_t CountZeros(const std::string& text);

// Draws the numbers of the drill and writes their texts on the window.
class NumberGenerator {
public:
    using Clock = std::function<uint64_t()>;

    NumberGenerator(ReadOut1State& state, PlaceSelection& places, NumberTexts& texts, RandomSource& random,
                    Clock clock = SystemClockReading);

    // Draws one number under the flags that PlaceMode names and writes Command1, Text2, Command2 and
    // ZeroCount. An empty selection first gets the default places 一, 十, 百.
    void MakeNumber();

private:
    // One pass from the units upwards; false when the sum would leave the currency range.
    bool DrawPass(int64_t& sum);

    ReadOut1State& state_;
    PlaceSelection& places_;
    NumberTexts& texts_;
    RandomSource& random_;
    Clock clock_;
};

}  // namespace drill
