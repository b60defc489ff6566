#pragma once

// The character file: one UTF-8 JSON document holding a character's frames, its animations and
// which frames show the beak opening. Frames are SVG text (the Linux drill draws them) or PNG
// pictures in base64 (the Windows drill's file, rendered from the same SVG at build time).
// std C++ and nlohmann-json only, so both builds and the build-time packer check the same rules.

#include <cstdint>
#include <functional>
#include <map>
#include <string>
#include <string_view>
#include <vector>

namespace agent::character {

inline constexpr char kFormatName[] = "tallyvox-character";
inline constexpr int kFormatVersion = 1;
inline constexpr long long kMaxFileBytes = 8 * 1024 * 1024;
// Past the size a file gives, both drills read on in pieces of this size up to the limit.
inline constexpr long long kReadPieceBytes = 64 * 1024;
// What one file may ask the program to draw: frames are drawn when first needed and a bounded
// number kept, so these bounds plus that cache cap the memory any accepted file can take.
inline constexpr int kMaxFrames = 256;
inline constexpr int kMinSide = 16;
inline constexpr int kMaxSide = 512;
inline constexpr int kMaxStepMs = 60000;
// Shorter steps are drawn this long: a 1 ms step would keep the processor busy while idle.
inline constexpr int kMinStepMs = 20;
// Beak openings the voice reports: 0 closed .. 3 wide.
inline constexpr int kBeakOpenings = 4;
// JSON nested deeper than this is refused before it is built (a file of brackets alone would
// otherwise cost hundreds of megabytes).
inline constexpr int kMaxJsonDepth = 1024;

inline constexpr char kIdleAnimation[] = "idle";
inline constexpr char kBlinkAnimation[] = "blink";
inline constexpr char kShowAnimation[] = "show";

// "frameType" of the document; absent means SVG.
enum class FrameKind { Svg, Png };
inline constexpr char kFrameTypeKey[] = "frameType";
inline constexpr char kSvgFrameType[] = "svg";
inline constexpr char kPngFrameType[] = "png";

struct DocumentStep {
    std::string frame;
    int ms = 0;  // kMinStepMs .. kMaxStepMs
};

struct CharacterDocument {
    std::string id;
    std::string name;
    FrameKind frameKind = FrameKind::Svg;
    int width = 0;
    int height = 0;
    // Where the balloon's tail points, in character pixels.
    int beakX = 0;
    int beakY = 0;
    // SVG text, or the PNG file's bytes (already checked against the character's size).
    std::map<std::string, std::string> frames;
    std::map<std::string, std::vector<DocumentStep>> animations;
    // Closed first, widest last.
    std::vector<std::string> beakFrames;
};

// What is wrong with a document, phrased to follow the file's name.
struct DocumentFault {
    std::string what;
};

// Checks one SVG frame's text; throws DocumentFault with a reason that follows "frame "name" ".
using SvgFrameCheck = std::function<void(const std::string& svg)>;

// Parses and checks a whole document; throws DocumentFault at the first fault. expectedId is compared
// without regard to (ASCII) letter case. accepted is the kind of frame the program can draw; SVG
// frames go through checkSvg, PNG frames are checked here from their headers.
CharacterDocument parseCharacterDocument(std::string_view json, std::string_view expectedId,
                                         FrameKind accepted, const SvgFrameCheck& checkSvg = {});

// The message for every fault of a character file: "The character file "path" cannot be used: what."
std::string characterFileMessage(std::string_view path, std::string_view what);

// "1e+308", "1.0000001", "32": a JSON number as the messages show it (shortest exact digits; the
// exponent form when it is no longer than the plain one).
std::string describeNumber(double value);

}  // namespace agent::character
