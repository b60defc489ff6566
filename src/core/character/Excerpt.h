#pragma once

// Text taken from a file, made safe to quote in a message; std C++ only, so both front ends
// quote a file's text the same way.

#include <string>
#include <string_view>

namespace agent::character {

inline constexpr int kExcerptChars = 80;

// UTF-8 in and out. Control and invisible formatting characters are written out as escapes (\n, \t,
// \0, \x1B, \u202E), then the text is cut to maxChars UTF-16 units with a trailing "…"; an escape or
// a character is never split. Bytes that are not UTF-8 read as U+FFFD.
std::string readableExcerpt(std::string_view utf8, int maxChars = kExcerptChars);

// The same, in double quotes: "abc…".
std::string quotedExcerpt(std::string_view utf8, int maxChars = kExcerptChars);

}  // namespace agent::character
