#pragma once

// Text taken from a file or a child process, made safe to quote in a message.
// Qt Core only, so file checkers without widgets can use it too.

#include <QString>

namespace ui {

inline constexpr int kExcerptChars = 80;

// Control and invisible formatting characters written out as escapes (\n, \t, \0, \x1B, \u202E),
// then cut to maxChars characters with a trailing "…". Never splits an escape or a surrogate pair.
QString readableExcerpt(const QString& text, int maxChars = kExcerptChars);

// The same, quoted in double quotes: "abc…".
QString quotedExcerpt(const QString& text, int maxChars = kExcerptChars);

// A whole message made fit for a box: line breaks kept, other control characters escaped, at most
// maxLines lines of at most maxLineChars characters each. Works on already composed messages.
QString boundedMessage(const QString& text, int maxLines = 20, int maxLineChars = 400);

}  // namespace ui
