#include "core/character/CharacterDocument.h"
#include "core/character/Excerpt.h"
#include "core/character/PngFrame.h"

#include <nlohmann/json.hpp>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <functional>
#include <string>

namespace {

using agent::character::CharacterDocument;
using agent::character::DocumentFault;
using agent::character::FrameKind;
using agent::character::parseCharacterDocument;
using Json = nlohmann::json;
using ::testing::HasSubstr;

// 16 x 16 and 20 x 16 RGBA pictures.
const char* kPng16 =
    "iVBORw0KGgoAAAANSUhEUgAAABAAAAAQCAYAAAAf8/"
    "9hAAAAGUlEQVR42mMwXmXcQAlmGDVg1IBRA4aLAQB7pJAQqdDHEQAAAABJRU5ErkJggg==";
const char* kPng20x16 =
    "iVBORw0KGgoAAAANSUhEUgAAABQAAAAQCAYAAAAWGF8bAAAAHElEQVR42mMwXmXcQE3MMGrgqIGjBo4aODQNBACpL/"
    "QQkvGO3wAAAABJRU5ErkJggg==";

std::string base64Of(const std::string& bytes) {
    return agent::character::encodeBase64(bytes);
}

std::string bytesOf(const char* base64) {
    std::string out;
    EXPECT_TRUE(agent::character::decodeBase64(base64, out));
    return out;
}

// The smallest Windows character file the loader accepts.
Json pngDocument() {
    Json frames = Json::object();
    for (const char* name : {"rest", "shut", "b1", "b2", "b3"}) frames[name] = kPng16;
    return {{"format", "tallyvox-character"},
            {"version", 1},
            {"id", "peedy"},
            {"frameType", "png"},
            {"size", {{"width", 16}, {"height", 16}}},
            {"beak", {{"x", 10}, {"y", 5}}},
            {"frames", frames},
            {"animations",
             {{"idle", {{{"frame", "rest"}, {"ms", 1000}}}},
              {"blink", {{{"frame", "shut"}, {"ms", 80}}}},
              {"show", {{{"frame", "b1"}, {"ms", 50}}, {{"frame", "rest"}, {"ms", 5}}}}}},
            {"beakFrames", {"rest", "b1", "b2", "b3"}}};
}

std::string faultOf(const std::string& json, FrameKind accepted = FrameKind::Png) {
    try {
        parseCharacterDocument(json, "peedy", accepted);
    } catch (const DocumentFault& f) {
        return f.what;
    }
    return "(accepted)";
}

TEST(CharacterDocument, PngFileKeepsThePictureBytesAndTheRules) {
    const CharacterDocument doc = parseCharacterDocument(pngDocument().dump(), "PEEDY", FrameKind::Png);
    EXPECT_EQ(doc.frameKind, FrameKind::Png);
    EXPECT_EQ(doc.frames.at("b2"), bytesOf(kPng16));
    EXPECT_EQ(doc.animations.at("show")[1].ms, agent::character::kMinStepMs);
    EXPECT_EQ(doc.beakFrames.back(), "b3");
}

struct PngFault {
    const char* name;
    std::function<void(Json&)> breakIt;
    const char* message;
};

class PngFaultTest : public ::testing::TestWithParam<PngFault> {};

TEST_P(PngFaultTest, IsRefusedBeforeAnyDecoderSeesIt) {
    Json doc = pngDocument();
    GetParam().breakIt(doc);
    EXPECT_THAT(faultOf(doc.dump()), HasSubstr(GetParam().message));
}

std::string headerWithSize(std::uint32_t w, std::uint32_t h, bool fixChecksum);

INSTANTIATE_TEST_SUITE_P(
    Frames, PngFaultTest,
    ::testing::Values(
        PngFault{"OtherSize", [](Json& d) { d["frames"]["b2"] = kPng20x16; },
                 "frame \"b2\" is a picture of 20 x 16 pixels; the character is 16 x 16"},
        // A header claiming 60000 x 60000 (14 GB once decoded) behind a correct checksum.
        PngFault{"HugeClaim",
                 [](Json& d) { d["frames"]["b2"] = base64Of(headerWithSize(60000, 60000, true)); },
                 "frame \"b2\" is a picture of 60000 x 60000 pixels; the character is 16 x 16"},
        PngFault{"SizeEditedChecksumNot",
                 [](Json& d) { d["frames"]["b2"] = base64Of(headerWithSize(16, 17, false)); },
                 "frame \"b2\" is a damaged PNG picture (its header checksum is wrong)"},
        PngFault{"Truncated", [](Json& d) { d["frames"]["b2"] = base64Of(bytesOf(kPng16).substr(0, 30)); },
                 "frame \"b2\" is not a PNG picture"},
        PngFault{"SvgText", [](Json& d) { d["frames"]["b2"] = "<svg/>"; },
                 "frame \"b2\" is not PNG data in base64"},
        PngFault{"BadPadding", [](Json& d) { d["frames"]["b2"] = std::string(kPng16) + "="; },
                 "frame \"b2\" is not PNG data in base64"},
        PngFault{"GifInside", [](Json& d) { d["frames"]["b2"] = base64Of("GIF89a" + std::string(40, '\0')); },
                 "frame \"b2\" is not a PNG picture"},
        PngFault{"Empty", [](Json& d) { d["frames"]["b2"] = ""; }, "frame \"b2\" holds no PNG data"},
        PngFault{"UnknownType", [](Json& d) { d["frameType"] = "bmp"; },
                 "its \"frameType\" must be \"svg\" or \"png\", not \"bmp\" (text)"},
        PngFault{"SvgFileOnWindows", [](Json& d) { d.erase("frameType"); },
                 "it holds SVG frames, made for the Linux drill; this program draws PNG frames"}),
    [](const ::testing::TestParamInfo<PngFault>& info) { return std::string(info.param.name); });

// kPng16's header with other sides; its checksum recomputed or left as it was.
std::string headerWithSize(std::uint32_t w, std::uint32_t h, bool fixChecksum) {
    std::string png = bytesOf(kPng16);
    for (int k = 0; k < 4; ++k) {
        png[16 + k] = static_cast<char>(w >> (24 - 8 * k));
        png[20 + k] = static_cast<char>(h >> (24 - 8 * k));
    }
    if (fixChecksum) {
        std::uint32_t c = 0xFFFFFFFFu;
        for (int i = 12; i < 29; ++i) {
            c ^= static_cast<unsigned char>(png[i]);
            for (int k = 0; k < 8; ++k) c = (c & 1) ? 0xEDB88320u ^ (c >> 1) : c >> 1;
        }
        c ^= 0xFFFFFFFFu;
        for (int k = 0; k < 4; ++k) png[29 + k] = static_cast<char>(c >> (24 - 8 * k));
    }
    return png;
}

TEST(CharacterDocument, PngFileOnLinuxAndHostileJson) {
    EXPECT_EQ(faultOf(pngDocument().dump(), FrameKind::Svg),
              "it holds PNG frames, made for the Windows drill; this program draws SVG frames");
    // Brackets alone, 8 MB deep, would build millions of nested lists.
    EXPECT_EQ(faultOf(std::string(100000, '[')), "it is not valid JSON (values nested more than 1024 deep)");
    EXPECT_THAT(faultOf("{\"format\": \"tallyvox-character\", "), HasSubstr("it is not valid JSON ("));
    // The parser's reason quotes the file (here half a character): made readable and short.
    const std::string junk = faultOf("{\"a\": tru\u202E" + std::string(5000, 'x'));
    EXPECT_THAT(junk, HasSubstr("tru\xEF\xBF\xBD' at byte 10)"));
    EXPECT_LT(junk.size(), 300u);
    EXPECT_EQ(faultOf("[1]"), "it is not a JSON object");
}

// Messages show numbers as the file wrote them: shortest digits, exponent only when shorter.
TEST(CharacterDocument, NumbersInMessages) {
    const std::pair<double, const char*> cases[] = {
        {1e308, "1e+308"}, {-1e308, "-1e+308"},    {1.0000001, "1.0000001"},
        {1024, "1024"},    {32.5, "32.5"},         {1e5, "1e+05"},
        {10000, "10000"},  {0.0001, "1e-04"},      {0.00012, "0.00012"},
        {0.001, "0.001"},  {12300000, "12300000"}, {123000000, "1.23e+08"},
        {0, "0"},          {5e-324, "5e-324"},     {12345678901234567000.0, "12345678901234567000"}};
    for (const auto& [value, text] : cases) EXPECT_EQ(agent::character::describeNumber(value), text) << text;
}

// Cut in UTF-16 units like the Qt front end's messages: an escape or a character is never split.
TEST(CharacterDocument, ExcerptsStayReadableAndShort) {
    using agent::character::readableExcerpt;
    EXPECT_EQ(readableExcerpt(std::string("pee\0dy", 6)), "pee\\0dy");
    EXPECT_EQ(readableExcerpt("a\u202Eb\n"), "a\\u202Eb\\n");
    EXPECT_EQ(readableExcerpt(std::string(10, '\n'), 9), "\\n\\n\\n\\n…");
    EXPECT_EQ(readableExcerpt("\xF0\x9F\x90\xA6\xF0\x9F\x90\xA6", 3), "\xF0\x9F\x90\xA6…");
    EXPECT_EQ(readableExcerpt("ok\xFFok"), "ok\xEF\xBF\xBDok");
    EXPECT_EQ(agent::character::quotedExcerpt("abcdef", 4), "\"abc…\"");
}

}  // namespace
