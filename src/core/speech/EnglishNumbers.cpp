#include "core/speech/EnglishNumbers.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <optional>
#include <vector>

namespace agent::speech {
namespace {

constexpr std::array<const char*, 20> kUnits = {"zero",    "one",     "two",       "three",    "four",
                                                "five",    "six",     "seven",     "eight",    "nine",
                                                "ten",     "eleven",  "twelve",    "thirteen", "fourteen",
                                                "fifteen", "sixteen", "seventeen", "eighteen", "nineteen"};
constexpr std::array<const char*, 10> kTens = {"",      "",      "twenty",  "thirty", "forty",
                                               "fifty", "sixty", "seventy", "eighty", "ninety"};
// Index i names 1000^i; eighteen digits fit in 64 bits.
constexpr std::array<const char*, 7> kScales = {"",         "thousand",    "million",    "billion",
                                                "trillion", "quadrillion", "quintillion"};
constexpr size_t kMaxDigits = 18;

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

std::string trimmed(const std::string& s) {
    const size_t first = s.find_first_not_of(' ');
    if (first == std::string::npos) return {};
    return s.substr(first, s.find_last_not_of(' ') - first + 1);
}

// "12,345" or "12345": the digits, or nothing when the commas do not group by threes.
std::optional<std::string> digitsOf(const std::string& s) {
    if (s.empty() || s.front() == ',' || s.back() == ',') return std::nullopt;
    std::string digits;
    const bool grouped = s.find(',') != std::string::npos;
    size_t sinceComma = 0;
    for (size_t i = 0; i < s.size(); ++i) {
        if (s[i] == ',') {
            if (sinceComma == 0 || sinceComma > 3 || (digits.size() > sinceComma && sinceComma != 3))
                return std::nullopt;
            sinceComma = 0;
            continue;
        }
        if (!isDigit(s[i])) return std::nullopt;
        digits += s[i];
        ++sinceComma;
    }
    if (grouped && sinceComma != 3) return std::nullopt;
    if (digits.size() > kMaxDigits) return std::nullopt;
    return digits;
}

// "3 hundred 45", "3 hundred 5", "3 hundred ": the number they stand for.
std::optional<uint64_t> hundredFormOf(const std::string& s) {
    const std::string word = " hundred";
    if (s.size() < 1 + word.size() || !isDigit(s[0]) || s.compare(1, word.size(), word) != 0)
        return std::nullopt;
    const std::string rest = trimmed(s.substr(1 + word.size()));
    if (rest.size() > 2) return std::nullopt;
    uint64_t below = 0;
    for (char c : rest) {
        if (!isDigit(c)) return std::nullopt;
        below = below * 10 + static_cast<uint64_t>(c - '0');
    }
    return static_cast<uint64_t>(s[0] - '0') * 100 + below;
}

void append(std::string& out, const std::string& words) {
    if (!out.empty()) out += ' ';
    out += words;
}

// 1 to 999.
std::string groupWords(unsigned n) {
    std::string out;
    if (n >= 100) {
        append(out, kUnits[n / 100]);
        append(out, "hundred");
        n %= 100;
    }
    if (n >= 20) {
        append(out, kTens[n / 10]);
        n %= 10;
        if (n) append(out, kUnits[n]);
    } else if (n > 0) {
        append(out, kUnits[n]);
    }
    return out;
}

std::string numberWords(uint64_t n) {
    if (n == 0) return kUnits[0];
    std::vector<unsigned> groups;  // least significant first
    for (; n > 0; n /= 1000) groups.push_back(static_cast<unsigned>(n % 1000));
    std::string out;
    for (size_t i = groups.size(); i-- > 0;) {
        if (groups[i] == 0) continue;
        if (!out.empty()) out += ',';
        append(out, groupWords(groups[i]));
        if (i > 0) append(out, kScales[i]);
    }
    return out;
}

size_t digitCount(uint64_t n) {
    size_t count = 1;
    for (; n >= 10; n /= 10) ++count;
    return count;
}

}  // namespace

int englishReadingBudgetMs(const std::string& text) {
    const std::string s = trimmed(text);
    std::string digits;
    if (auto n = hundredFormOf(s); n && *n >= 100) {
        digits = std::to_string(*n);
    } else if (auto d = digitsOf(s)) {
        digits = *d;
    } else {
        return 0;
    }
    if (digits.empty() || digits.size() != digitCount(std::stoull(digits))) return 0;  // leading zeros
    // The drill's wait W_en, from the display text's length L and its zero count Z.
    const int length = int(digits.size() + (digits.size() - 1) / 3);
    const int zeros = int(std::count(digits.begin(), digits.end(), '0'));
    return 330 * (length / 3) + 1000 * ((length - 1) / 3) + 2000 - 500 * zeros - 300;
}

std::string englishNumberWords(const std::string& text) {
    const std::string s = trimmed(text);
    if (auto n = hundredFormOf(s)) return numberWords(*n);
    if (auto digits = digitsOf(s)) {
        uint64_t n = 0;
        for (char c : *digits) n = n * 10 + static_cast<uint64_t>(c - '0');
        return numberWords(n);
    }
    return text;
}

}  // namespace agent::speech
