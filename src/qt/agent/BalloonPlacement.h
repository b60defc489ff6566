#pragma once

#include <QPoint>
#include <QPolygon>
#include <QRect>
#include <QSize>

namespace agent {

// Where the balloon goes and how its tail runs, all in screen pixels except where noted.
struct BalloonGeometry {
    QRect window;
    // Body and tail, relative to the window's top-left.
    QRect body;
    QPolygon tail;
};

inline constexpr int kBalloonTail = 16;
inline constexpr int kBalloonRadius = 12;

// Prefers the space above the character, then to its right, its left, and below it;
// the balloon never covers the character's top-left and stays inside screen when it can.
BalloonGeometry placeBalloon(QSize body, const QRect& character, QPoint beak, const QRect& screen);

}  // namespace agent
