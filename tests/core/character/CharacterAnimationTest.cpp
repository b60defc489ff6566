#include "core/character/CharacterAnimation.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using agent::character::CharacterAnimation;
using agent::character::CharacterDocument;
using agent::character::PixelRect;

CharacterDocument document() {
    CharacterDocument doc;
    doc.animations = {{"idle", {{"rest", 1000}, {"look", 900}, {"tilt", 800}}},
                      {"blink", {{"half", 60}, {"shut", 90}}},
                      {"show", {{"s1", 70}, {"s2", 20}}}};
    doc.beakFrames = {"rest", "b1", "b2", "b3", "b4", "b5", "b6"};
    return doc;
}

// Frame and delay after each timer event, as the window would see them.
TEST(CharacterAnimation, ShowsOnceThenIdlesAndBlinksBackToWhereIdleWas) {
    CharacterAnimation a(document());
    std::vector<std::string> seen;
    std::vector<int> delays{a.playShow()};
    seen.push_back(a.frame());
    EXPECT_EQ(a.blink(), 0) << "no blink during the show";
    for (int i = 0; i < 3; ++i) delays.push_back(a.step()), seen.push_back(a.frame());
    delays.push_back(a.blink()), seen.push_back(a.frame());
    for (int i = 0; i < 2; ++i) delays.push_back(a.step()), seen.push_back(a.frame());
    EXPECT_EQ(seen, (std::vector<std::string>{"s1", "s2", "rest", "look", "half", "shut", "look"}));
    EXPECT_EQ(delays, (std::vector<int>{70, 20, 1000, 900, 60, 90, 900}));
}

TEST(CharacterAnimation, SpeechOpensTheBeakButNeverCutsTheShowShort) {
    CharacterAnimation a(document());
    a.playShow();
    a.setMouth(1.0);
    EXPECT_EQ(a.frame(), "s1");
    a.step();
    a.step();
    // Four openings spread over seven beak frames; speaking idles without blinking.
    const std::pair<double, const char*> mouths[] = {{1.0, "b6"}, {0.34, "b2"}, {0.6, "b4"}, {7.0, "b6"}};
    for (const auto& [openness, frame] : mouths) {
        a.setMouth(openness);
        EXPECT_EQ(a.frame(), frame) << openness;
    }
    EXPECT_EQ(a.blink(), 0);
    a.setMouth(0);
    EXPECT_EQ(a.frame(), "rest");
}

TEST(CharacterAnimation, BalloonGoesRightOfTheBeakElseLeftAndStaysOnScreen) {
    const PixelRect work{0, 0, 1000, 700};
    struct Case {
        PixelRect character;
        int beakY;
        int width, height;
        PixelRect expected;
    } cases[] = {
        {{100, 300, 128, 128}, 354, 200, 60, {234, 324, 200, 60}},
        {{800, 300, 128, 128}, 354, 200, 60, {594, 324, 200, 60}},
        {{100, 650, 128, 128}, 704, 200, 60, {234, 640, 200, 60}},
        {{100, 0, 128, 128}, 10, 200, 60, {234, 0, 200, 60}},
    };
    for (const Case& c : cases) {
        const PixelRect r =
            agent::character::placeBalloonBeside(c.width, c.height, c.character, c.beakY, work);
        EXPECT_EQ((std::vector<int>{r.left, r.top, r.width, r.height}),
                  (std::vector<int>{c.expected.left, c.expected.top, c.expected.width, c.expected.height}));
    }
}

}  // namespace
