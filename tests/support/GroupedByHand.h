#pragma once

// Digits grouped by threes with commas, written here rather than taken from the code under test:
// the speech tests build the drill's texts with it.

#include <cstddef>
#include <string>

namespace agent::speech::testing {

inline std::string grouped(const std::string& digits) {
    std::string out;
    for (std::size_t i = 0; i < digits.size(); ++i) {
        if (i > 0 && (digits.size() - i) % 3 == 0) out += ',';
        out += digits[i];
    }
    return out;
}

}  // namespace agent::speech::testing
