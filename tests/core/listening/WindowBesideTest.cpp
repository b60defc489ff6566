#include "core/listening/WindowBeside.h"

#include <gtest/gtest.h>

#include <optional>
#include <ostream>
#include <tuple>

namespace ui {

bool operator==(const ScreenRect& a, const ScreenRect& b) {
    return std::tie(a.x, a.y, a.width, a.height) == std::tie(b.x, b.y, b.width, b.height);
}
std::ostream& operator<<(std::ostream& os, const ScreenRect& r) {
    return os << "(" << r.x << ", " << r.y << ", " << r.width << "x" << r.height << ")";
}

}  // namespace ui

namespace drill {
namespace {

constexpr ScreenRect kNone{0, 0, 0, 0};

struct Row {
    const char* what;
    ScreenRect screen;
    ScreenRect owner;
    ScreenRect keepVisible;
    std::optional<ScreenRect> character;
    int width;
    int height;
    ScreenRect window;
    std::optional<ScreenRect> characterTo;
};

// The laptop rows are the drill as openbox frames it (785x466, centred; its place columns; the
// character at the window's lower-left corner) with the test window's 500x682 frame.
const Row kRows[] = {
    {"room on the right",
     {0, 0, 1920, 1080},
     {500, 200, 800, 480},
     kNone,
     {},
     600,
     700,
     {1308, 200, 600, 700},
     {}},
    {"room only on the left",
     {0, 0, 1920, 1080},
     {1100, 200, 800, 480},
     kNone,
     {},
     600,
     700,
     {492, 200, 600, 700},
     {}},
    {"no room: the side hiding less of the owner, moved up to fit",
     {0, 0, 1280, 1024},
     {248, 500, 783, 480},
     kNone,
     {},
     600,
     700,
     {680, 324, 600, 700},
     {}},
    {"larger than the screen: fitted to it",
     {0, 0, 1920, 1080},
     {0, 0, 100, 100},
     kNone,
     {},
     3000,
     3000,
     {0, 0, 1920, 1080},
     {}},
    {"1920x1080: beside, the character stays",
     {0, 0, 1920, 1080},
     {567, 307, 785, 466},
     {1161, 348, 182, 393},
     ScreenRect{425, 580, 128, 128},
     500,
     682,
     {1360, 307, 500, 682},
     {}},
    {"1366x768: over the drill's left, the character below the drill",
     {0, 0, 1366, 768},
     {291, 151, 785, 466},
     {885, 192, 182, 393},
     ScreenRect{218, 463, 128, 128},
     500,
     682,
     {0, 86, 500, 682},
     ScreenRect{508, 640, 128, 128}},
    {"1024x768",
     {0, 0, 1024, 768},
     {120, 151, 785, 466},
     {714, 192, 182, 393},
     ScreenRect{90, 463, 128, 128},
     500,
     682,
     {0, 86, 500, 682},
     ScreenRect{508, 640, 128, 128}},
    {"1600x1000: the character beside the test's lower edge",
     {0, 0, 1600, 1000},
     {408, 267, 785, 466},
     {1002, 308, 182, 393},
     ScreenRect{306, 550, 128, 128},
     500,
     682,
     {0, 267, 500, 682},
     ScreenRect{508, 821, 128, 128}},
    {"the place columns outweigh the rest of the owner",
     {0, 0, 1366, 768},
     {100, 151, 785, 466},
     {694, 192, 182, 393},
     {},
     500,
     682,
     {0, 86, 500, 682},
     {}},
    {"both sides free: not on the character, though the other side is roomier",
     {0, 0, 2560, 1440},
     {1100, 400, 785, 466},
     {1694, 441, 182, 393},
     ScreenRect{825, 650, 128, 128},
     500,
     682,
     {1893, 400, 500, 682},
     {}},
    {"taller than a netbook's screen",
     {0, 0, 1024, 600},
     {120, 67, 785, 466},
     kNone,
     {},
     500,
     682,
     {0, 0, 500, 600},
     {}},
};

TEST(WindowBeside, PlacesTheTestWindowAndMovesACoveredCharacter) {
    for (const Row& row : kRows) {
        SCOPED_TRACE(row.what);
        const BesidePlacement got =
            BesideOwner({row.screen, row.owner, row.keepVisible, row.character}, row.width, row.height);
        EXPECT_EQ(got.window, row.window);
        EXPECT_EQ(got.character, row.characterTo);
    }
}

}  // namespace
}  // namespace drill
