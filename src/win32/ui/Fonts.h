#pragma once

#include <windows.h>

namespace win32::ui {

// "ＭＳ ゴシック", Shift-JIS character set, regular weight, at points for a monitor of dpi.
HFONT createGothicFont(double points, unsigned dpi);
// The proportional "ＭＳ Ｐゴシック", otherwise the same.
HFONT createPGothicFont(double points, unsigned dpi);

}  // namespace win32::ui
