#pragma once

#include <algorithm>

// A rectangle in screen pixels, and the one rule that keeps a window on a screen.
namespace ui {

struct ScreenRect {
    int x;
    int y;
    int width;
    int height;
    int Right() const { return x + width; }
    int Bottom() const { return y + height; }
};

// window moved (never resized) so that it lies on screen; a window larger than the screen keeps its
// top-left corner on it.
inline ScreenRect keptOnScreen(const ScreenRect& window, const ScreenRect& screen) {
    return {std::clamp(window.x, screen.x, std::max(screen.x, screen.Right() - window.width)),
            std::clamp(window.y, screen.y, std::max(screen.y, screen.Bottom() - window.height)), window.width,
            window.height};
}

}  // namespace ui
