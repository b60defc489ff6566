#pragma once

namespace drill {

// Shortest wait of any timer interval that includes the reading gap.
inline constexpr int kWaitFloor = 1000;

// Wait after an English reading: L = length of the display text, Z = ZeroCount.
int EnglishWait(int displayLength, int zeroCount);

// Wait after a Japanese reading: E = length of the English reading text; 1000 for one digit.
int JapaneseWait(int englishLength, int zeroCount);

// A wait widened (or narrowed) by the reading gap, never below the floor.
int WithGap(int wait, int readingGap);

// The wait after a Japanese first reading: with the gap when E >= 2, a flat 1000 otherwise.
int JapaneseWaitWithGap(int englishLength, int zeroCount, int readingGap);

}  // namespace drill
