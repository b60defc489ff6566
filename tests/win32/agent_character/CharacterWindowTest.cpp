#include <windows.h>

#include "core/agent/AgentApi.h"
#include "core/character/PngFrame.h"
#include "win32/agent/CharacterWindow.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <fstream>
#include <functional>
#include <iterator>
#include <string>

namespace {

using ::testing::HasSubstr;
using win32::agent::CharacterWindow;
using win32::agent::loadCharacterWindow;

std::string readAll(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

struct PixelCount {
    int clear = 0, partial = 0, solid = 0, notPremultiplied = 0;
};

// Alpha of the 128 x 128 BGRA pixels, and colour never above alpha as premultiplied pixels must be.
PixelCount countPixels(const std::uint32_t* pixels) {
    PixelCount n;
    for (int i = 0; i < 128 * 128; ++i) {
        const std::uint32_t p = pixels[i];
        const unsigned a = p >> 24;
        n.clear += a == 0;
        n.partial += a > 0 && a < 255;
        n.solid += a == 255;
        n.notPremultiplied += ((p >> 16) & 0xFF) > a || ((p >> 8) & 0xFF) > a || (p & 0xFF) > a;
    }
    return n;
}

// The hidden window the parrot belongs to, as the drill's main window would be.
class CharacterWindowTest : public ::testing::Test {
protected:
    void SetUp() override {
        owner_ = CreateWindowExW(0, L"STATIC", L"owner", WS_OVERLAPPEDWINDOW, 0, 0, 300, 200, nullptr,
                                 nullptr, GetModuleHandleW(nullptr), nullptr);
        ASSERT_NE(owner_, nullptr);
    }
    void TearDown() override { DestroyWindow(owner_); }

    // Runs the window thread's messages until done() holds; false if it never does.
    static bool pumpUntil(const std::function<bool()>& done) {
        for (int i = 0; i < 1000 && !done(); ++i) {
            MSG msg;
            while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&msg);
            Sleep(10);
        }
        return done();
    }

    HWND owner_ = nullptr;
};

TEST_F(CharacterWindowTest, RealFileShowsALayeredOwnedWindowWithSoftEdges) {
    auto parrot = loadCharacterWindow(TVX_CHARACTER_FILE, owner_);
    HWND w = parrot->hwnd();
    EXPECT_FALSE(IsWindowVisible(w)) << "nothing is shown before show()";
    parrot->show();
    EXPECT_TRUE(IsWindowVisible(w));
    EXPECT_EQ(parrot->shownFrame(), "show_1");
    parrot->moveTo(75, 422);
    RECT r{};
    GetWindowRect(w, &r);
    EXPECT_EQ((std::vector<long>{r.left, r.top, r.right, r.bottom}),
              (std::vector<long>{75, 422, 75 + 128, 422 + 128}));
    EXPECT_TRUE(GetWindowLongPtrW(w, GWL_EXSTYLE) & WS_EX_LAYERED);
    EXPECT_EQ(GetWindow(w, GW_OWNER), owner_);

    // What UpdateLayeredWindow was handed: clear and soft pixels (the show fades in), premultiplied.
    PixelCount first = countPixels(parrot->dibPixels());
    EXPECT_GT(first.clear, 1000);
    EXPECT_GT(first.partial, 20);
    EXPECT_EQ(first.notPremultiplied, 0);

    // The window's own timer runs the show to its end; then the voice opens the beak.
    parrot->setMouth(1.0);
    EXPECT_EQ(parrot->shownFrame(), "show_1") << "the show is never cut short";
    EXPECT_TRUE(pumpUntil([&] { return parrot->shownFrame() == "beak_3"; })) << parrot->shownFrame();
    parrot->setMouth(0);
    EXPECT_EQ(parrot->shownFrame(), "idle");
    const PixelCount idle = countPixels(parrot->dibPixels());
    EXPECT_GT(idle.solid, 1000);
    EXPECT_GT(idle.partial, 20);
    EXPECT_EQ(idle.notPremultiplied, 0);
}

TEST_F(CharacterWindowTest, BalloonShowsTheTextBesideTheParrotAndCloses) {
    auto parrot = loadCharacterWindow(TVX_CHARACTER_FILE, owner_);
    parrot->show();
    parrot->moveTo(100, 200);
    EXPECT_EQ(parrot->balloonFontSize(), 30);
    HWND balloon = parrot->balloon().hwnd();
    EXPECT_EQ(GetWindow(balloon, GW_OWNER), owner_);
    parrot->openBalloon("");
    EXPECT_FALSE(IsWindowVisible(balloon)) << "an empty text opens none";

    parrot->openBalloon("12,345,678");
    EXPECT_TRUE(IsWindowVisible(balloon));
    EXPECT_EQ(parrot->balloon().text(), L"12,345,678");
    RECT big{};
    GetWindowRect(balloon, &big);
    EXPECT_EQ(big.left, 100 + 128 + agent::character::kBalloonGap);
    parrot->setBalloonFontSize(12);
    parrot->openBalloon("12,345,678");
    RECT small{};
    GetWindowRect(balloon, &small);
    EXPECT_LT(small.bottom - small.top, big.bottom - big.top);
    // The balloon follows the parrot.
    parrot->moveTo(300, 200);
    GetWindowRect(balloon, &small);
    EXPECT_EQ(small.left, 300 + 128 + agent::character::kBalloonGap);
    parrot->closeBalloon();
    EXPECT_FALSE(IsWindowVisible(balloon));
}

struct Hostile {
    const char* name;
    std::function<std::string(std::string)> make;  // from the real file's text to the hostile one
    const char* message;
};

class HostileFileTest : public CharacterWindowTest, public ::testing::WithParamInterface<Hostile> {};

std::string replaced(std::string s, const std::string& from, const std::string& to) {
    const auto at = s.find(from);
    if (at != std::string::npos) s.replace(at, from.size(), to);
    return s;
}

// One PNG frame of the real file, re-encoded with its pixel data cut short behind a sound header.
std::string brokenPixels(std::string file) {
    const auto key = file.find("\"beak_2\":\"");
    const auto start = key + 10;
    const auto end = file.find('"', start);
    std::string png;
    agent::character::decodeBase64(file.substr(start, end - start), png);
    png.resize(60);
    return file.replace(start, end - start, agent::character::encodeBase64(png));
}

TEST_P(HostileFileTest, IsRefusedWithOneMessageNamingFileAndFault) {
    char folder[MAX_PATH];
    GetTempPathA(MAX_PATH, folder);
    const std::string path = std::string(folder) + "tvx-hostile-" + GetParam().name + ".acs";
    const std::string bytes = GetParam().make(readAll(TVX_CHARACTER_FILE));
    std::ofstream(path, std::ios::binary) << bytes;
    try {
        loadCharacterWindow(path, owner_);
        ADD_FAILURE() << "loaded " << GetParam().name;
    } catch (const agent::AgentError& e) {
        EXPECT_THAT(e.what(), HasSubstr("The character file \"" + path + "\" cannot be used: "));
        EXPECT_THAT(e.what(), HasSubstr(GetParam().message));
    }
    DeleteFileA(path.c_str());
}

INSTANTIATE_TEST_SUITE_P(
    Files, HostileFileTest,
    ::testing::Values(
        Hostile{"TooLarge", [](std::string s) { return s + std::string(8 * 1024 * 1024, ' '); },
                "it is larger than 8 MiB"},
        Hostile{"NotJson", [](std::string s) { return s.substr(0, 100); }, "it is not valid JSON ("},
        Hostile{"LinuxFile", [](std::string s) { return replaced(s, "\"frameType\":\"png\",", ""); },
                "it holds SVG frames, made for the Linux drill; this program draws PNG frames"},
        Hostile{"HugeSides", [](std::string s) { return replaced(s, "\"width\":128", "\"width\":4096"); },
                "size \"width\" must be a whole number from 16 to 512, not 4096"},
        Hostile{"SidesOfOtherFrames",
                [](std::string s) { return replaced(s, "\"height\":128", "\"height\":64"); },
                "is a picture of 128 x 128 pixels; the character is 128 x 64"},
        Hostile{"BrokenPixels", brokenPixels, "frame \"beak_2\" cannot be decoded as a PNG picture"},
        Hostile{"OtherCharacter",
                [](std::string s) { return replaced(s, "\"id\":\"peedy\"", "\"id\":\"polly\""); },
                "it holds the character \"polly\", not \"peedy\""}),
    [](const ::testing::TestParamInfo<Hostile>& info) { return std::string(info.param.name); });

TEST_F(CharacterWindowTest, MissingFileAndFolderAreNamed) {
    char folder[MAX_PATH];
    GetTempPathA(MAX_PATH, folder);
    for (const auto& [path, fault] : {std::pair<std::string, std::string>{
                                          std::string(folder) + "tvx-absent.acs", "the file does not exist"},
                                      {std::string(folder), "it is a folder, not a file"}}) {
        try {
            loadCharacterWindow(path, owner_);
            ADD_FAILURE() << path;
        } catch (const agent::AgentError& e) {
            EXPECT_EQ(std::string(e.what()),
                      "The character file \"" + path + "\" cannot be used: " + fault + ".");
        }
    }
}

}  // namespace
