#pragma once

#include <windows.h>

#include "core/listening/ListeningSummary.h"

namespace win32::drill {

// Fonts of the summary: text for the table and titles, turned for the charts' category labels.
struct SummaryFonts {
    HFONT text;
    HFONT turned;  // escapement 90 degrees
};

// Draws the per-place table on the left and the two error-rate charts (by place, by digit count)
// on the right of area, over a white background.
void paintListeningSummary(HDC dc, const RECT& area, const ::drill::ListeningSummary& summary,
                           const SummaryFonts& fonts);

}  // namespace win32::drill
