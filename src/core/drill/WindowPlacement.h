#pragma once

namespace drill {

struct TwipsPoint {
    double left;
    double top;
};

struct PixelPoint {
    int x;
    int y;
};

// Rounds to the nearest integer, halves to the even neighbour (420.5 gives 420).
int roundHalfEven(double v);

// Top-left, in twips, that centres a window of the given outer size on a screen of the given pixel size.
// Floating point and unclamped: a window larger than the screen gets a negative coordinate.
TwipsPoint centredPosition(int screenWidthPx, int screenHeightPx, double twipsPerPixelX,
                           double twipsPerPixelY, double windowWidthTw, double windowHeightTw);

// Where the character goes: the window's lower-left corner, divided by 20 (not by the twips-per-pixel ratio).
PixelPoint characterPlacement(double leftTw, double topTw, double heightTw);

}  // namespace drill
