#include "win32/ui/Fonts.h"

#include <cmath>

namespace win32::ui {
namespace {

HFONT create(double points, unsigned dpi, DWORD pitch, const wchar_t* face) {
    const int height = -static_cast<int>(std::lround(points * dpi / 72.0));
    return CreateFontW(height, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, SHIFTJIS_CHARSET, OUT_DEFAULT_PRECIS,
                       CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, pitch, face);
}

}  // namespace

HFONT createGothicFont(double points, unsigned dpi) {
    return create(points, dpi, FIXED_PITCH | FF_MODERN,
                  L"\xFF2D\xFF33 \x30B4\x30B7\x30C3\x30AF");  // ＭＳ ゴシック
}

HFONT createPGothicFont(double points, unsigned dpi) {
    return create(points, dpi, VARIABLE_PITCH | FF_SWISS,
                  L"\xFF2D\xFF33 \xFF30\x30B4\x30B7\x30C3\x30AF");  // ＭＳ Ｐゴシック
}

}  // namespace win32::ui
