#include "core/drill/WindowPlacement.h"

#include <cmath>

namespace drill {

int roundHalfEven(double v) {
    const double lower = std::floor(v);
    const double diff = v - lower;
    double r;
    if (diff > 0.5) {
        r = lower + 1;
    } else if (diff < 0.5) {
        r = lower;
    } else {
        r = std::fmod(lower, 2.0) == 0.0 ? lower : lower + 1;
    }
    return static_cast<int>(r);
}

TwipsPoint centredPosition(int screenWidthPx, int screenHeightPx, double twipsPerPixelX,
                           double twipsPerPixelY, double windowWidthTw, double windowHeightTw) {
    return {(screenWidthPx * twipsPerPixelX - windowWidthTw) / 2.0,
            (screenHeightPx * twipsPerPixelY - windowHeightTw) / 2.0};
}

PixelPoint characterPlacement(double leftTw, double topTw, double heightTw) {
    return {roundHalfEven(leftTw / 20.0), roundHalfEven((topTw + heightTw) / 20.0)};
}

}  // namespace drill
