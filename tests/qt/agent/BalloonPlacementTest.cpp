#include "qt/agent/BalloonPlacement.h"

#include <gtest/gtest.h>

namespace {

using agent::BalloonGeometry;
using agent::placeBalloon;

const QRect kScreen(0, 0, 1024, 768);
const QSize kBody(300, 80);

QRect bodyOnScreen(const BalloonGeometry& g) {
    return g.body.translated(g.window.topLeft());
}
QPoint tipOnScreen(const BalloonGeometry& g) {
    return g.tail.point(1) + g.window.topLeft();
}

void expectSound(const BalloonGeometry& g, const QRect& character) {
    EXPECT_TRUE(kScreen.contains(bodyOnScreen(g))) << "body off screen";
    EXPECT_FALSE(bodyOnScreen(g).intersects(character)) << "body covers the character";
    EXPECT_TRUE(g.window.contains(g.tail.boundingRect().translated(g.window.topLeft())));
    EXPECT_TRUE(QRect(QPoint(0, 0), g.window.size()).contains(g.body));
}

TEST(BalloonPlacement, SitsAboveWithTheTailAtTheBeak) {
    const QRect character(400, 400, 128, 128);
    const QPoint beak(500, 454);
    const BalloonGeometry g = placeBalloon(kBody, character, beak, kScreen);
    expectSound(g, character);
    EXPECT_LT(bodyOnScreen(g).bottom(), character.top());
    EXPECT_EQ(tipOnScreen(g).x(), beak.x());
    EXPECT_GT(tipOnScreen(g).y(), character.top());
    EXPECT_LE(tipOnScreen(g).y(), beak.y());
    // Centred over the beak when there is room.
    EXPECT_NEAR(bodyOnScreen(g).center().x(), beak.x(), 1);
}

TEST(BalloonPlacement, SlidesAlongTheTopToStayOnScreen) {
    const QRect character(960, 400, 128, 128);  // partly off the right edge
    const BalloonGeometry g = placeBalloon(kBody, character, QPoint(1060, 454), kScreen);
    expectSound(g, character);
    EXPECT_LT(bodyOnScreen(g).bottom(), character.top());
    EXPECT_LE(bodyOnScreen(g).right(), kScreen.right());
}

TEST(BalloonPlacement, GoesBesideOrBelowWhenThereIsNoRoomAbove) {
    const QRect nearTop(100, 10, 128, 128);
    BalloonGeometry g = placeBalloon(kBody, nearTop, QPoint(200, 64), kScreen);
    expectSound(g, nearTop);
    EXPECT_GT(bodyOnScreen(g).left(), nearTop.right());

    const QRect topRight(880, 10, 128, 128);
    g = placeBalloon(kBody, topRight, QPoint(980, 64), kScreen);
    expectSound(g, topRight);
    EXPECT_LT(bodyOnScreen(g).right(), topRight.left());

    const QSize wide(900, 80);
    g = placeBalloon(wide, nearTop, QPoint(200, 64), kScreen);
    expectSound(g, nearTop);
    EXPECT_GT(bodyOnScreen(g).top(), nearTop.bottom());
    EXPECT_LT(tipOnScreen(g).y(), nearTop.bottom() + 1);
}

TEST(BalloonPlacement, TooLargeForAnySideStillStartsOnScreen) {
    const QRect character(400, 300, 128, 128);
    const BalloonGeometry g = placeBalloon(QSize(1000, 700), character, QPoint(500, 354), kScreen);
    EXPECT_GE(bodyOnScreen(g).top(), kScreen.top());
    EXPECT_GE(bodyOnScreen(g).left(), kScreen.left());
}

}  // namespace
