#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace autoend {

// A row's value: the leading numeric part of its text (blanks, tabs and line feeds skipped, optional
// sign, fraction and exponent), 0 when there is none, rounded half to even. Values beyond 32 bits
// saturate; the boxes refuse edits, so in practice they hold only what the dialog wrote.
std::int32_t readRowValue(std::string_view text);

// Plain decimal, "-" when negative, no grouping.
std::string writeRowValue(std::int64_t value);

}  // namespace autoend
