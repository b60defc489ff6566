#include "core/listening/AnswerInput.h"

namespace drill {

namespace {

// Next code point of a UTF-8 text; malformed bytes come back as U+FFFD, one byte at a time.
char32_t NextCodePoint(const std::string& s, size_t& i) {
    const auto byte = [&](size_t k) { return static_cast<unsigned char>(s[k]); };
    const unsigned char lead = byte(i);
    int extra = 0;
    char32_t cp = 0;
    if (lead < 0x80) {
        ++i;
        return lead;
    } else if ((lead & 0xE0) == 0xC0) {
        extra = 1;
        cp = lead & 0x1F;
    } else if ((lead & 0xF0) == 0xE0) {
        extra = 2;
        cp = lead & 0x0F;
    } else if ((lead & 0xF8) == 0xF0) {
        extra = 3;
        cp = lead & 0x07;
    } else {
        ++i;
        return U'\uFFFD';
    }
    if (i + static_cast<size_t>(extra) >= s.size()) {
        ++i;
        return U'\uFFFD';
    }
    for (int k = 1; k <= extra; ++k) {
        const unsigned char c = byte(i + k);
        if ((c & 0xC0) != 0x80) {
            ++i;
            return U'\uFFFD';
        }
        cp = (cp << 6) | (c & 0x3F);
    }
    i += static_cast<size_t>(extra) + 1;
    return cp;
}

bool IsSeparator(char32_t c) {
    return c == U',' || c == U'\uFF0C' || c == U'\u3001' || c == U'\uFF64' || c == U' ' || c == U'\t' ||
           c == U'\u3000';
}

}  // namespace

NormalisedAnswer NormaliseAnswer(const std::string& typed) {
    std::string digits;
    size_t i = 0;
    while (i < typed.size()) {
        const char32_t c = NextCodePoint(typed, i);
        if (c >= U'0' && c <= U'9') {
            digits += static_cast<char>(c);
        } else if (c >= U'\uFF10' && c <= U'\uFF19') {
            digits += static_cast<char>('0' + (c - U'\uFF10'));
        } else if (!IsSeparator(c)) {
            return {AnswerProblem::NotADigit, {}};
        }
    }
    if (digits.empty()) return {AnswerProblem::Empty, {}};
    const size_t first = digits.find_first_not_of('0');
    digits = first == std::string::npos ? "0" : digits.substr(first);
    if (static_cast<int>(digits.size()) > kMaxAnswerDigits) return {AnswerProblem::TooLong, {}};
    return {AnswerProblem::None, digits};
}

std::string AnswerHint(AnswerProblem problem) {
    switch (problem) {
        case AnswerProblem::None:
            return {};
        case AnswerProblem::Empty:
            return "聞こえた数字を入力してください";
        case AnswerProblem::NotADigit:
            return "数字（半角・全角）とカンマ・スペースだけで入力してください";
        case AnswerProblem::TooLong:
            return "18桁までで入力してください";
    }
    return {};
}

}  // namespace drill
