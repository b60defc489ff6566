#include "core/speech/JapaneseNumbers.h"

#include <cctype>
#include <vector>

namespace agent::speech {
namespace {

constexpr const char* kUnits[] = {"", "万", "億", "兆", "京"};
constexpr size_t kMaxDigits = 4 * (sizeof(kUnits) / sizeof(kUnits[0]));

bool isDigit(char c) {
    return std::isdigit(static_cast<unsigned char>(c)) != 0;
}

// Length of the number starting at i: a digit run, then ",ddd" groups not followed by a digit.
size_t numberLength(const std::string& s, size_t i, std::string& digits) {
    size_t j = i;
    while (j < s.size() && isDigit(s[j])) digits += s[j++];
    while (j + 3 < s.size() && s[j] == ',' && isDigit(s[j + 1]) && isDigit(s[j + 2]) && isDigit(s[j + 3]) &&
           (j + 4 >= s.size() || !isDigit(s[j + 4]))) {
        digits.append(s, j + 1, 3);
        j += 4;
    }
    return j - i;
}

std::string grouped(const std::string& digits) {
    std::vector<std::string> groups;  // least significant first
    for (size_t end = digits.size(); end > 0; end = end > 4 ? end - 4 : 0) {
        const size_t begin = end > 4 ? end - 4 : 0;
        groups.push_back(digits.substr(begin, end - begin));
    }
    std::string out;
    for (size_t g = groups.size(); g-- > 0;) {
        const std::string& group = groups[g];
        const size_t first = group.find_first_not_of('0');
        if (first == std::string::npos) continue;  // an all-zero group is not read at all
        if (!out.empty()) out += "、";
        out += group.substr(first);
        out += kUnits[g];
    }
    return out;
}

}  // namespace

std::string groupJapaneseNumbers(const std::string& text) {
    std::string out;
    out.reserve(text.size() + 16);
    for (size_t i = 0; i < text.size();) {
        if (!isDigit(text[i])) {
            out += text[i++];
            continue;
        }
        if (i > 0 && text[i - 1] == '.') {  // decimal fraction digits are read one by one anyway
            while (i < text.size() && isDigit(text[i])) out += text[i++];
            continue;
        }
        std::string digits;
        const size_t len = numberLength(text, i, digits);
        const bool leadingZero = digits.size() > 1 && digits[0] == '0';
        if (digits.size() > 4 && digits.size() <= kMaxDigits && !leadingZero) {
            out += grouped(digits);
        } else {
            out.append(text, i, len);
        }
        i += len;
    }
    return out;
}

}  // namespace agent::speech
