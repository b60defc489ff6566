#include "core/drill/StartupTexts.h"
#include "core/drill/WindowPlacement.h"

#include <string>

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

TEST(StartupTexts, VersionCaptionKeepsItsLeadingSpacesAndAppendsTheVersion) {
    const std::string caption = versionMenuDesignCaption() + versionSuffix(1, 2, 6);
    EXPECT_EQ(caption.substr(0, 132), std::string(132, ' '));
    EXPECT_EQ(caption.substr(132), "(バージョン1.2.6 )");
}

TEST(StartupTexts, ExplanationIsThreeLinesJoinedByCrLfWithoutATrailingBreak) {
    const std::string text = explanationText();
    const std::size_t first = text.find("\r\n");
    const std::size_t second = text.find("\r\n", first + 2);
    ASSERT_NE(second, std::string::npos);
    EXPECT_EQ(text.find("\r\n", second + 2), std::string::npos);
    EXPECT_EQ(text.substr(second + 2), "一万、十万、千万、一億、十億、百億、千億が苦手？");
    EXPECT_EQ(explanationDesignText().find('\n'), std::string::npos);
}

}  // namespace drill
