#include "core/drill/Waits.h"

#include <algorithm>

namespace drill {

int EnglishWait(int displayLength, int zeroCount) {
    // The integer division truncates; L >= 1 keeps (L - 1) / 3 a floor of a non-negative quotient.
    return 330 * (displayLength / 3) + 1000 * ((displayLength - 1) / 3) + 2000 - 500 * zeroCount;
}

int JapaneseWait(int englishLength, int zeroCount) {
    if (englishLength <= 1) return 1000;
    return 220 * englishLength + 1000 - 100 * zeroCount;
}

int WithGap(int wait, int readingGap) {
    return std::max(kWaitFloor, wait + readingGap);
}

int JapaneseWaitWithGap(int englishLength, int zeroCount, int readingGap) {
    if (englishLength < 2) return 1000;
    return WithGap(JapaneseWait(englishLength, zeroCount), readingGap);
}

}  // namespace drill
