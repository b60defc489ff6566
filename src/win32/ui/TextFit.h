#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

namespace win32::ui {

// Makes the font of a size in points for a monitor of dpi (createGothicFont, createPGothicFont).
using FontMaker = std::function<HFONT(double points, unsigned dpi)>;

// How a control draws its text, for measuring it.
enum class TextKind {
    Label,    // a static: the text from the left edge, one line
    Button,   // a push button: centred inside its bevel
    TextBox,  // a one-line edit: between its margins, with room for the caret
};

// The font, from points down by the shared rule, in which every one of texts shows whole in
// control's client area; the caller owns it. Geometry is never touched.
HFONT fittingFont(HWND control, TextKind kind, double points, unsigned dpi, const FontMaker& make,
                  const std::vector<std::wstring>& texts);

}  // namespace win32::ui
