#include "core/listening/WindowBeside.h"

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
    return ui::keptOnScreen({x, owner.y, width, height}, screen);
}

}  // namespace drill
