#include "qt/agent/BalloonPlacement.h"

#include <algorithm>
#include <array>
#include <optional>

namespace agent {
namespace {

constexpr int kScreenMargin = 4;
constexpr int kTailHalfBase = 8;

// Clamps without the std::clamp precondition: a body wider than the room keeps its low edge.
int fit(int value, int lo, int hi) {
    return std::max(lo, std::min(value, hi));
}

enum class Side { Above, Right, Left, Below };

struct Candidate {
    QRect body;
    QPoint tip;
};

Candidate candidate(Side side, QSize size, const QRect& character, QPoint beak, const QRect& room) {
    QRect body(QPoint(0, 0), size);
    QPoint tip;
    switch (side) {
        case Side::Above:
            // The tip lands just above the beak, so the tail does not hide it.
            tip = QPoint(beak.x(), std::max(character.top() + 2, beak.y() - 12));
            body.moveBottom(character.top() - 2);
            body.moveLeft(fit(tip.x() - size.width() / 2, room.left(), room.right() - size.width() + 1));
            break;
        case Side::Below:
            tip = QPoint(beak.x(), character.bottom() - 2);
            body.moveTop(character.bottom() + kBalloonTail);
            body.moveLeft(fit(tip.x() - size.width() / 2, room.left(), room.right() - size.width() + 1));
            break;
        case Side::Right:
            tip = QPoint(std::min(character.right(), beak.x() + 6), beak.y());
            body.moveLeft(character.right() + kBalloonTail);
            body.moveTop(fit(tip.y() - size.height() / 2, room.top(), room.bottom() - size.height() + 1));
            break;
        case Side::Left:
            tip = QPoint(character.left() + 2, beak.y());
            body.moveRight(character.left() - kBalloonTail);
            body.moveTop(fit(tip.y() - size.height() / 2, room.top(), room.bottom() - size.height() + 1));
            break;
    }
    return {body, tip};
}

QPolygon tailFor(const QRect& body, QPoint tip) {
    const int inset = kBalloonRadius + kTailHalfBase;
    // The tail leaves from the body edge facing the tip, as near to the tip as the rounded corners allow.
    if (tip.y() > body.bottom() || tip.y() < body.top()) {
        const int y = tip.y() > body.bottom() ? body.bottom() : body.top();
        const int x = fit(tip.x(), body.left() + inset, body.right() - inset);
        return QPolygon({QPoint(x - kTailHalfBase, y), tip, QPoint(x + kTailHalfBase, y)});
    }
    const int x = tip.x() < body.left() ? body.left() : body.right();
    const int y = fit(tip.y(), body.top() + inset, body.bottom() - inset);
    return QPolygon({QPoint(x, y - kTailHalfBase), tip, QPoint(x, y + kTailHalfBase)});
}

}  // namespace

BalloonGeometry placeBalloon(QSize body, const QRect& character, QPoint beak, const QRect& screen) {
    const QRect room = screen.adjusted(kScreenMargin, kScreenMargin, -kScreenMargin, -kScreenMargin);
    std::optional<Candidate> chosen;
    for (Side side : {Side::Above, Side::Right, Side::Left, Side::Below}) {
        const Candidate c = candidate(side, body, character, beak, room);
        if (room.contains(c.body)) {
            chosen = c;
            break;
        }
    }
    // Nowhere fits whole: above, pushed inside the screen as far as it goes.
    if (!chosen) {
        chosen = candidate(Side::Above, body, character, beak, room);
        chosen->body.moveTop(std::max(chosen->body.top(), room.top()));
    }
    QPolygon tail = tailFor(chosen->body, chosen->tip);
    const QRect window = chosen->body.united(tail.boundingRect());
    BalloonGeometry g;
    g.window = window;
    g.body = chosen->body.translated(-window.topLeft());
    g.tail = tail.translated(-window.topLeft());
    return g;
}

}  // namespace agent
