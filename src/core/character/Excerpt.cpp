#include "core/character/Excerpt.h"

#include <cstdio>
#include <vector>

namespace agent::character {
namespace {

constexpr char kEllipsis[] = "\xE2\x80\xA6";  // …
constexpr char32_t kReplacement = 0xFFFD;

bool needsEscape(char32_t c) {
    if (c < 0x20 || (c >= 0x7F && c <= 0x9F)) return true;
    // Line separators and the marks that reorder or hide text would make a message read wrongly.
    if (c == 0x2028 || c == 0x2029 || c == 0xFEFF) return true;
    if ((c >= 0x200B && c <= 0x200F) || (c >= 0x202A && c <= 0x202E) || (c >= 0x2066 && c <= 0x2069))
        return true;
    return c >= 0xD800 && c <= 0xDFFF;
}

std::string escapeOf(char32_t c) {
    switch (c) {
        case 0:
            return "\\0";
        case '\n':
            return "\\n";
        case '\r':
            return "\\r";
        case '\t':
            return "\\t";
        default:
            break;
    }
    char buffer[16];
    std::snprintf(buffer, sizeof buffer, c <= 0xFF ? "\\x%02X" : "\\u%04X", static_cast<unsigned>(c));
    return buffer;
}

// One code point from s at i (advanced past it); a malformed sequence yields U+FFFD and one byte.
char32_t nextCodePoint(std::string_view s, std::size_t& i) {
    const auto b0 = static_cast<unsigned char>(s[i]);
    if (b0 < 0x80) return ++i, b0;
    int extra = 0;
    char32_t c = 0;
    char32_t least = 0;
    if ((b0 & 0xE0) == 0xC0)
        extra = 1, c = b0 & 0x1F, least = 0x80;
    else if ((b0 & 0xF0) == 0xE0)
        extra = 2, c = b0 & 0x0F, least = 0x800;
    else if ((b0 & 0xF8) == 0xF0)
        extra = 3, c = b0 & 0x07, least = 0x10000;
    else
        return ++i, kReplacement;
    if (i + extra >= s.size()) return ++i, kReplacement;
    for (int k = 1; k <= extra; ++k) {
        const auto b = static_cast<unsigned char>(s[i + k]);
        if ((b & 0xC0) != 0x80) return ++i, kReplacement;
        c = (c << 6) | (b & 0x3F);
    }
    if (c < least || c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF)) return ++i, kReplacement;
    i += extra + 1;
    return c;
}

struct Unit {
    std::string text;
    int length = 0;  // in UTF-16 units, as a message box counts them
};

// Display units: one character or one escape; stops once more than limit units are gathered.
std::vector<Unit> unitsOf(std::string_view s, int limit) {
    std::vector<Unit> units;
    int length = 0;
    for (std::size_t i = 0; i < s.size() && length <= limit;) {
        const std::size_t start = i;
        const char32_t c = nextCodePoint(s, i);
        Unit unit;
        if (needsEscape(c)) {
            unit.text = escapeOf(c);
            unit.length = static_cast<int>(unit.text.size());
        } else {
            unit.text =
                c == kReplacement ? std::string("\xEF\xBF\xBD") : std::string(s.substr(start, i - start));
            unit.length = c >= 0x10000 ? 2 : 1;
        }
        length += unit.length;
        units.push_back(std::move(unit));
    }
    return units;
}

}  // namespace

std::string readableExcerpt(std::string_view utf8, int maxChars) {
    std::vector<Unit> units = unitsOf(utf8, maxChars);
    int length = 0;
    for (const Unit& u : units) length += u.length;
    const bool cut = length > maxChars;
    if (cut) {
        // Room for the ellipsis: drop whole units, never half an escape.
        while (!units.empty() && length + 1 > maxChars) {
            length -= units.back().length;
            units.pop_back();
        }
    }
    std::string out;
    for (const Unit& u : units) out += u.text;
    if (cut) out += kEllipsis;
    return out;
}

std::string quotedExcerpt(std::string_view utf8, int maxChars) {
    return '"' + readableExcerpt(utf8, maxChars) + '"';
}

}  // namespace agent::character
