#include "win32/drill/ListeningSummaryPaint.h"

#include "win32/drill/ListeningTest.h"

#include <algorithm>
#include <array>
#include <string>

namespace win32::drill {

namespace {

constexpr int kTableWidth = 156;
constexpr int kRowHeight = 20;
constexpr COLORREF kGrid = RGB(0xb0, 0xb0, 0xb0);
constexpr COLORREF kBar = RGB(0xd0, 0x40, 0x40);
constexpr COLORREF kInk = RGB(0x20, 0x20, 0x20);

void text(HDC dc, const std::string& s, RECT r, UINT format) {
    const std::wstring w = widen(s);
    DrawTextW(dc, w.c_str(), static_cast<int>(w.size()), &r, format | DT_NOPREFIX | DT_SINGLELINE);
}

void line(HDC dc, int x0, int y0, int x1, int y1) {
    MoveToEx(dc, x0, y0, nullptr);
    LineTo(dc, x1, y1);
}

void table(HDC dc, const RECT& area, const ::drill::ListeningSummary& s) {
    const int cols[] = {area.left, area.left + 60, area.left + 108, area.left + kTableWidth};
    const char* heads[] = {"位", "出題", "誤り"};
    HPEN pen = CreatePen(PS_SOLID, 1, kGrid);
    HGDIOBJ old = SelectObject(dc, pen);
    for (int row = 0; row <= ::drill::ListeningSummary::kPlaces + 1; ++row) {
        const int y = area.top + row * kRowHeight;
        line(dc, cols[0], y, cols[3], y);
        if (row > ::drill::ListeningSummary::kPlaces) break;
        std::array<std::string, 3> cells;
        if (row == 0) {
            cells = {heads[0], heads[1], heads[2]};
        } else {
            const ::drill::PlaceRow& r = s.rows[static_cast<size_t>(row - 1)];
            cells = {r.name, std::to_string(r.tried), std::to_string(r.wrong)};
        }
        for (int c = 0; c < 3; ++c)
            text(dc, cells[static_cast<size_t>(c)], {cols[c], y, cols[c + 1], y + kRowHeight},
                 DT_CENTER | DT_VCENTER);
    }
    const int bottom = area.top + (::drill::ListeningSummary::kPlaces + 1) * kRowHeight;
    for (int x : cols) line(dc, x, area.top, x, bottom);
    SelectObject(dc, old);
    DeleteObject(pen);
}

template <size_t N>
void chart(HDC dc, const RECT& area, const char* title, const std::array<std::string, N>& labels,
           const std::array<double, N>& rates, const SummaryFonts& fonts) {
    SelectObject(dc, fonts.text);
    text(dc, title, {area.left, area.top, area.right, area.top + 18}, DT_CENTER | DT_VCENTER);
    constexpr int kLabels = 44;  // room for the turned category labels
    const RECT plot{area.left + 40, area.top + 24, area.right - 6, area.bottom - kLabels};
    const int height = plot.bottom - plot.top;
    HPEN pen = CreatePen(PS_SOLID, 1, kGrid);
    HGDIOBJ oldPen = SelectObject(dc, pen);
    for (int pct = 0; pct <= 100; pct += 20) {
        const int y = plot.bottom - height * pct / 100;
        line(dc, plot.left, y, plot.right, y);
        text(dc, std::to_string(pct) + "%", {area.left, y - 8, plot.left - 4, y + 8}, DT_RIGHT | DT_VCENTER);
    }
    line(dc, plot.left, plot.top, plot.left, plot.bottom);
    SelectObject(dc, oldPen);
    DeleteObject(pen);

    HBRUSH bar = CreateSolidBrush(kBar);
    const int slot = (plot.right - plot.left) / static_cast<int>(N);
    for (size_t i = 0; i < N; ++i) {
        const int x = plot.left + static_cast<int>(i) * slot;
        const double rate = std::clamp(rates[i], 0.0, 100.0);
        const int top = plot.bottom - static_cast<int>(height * rate / 100.0 + 0.5);
        if (top < plot.bottom) {
            const RECT r{x + slot / 5, top, x + slot - slot / 5, plot.bottom};
            FillRect(dc, &r, bar);
        }
        // Upright labels of fifteen categories overlap; turned ones read bottom to top.
        SelectObject(dc, fonts.turned);
        const std::wstring w = widen(labels[i]);
        SIZE extent{};
        GetTextExtentPoint32W(dc, w.c_str(), static_cast<int>(w.size()), &extent);
        TextOutW(dc, x + (slot - extent.cy) / 2, plot.bottom + 4 + extent.cx, w.c_str(),
                 static_cast<int>(w.size()));
    }
    DeleteObject(bar);
    SelectObject(dc, fonts.text);
}

}  // namespace

void paintListeningSummary(HDC dc, const RECT& area, const ::drill::ListeningSummary& summary,
                           const SummaryFonts& fonts) {
    HBRUSH white = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
    FillRect(dc, &area, white);
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, kInk);
    HGDIOBJ oldFont = SelectObject(dc, fonts.text);
    table(dc, area, summary);
    const int left = area.left + kTableWidth + 10;
    const int middle = (area.top + area.bottom) / 2;
    chart(
        dc, {left, area.top, area.right, middle}, ::drill::kPlaceChartTitle,
        [&] {
            std::array<std::string, ::drill::ListeningSummary::kPlaces> names;
            for (size_t i = 0; i < names.size(); ++i) names[i] = summary.rows[i].name;
            return names;
        }(),
        summary.placeRates, fonts);
    chart(dc, {left, middle, area.right, area.bottom}, ::drill::kDigitChartTitle, summary.digitLabels,
          summary.digitRates, fonts);
    SelectObject(dc, oldFont);
}

}  // namespace win32::drill
