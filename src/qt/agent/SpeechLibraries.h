#pragma once

// The sound server's client library and the English voices are opened on first use, not at exec:
// the window needs none of them, and binding their twenty-odd libraries at exec was a large part of
// the start-up.
// The speech code calls them as usual; the definitions here open the library on that first call,
// which is on a synthesis or device thread.

#include <span>

namespace agent::speech {

struct LateSymbol {
    const char* library;  // soname
    const char* name;
};

// Every function forwarded, with the library it comes from.
std::span<const LateSymbol> lateSymbols();

// The function's address in its library, opening the library once; nullptr with `error` set when the
// library or the function cannot be found.
void* lateSymbol(const LateSymbol& symbol, const char** error = nullptr);

}  // namespace agent::speech
