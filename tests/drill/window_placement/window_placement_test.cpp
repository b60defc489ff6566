#include "drill/StartupTexts.h"
#include "drill/WindowPlacement.h"

#include <QStringList>

#include <gtest/gtest.h>

namespace drill {

TEST(WindowPlacement, CharacterGoesToTheLowerLeftCornerDividedByTwentyHalvesToEven) {
    EXPECT_EQ(characterPlacement(1500, 1200, 7230).x, 75);
    EXPECT_EQ(characterPlacement(1500, 1200, 7230).y, 422);  // 421.5 -> 422
    EXPECT_EQ(characterPlacement(1500, 1000, 7410).y, 420);  // 420.5 -> 420
    EXPECT_EQ(characterPlacement(30, 0, 0).x, 2);            // 1.5 -> 2
    EXPECT_EQ(characterPlacement(-30, 0, 0).x, -2);          // -1.5 -> -2
    EXPECT_EQ(characterPlacement(-10, 0, 0).x, 0);           // -0.5 -> 0
}

TEST(WindowPlacement, CentringIsFloatingPointAndUnclamped) {
    const TwipsPoint p = centredPosition(1280, 1024, 15, 15, 11745, 7230);
    EXPECT_DOUBLE_EQ(p.left, (1280 * 15 - 11745) / 2.0);
    EXPECT_DOUBLE_EQ(p.top, (1024 * 15 - 7230) / 2.0);
    const TwipsPoint big = centredPosition(640, 480, 15, 15, 11745, 7230);
    EXPECT_LT(big.left, 0);
    EXPECT_LT(big.top, 0);
}

TEST(StartupTexts, VersionCaptionKeepsItsLeadingSpacesAndAppendsTheVersion) {
    const QString caption = versionMenuDesignCaption() + versionSuffix(1, 2, 6);
    EXPECT_EQ(caption.left(132), QString(132, QLatin1Char(' ')));
    EXPECT_EQ(caption.mid(132), QStringLiteral("(バージョン1.2.6 )"));
}

TEST(StartupTexts, ExplanationIsThreeLinesJoinedByCrLfWithoutATrailingBreak) {
    const QStringList lines = explanationText().split(QStringLiteral("\r\n"));
    ASSERT_EQ(lines.size(), 3);
    EXPECT_EQ(lines[2], QStringLiteral("一万、十万、千万、一億、十億、百億、千億が苦手？"));
    EXPECT_FALSE(explanationDesignText().contains(QLatin1Char('\n')));
}

}  // namespace drill
