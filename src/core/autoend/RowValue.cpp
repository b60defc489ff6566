#include "core/autoend/RowValue.h"

#include <charconv>
#include <cmath>
#include <limits>
#include <system_error>

namespace autoend {
namespace {

bool isBlank(char c) {
    return c == ' ' || c == '\t' || c == '\n';
}
bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

// Collects the numeric prefix without blanks, in a form from_chars accepts.
std::string numericPrefix(std::string_view text) {
    std::string out;
    std::size_t i = 0;
    auto skip = [&] {
        while (i < text.size() && isBlank(text[i])) ++i;
    };
    skip();
    if (i < text.size() && (text[i] == '-' || text[i] == '+')) {
        if (text[i] == '-') out += '-';
        ++i;
    }
    bool digits = false;
    bool point = false;
    for (skip(); i < text.size(); ++i, skip()) {
        const char c = i < text.size() ? text[i] : '\0';
        if (isDigit(c)) {
            out += c;
            digits = true;
        } else if (c == '.' && !point) {
            out += c;
            point = true;
        } else {
            break;
        }
    }
    if (!digits) return {};
    // An exponent counts only when at least one digit follows it.
    if (i < text.size() && (text[i] == 'e' || text[i] == 'E' || text[i] == 'd' || text[i] == 'D')) {
        std::size_t j = i + 1;
        std::string exponent = "e";
        while (j < text.size() && isBlank(text[j])) ++j;
        if (j < text.size() && (text[j] == '-' || text[j] == '+')) exponent += text[j++];
        bool expDigits = false;
        for (; j < text.size(); ++j) {
            if (isBlank(text[j])) continue;
            if (!isDigit(text[j])) break;
            exponent += text[j];
            expDigits = true;
        }
        if (expDigits) out += exponent;
    }
    return out;
}

}  // namespace

std::int32_t readRowValue(std::string_view text) {
    const std::string prefix = numericPrefix(text);
    if (prefix.empty()) return 0;
    double value = 0.0;
    const auto [end, ec] = std::from_chars(prefix.data(), prefix.data() + prefix.size(), value);
    (void)end;
    constexpr double kMax = std::numeric_limits<std::int32_t>::max();
    constexpr double kMin = std::numeric_limits<std::int32_t>::min();
    if (ec == std::errc::result_out_of_range) {
        // Either far too large or vanishingly small.
        const bool tiny = prefix.find("e-") != std::string::npos;
        if (tiny) return 0;
        return prefix.front() == '-' ? static_cast<std::int32_t>(kMin) : static_cast<std::int32_t>(kMax);
    }
    if (ec != std::errc{}) return 0;
    const double rounded = std::nearbyint(value);  // the default rounding mode: half to even
    if (rounded >= kMax) return static_cast<std::int32_t>(kMax);
    if (rounded <= kMin) return static_cast<std::int32_t>(kMin);
    return static_cast<std::int32_t>(rounded);
}

std::string writeRowValue(std::int64_t value) {
    return std::to_string(value);
}

}  // namespace autoend
