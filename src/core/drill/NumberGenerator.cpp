#include "core/drill/NumberGenerator.h"

#include "core/drill/SpokenForms.h"

#include <stdexcept>

namespace drill {

namespace {

constexpr std::array<int64_t, kPlaceCount + 1> PlaceValues() {
    std::array<int64_t, kPlaceCount + 1> values{};
    values[1] = kCurrencyScale;
    for (int p = 2; p <= kPlaceCount; ++p) values[p] = values[p - 1] * 10;
    return values;
}

constexpr auto kPlaceValue = PlaceValues();

}  // namespace

std::string GroupedDigits(const std::string& digits) {
    std::string out;
    const size_t n = digits.size();
    for (size_t k = 0; k < n; ++k) {
        if (k > 0 && (n - k) % 3 == 0) out += ',';
        out += digits[k];
    }
    return out;
}

std::string GroupedDigits(int64_t units) {
    const bool negative = units < 0;
    const uint64_t magnitude = negative ? 0 - static_cast<uint64_t>(units) : static_cast<uint64_t>(units);
    return (negative ? "-" : "") + GroupedDigits(std::to_string(magnitude));
}

int16_t CountZeros(const std::string& text) {
    int16_t zeros = 0;
    for (char c : text) zeros += c == '0' ? 1 : 0;
    return zeros;
}

NumberGenerator::NumberGenerator(ReadOut1State& state, PlaceSelection& places, NumberTexts& texts,
                                 RandomSource& random, Clock clock)
    : state_(state), places_(places), texts_(texts), random_(random), clock_(std::move(clock)) {}

bool NumberGenerator::DrawPass(int64_t& sum) {
    const PlaceFlags& flags = ActivePlaceFlags(state_);
    sum = 0;
    for (int p = 1; p <= kPlaceCount; ++p) {
        int digit = static_cast<int>(10 * random_.Next());
        if (digit > 9) digit = 9;  // a source rounding up to 1.0 still gives a digit
        if (digit < 0) digit = 0;
        const int64_t add = digit * (flags[p] != 0 ? 1 : 0) * kPlaceValue[p];
        if (add > kCurrencyMax - sum) return false;
        sum += add;
    }
    return true;
}

void NumberGenerator::MakeNumber() {
    int64_t sum = 0;
    bool first = true;
    for (;;) {
        texts_.setCommand2Caption("");
        if (first) {
            first = false;
            // With nothing selected every pass sums to 0; fall back to the start buttons' default.
            if (FlagSum(ActivePlaceFlags(state_)) == 0) places_.applyDefaultSelection();
            if (FlagSum(ActivePlaceFlags(state_)) == 0)
                throw std::logic_error("MakeNumber: no place selected in the active column");
        }
        random_.Reseed(clock_());
        if (!DrawPass(sum)) continue;
        if (sum < kCurrencyScale) continue;
        break;
    }
    const std::string display = GroupedDigits(sum / kCurrencyScale);
    texts_.setCommand1Caption(display);
    texts_.setText2Text(display);
    texts_.setCommand2Caption(display);
    const std::string english = texts_.text2Text();
    if (TextLength(english) == 3) texts_.setText2Text(ThreeDigitRule(english));
    state_.ZeroCount = CountZeros(display);
}

}  // namespace drill
