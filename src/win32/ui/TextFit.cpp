#include "win32/ui/TextFit.h"

#include "core/ui/FittingPoints.h"

namespace win32::ui {
namespace {

// A push button's bevel and the focus rectangle inside it, on each side.
constexpr int kButtonMargin = 4;
constexpr int kCaretWidth = 1;

SIZE textSize(HDC dc, const std::wstring& text) {
    RECT r{0, 0, 0, 0};
    DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &r, DT_CALCRECT | DT_SINGLELINE | DT_NOPREFIX);
    return {r.right - r.left, r.bottom - r.top};
}

SIZE room(HWND control, TextKind kind) {
    RECT client{};
    GetClientRect(control, &client);
    SIZE s{client.right, client.bottom};
    if (kind == TextKind::Button) {
        s.cx -= 2 * kButtonMargin;
    } else if (kind == TextKind::TextBox) {
        const LRESULT margins = SendMessageW(control, EM_GETMARGINS, 0, 0);
        s.cx -= LOWORD(margins) + HIWORD(margins) + kCaretWidth;
    }
    return s;
}

}  // namespace

HFONT fittingFont(HWND control, TextKind kind, double points, unsigned dpi, const FontMaker& make,
                  const std::vector<std::wstring>& texts) {
    const SIZE space = room(control, kind);
    HDC dc = GetDC(control);
    const auto fits = [&](double p) {
        HFONT font = make(p, dpi);
        HGDIOBJ old = SelectObject(dc, font);
        bool all = true;
        for (const std::wstring& t : texts) {
            const SIZE need = textSize(dc, t);
            all = all && need.cx <= space.cx && need.cy <= space.cy;
        }
        SelectObject(dc, old);
        DeleteObject(font);
        return all;
    };
    const double chosen = ::ui::fittingPoints(points, fits);
    ReleaseDC(control, dc);
    return make(chosen, dpi);
}

}  // namespace win32::ui
