#pragma once

#include "core/ui/ScreenRect.h"

#include <optional>

namespace drill {

using ui::ScreenRect;

// What the listening test window is placed among, in screen pixels.
struct BesideOwnerScene {
    ScreenRect screen;  // the owner's screen, panels excluded
    ScreenRect owner;   // the owner's frame
    // Part of the owner the test still needs (the place columns it draws from); may be empty.
    ScreenRect keepVisible;
    // The character window, which stays on top of every window; none when unknown.
    std::optional<ScreenRect> character;
};

struct BesidePlacement {
    ScreenRect window;  // frame of the test window, no larger than the screen
    // Where the character goes so that it hides nothing of the test; none: it stays.
    std::optional<ScreenRect> character;
};

// Places a window of the given frame size beside the owner, tops aligned, on the screen. Of the two
// sides it takes the one that hides least of keepVisible, then of the owner, then of the character,
// then the roomier one (the right on a tie). A character the window would still lie under moves
// beside the window's lower edge, where it hides least of the owner.
BesidePlacement BesideOwner(const BesideOwnerScene& scene, int width, int height, int gap = 8);

}  // namespace drill
