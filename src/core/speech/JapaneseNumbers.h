#pragma once

#include <string>

namespace agent::speech {

// Rewrites each number of five or more digits (plain or comma-grouped by threes) into its
// 兆/億/万 groups separated by "、", e.g. "100,000,001" -> "1億、1": Open JTalk then reads every
// group as its own accent phrase instead of one long, drawn-out phrase. Shorter numbers and
// the rest of the text stay as they are.
std::string groupJapaneseNumbers(const std::string& text);

}  // namespace agent::speech
