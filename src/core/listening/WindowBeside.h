#pragma once

#include "core/ui/ScreenRect.h"

namespace drill {

using ui::ScreenRect;

// Top-left of a window of the given size beside the owner: to its right when it fits on the screen,
// else to its left, else on the side with more room, kept on the screen; tops aligned.
ScreenRect BesideOwner(const ScreenRect& owner, int width, int height, const ScreenRect& screen, int gap = 8);

}  // namespace drill
