#include "drill/listening/WindowBeside.h"

#include <algorithm>

namespace drill {

ScreenRect BesideOwner(const ScreenRect& owner, int width, int height, const ScreenRect& screen, int gap) {
    const int right = owner.Right() + gap;
    const int left = owner.x - gap - width;
    int x;
    if (right + width <= screen.Right())
        x = right;
    else if (left >= screen.x)
        x = left;
    else
        x = screen.Right() - owner.Right() >= owner.x - screen.x ? right : left;
    x = std::clamp(x, screen.x, std::max(screen.x, screen.Right() - width));
    const int y = std::clamp(owner.y, screen.y, std::max(screen.y, screen.Bottom() - height));
    return {x, y, width, height};
}

}  // namespace drill
