#include "core/character/CharacterDocument.h"

#include "core/character/Excerpt.h"
#include "core/character/PngFrame.h"

#include <nlohmann/json.hpp>

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdlib>
#include <initializer_list>

namespace agent::character {
namespace {

using Json = nlohmann::json;

[[noreturn]] void fault(std::string what) {
    throw DocumentFault{std::move(what)};
}

std::string quotedText(std::string_view s) {
    return quotedExcerpt(s);
}

// What a value really is, for messages: 1.0000001 stays 1.0000001, and "1" is text, not a number.
std::string describe(const Json* v) {
    if (v == nullptr) return "(none)";
    switch (v->type()) {
        case Json::value_t::number_integer:
        case Json::value_t::number_unsigned:
        case Json::value_t::number_float:
            return describeNumber(v->get<double>());
        case Json::value_t::string:
            return quotedText(v->get_ref<const std::string&>()) + " (text)";
        case Json::value_t::boolean:
            return v->get<bool>() ? "true" : "false";
        case Json::value_t::null:
            return "null";
        case Json::value_t::array:
            return "a list";
        case Json::value_t::object:
            return "an object";
        default:
            break;
    }
    return "(none)";
}

// The member key of object o, or nullptr.
const Json* member(const Json& o, const char* key) {
    if (!o.is_object()) return nullptr;
    const auto it = o.find(key);
    return it == o.end() ? nullptr : &*it;
}

// A member's text, or "" when it is absent or not text.
std::string text(const Json* v) {
    return v != nullptr && v->is_string() ? v->get<std::string>() : std::string();
}

const Json& requireObject(const Json& parent, const char* key) {
    const Json* v = member(parent, key);
    if (v == nullptr) fault("it has no \"" + std::string(key) + "\" entry");
    if (!v->is_object()) fault("its \"" + std::string(key) + "\" entry is not an object");
    return *v;
}

// A whole number within [lo, hi]; JSON numbers are doubles, so 12.5 must not pass as 12.
// The range is checked on the double: converting 1e308 to int first would be undefined.
int requireInt(const Json& parent, const char* key, int lo, int hi, const std::string& where) {
    const Json* v = member(parent, key);
    const bool number = v != nullptr && v->is_number();
    const double d = number ? v->get<double>() : 0.0;
    if (!number || !(d >= lo && d <= hi) || d != std::floor(d))
        fault(where + " \"" + key + "\" must be a whole number from " + std::to_string(lo) + " to " +
              std::to_string(hi) + ", not " + describe(v));
    return static_cast<int>(d);
}

bool equalsIgnoringAsciiCase(std::string_view a, std::string_view b) {
    const auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; };
    return a.size() == b.size() &&
           std::equal(a.begin(), a.end(), b.begin(), [&](char x, char y) { return lower(x) == lower(y); });
}

void checkHeader(const Json& root, std::string_view expectedId, CharacterDocument& out) {
    const Json* format = member(root, "format");
    if (text(format) != kFormatName)
        fault(std::string("it is not a ") + kFormatName + " file (format " +
              (format != nullptr && format->is_string() ? quotedText(text(format)) : describe(format)) + ")");
    const Json* version = member(root, "version");
    if (version == nullptr || !version->is_number() || version->get<double>() != kFormatVersion)
        fault("it has format version " + describe(version) + "; only version " +
              std::to_string(kFormatVersion) + " is understood");
    out.id = text(member(root, "id"));
    if (out.id.empty()) fault("it names no character id; expected " + quotedText(expectedId));
    if (!equalsIgnoringAsciiCase(out.id, expectedId))
        fault("it holds the character " + quotedText(out.id) + ", not " + quotedText(expectedId));
    const Json* name = member(root, "name");
    out.name = name != nullptr && name->is_string() ? text(name) : out.id;
}

void readFrameKind(const Json& root, FrameKind accepted, CharacterDocument& out) {
    const Json* type = member(root, kFrameTypeKey);
    if (type == nullptr || text(type) == kSvgFrameType)
        out.frameKind = FrameKind::Svg;
    else if (text(type) == kPngFrameType)
        out.frameKind = FrameKind::Png;
    else
        fault(std::string("its \"") + kFrameTypeKey + "\" must be \"" + kSvgFrameType + "\" or \"" +
              kPngFrameType + "\", not " + describe(type));
    if (out.frameKind != accepted)
        fault(out.frameKind == FrameKind::Png
                  ? "it holds PNG frames, made for the Windows drill; this program draws SVG frames"
                  : "it holds SVG frames, made for the Linux drill; this program draws PNG frames");
}

void readGeometry(const Json& root, CharacterDocument& out) {
    const Json& size = requireObject(root, "size");
    // One statement each: the first fault reported must not depend on argument evaluation order.
    out.width = requireInt(size, "width", kMinSide, kMaxSide, "size");
    out.height = requireInt(size, "height", kMinSide, kMaxSide, "size");
    const Json& beak = requireObject(root, "beak");
    out.beakX = requireInt(beak, "x", 0, out.width - 1, "beak");
    out.beakY = requireInt(beak, "y", 0, out.height - 1, "beak");
}

std::string checkedPng(const std::string& base64, const CharacterDocument& out) {
    std::string png;
    if (!decodeBase64(base64, png)) fault("is not PNG data in base64");
    const PngHeader header = readPngHeader(png);
    if (header.width != static_cast<std::uint32_t>(out.width) ||
        header.height != static_cast<std::uint32_t>(out.height))
        fault("is a picture of " + std::to_string(header.width) + " x " + std::to_string(header.height) +
              " pixels; the character is " + std::to_string(out.width) + " x " + std::to_string(out.height));
    return png;
}

void readFrames(const Json& root, const SvgFrameCheck& checkSvg, CharacterDocument& out) {
    const Json& frames = requireObject(root, "frames");
    if (frames.empty()) fault("it has no frames");
    if (frames.size() > static_cast<std::size_t>(kMaxFrames))
        fault("it has " + std::to_string(frames.size()) + " frames; at most " + std::to_string(kMaxFrames) +
              " are allowed");
    const bool png = out.frameKind == FrameKind::Png;
    for (const auto& [name, value] : frames.items()) {
        if (name.empty()) fault("a frame has an empty name");
        const std::string user = "frame " + quotedText(name);
        if (!value.is_string() || value.get_ref<const std::string&>().empty())
            fault(user + (png ? " holds no PNG data" : " holds no SVG text"));
        std::string bytes = value.get<std::string>();
        try {
            if (png)
                bytes = checkedPng(bytes, out);
            else if (checkSvg)
                checkSvg(bytes);
        } catch (const DocumentFault& f) {
            fault(user + ' ' + f.what);
        }
        out.frames.emplace(name, std::move(bytes));
    }
}

void requireKnownFrame(const CharacterDocument& doc, const std::string& frame, const std::string& user) {
    if (!doc.frames.contains(frame)) fault(user + " names an unknown frame " + quotedText(frame));
}

void readAnimations(const Json& root, CharacterDocument& out) {
    const Json& animations = requireObject(root, "animations");
    for (const char* required : {kIdleAnimation, kBlinkAnimation, kShowAnimation})
        if (!animations.contains(required)) fault("it lacks the required animation " + quotedText(required));
    for (const auto& [name, steps] : animations.items()) {
        const std::string user = "animation " + quotedText(name);
        if (!steps.is_array() || steps.empty()) fault(user + " is not a non-empty list of steps");
        std::vector<DocumentStep> sequence;
        for (const Json& step : steps) {
            if (!step.is_object()) fault(user + " has a step that is not an object");
            const std::string frame = text(member(step, "frame"));
            requireKnownFrame(out, frame, user);
            const int ms = requireInt(step, "ms", 1, kMaxStepMs, user + " step");
            sequence.push_back({frame, std::max(ms, kMinStepMs)});
        }
        out.animations.emplace(name, std::move(sequence));
    }
}

void readBeakFrames(const Json& root, CharacterDocument& out) {
    const Json* beak = member(root, "beakFrames");
    if (beak == nullptr || !beak->is_array() || beak->size() < static_cast<std::size_t>(kBeakOpenings))
        fault("\"beakFrames\" must list at least " + std::to_string(kBeakOpenings) +
              " frames, closed to wide");
    for (const Json& v : *beak) {
        requireKnownFrame(out, text(&v), "\"beakFrames\"");
        out.beakFrames.push_back(text(&v));
    }
}

// The reason of a parse error without the library's prefix ("[json.exception.parse_error.101] parse
// error at line 1, column 3: "); the reason may quote the file, so it is made readable and short.
std::string parseReason(const Json::exception& e) {
    std::string_view what = e.what();
    if (const auto colon = what.find(": "); what.starts_with("[json.exception.") && colon != what.npos)
        what.remove_prefix(colon + 2);
    return readableExcerpt(what, 200);
}

Json parseJson(std::string_view json) {
    try {
        // Refused while parsing, before a deeper level is built.
        const Json::parser_callback_t depthLimit = [](int depth, Json::parse_event_t event, Json&) {
            if ((event == Json::parse_event_t::object_start || event == Json::parse_event_t::array_start) &&
                depth >= kMaxJsonDepth)
                fault("it is not valid JSON (values nested more than " + std::to_string(kMaxJsonDepth) +
                      " deep)");
            return true;
        };
        return Json::parse(json.begin(), json.end(), depthLimit);
    } catch (const Json::parse_error& e) {
        fault("it is not valid JSON (" + parseReason(e) + " at byte " + std::to_string(e.byte) + ")");
    } catch (const Json::exception& e) {
        fault("it is not valid JSON (" + parseReason(e) + ")");
    }
}

}  // namespace

std::string characterFileMessage(std::string_view path, std::string_view what) {
    return "The character file \"" + std::string(path) + "\" cannot be used: " + std::string(what) + ".";
}

std::string describeNumber(double value) {
    if (value == 0) return "0";
    char digits[32];
    // Shortest digits that read back exactly, in exponent form: d[.ddd]e±X.
    const auto [end, ec] =
        std::to_chars(digits, digits + sizeof digits, std::abs(value), std::chars_format::scientific);
    if (ec != std::errc()) return "?";
    const std::string_view sci(digits, static_cast<std::size_t>(end - digits));
    const std::size_t e = sci.find('e');
    std::string mantissa;
    for (const char c : sci.substr(0, e))
        if (c != '.') mantissa += c;
    const int exponent = std::atoi(std::string(sci.substr(e + 1)).c_str());
    const int count = static_cast<int>(mantissa.size());
    std::string exponentText = std::to_string(std::abs(exponent));
    if (exponentText.size() < 2) exponentText.insert(0, 1, '0');
    std::string scientific = mantissa.substr(0, 1);
    if (count > 1) scientific += '.' + mantissa.substr(1);
    scientific += (exponent < 0 ? "e-" : "e+") + exponentText;
    std::string plain;
    if (exponent < 0)
        plain = "0." + std::string(static_cast<std::size_t>(-exponent - 1), '0') + mantissa;
    else if (exponent + 1 >= count)
        plain = mantissa + std::string(static_cast<std::size_t>(exponent + 1 - count), '0');
    else
        plain = mantissa.substr(0, exponent + 1) + '.' + mantissa.substr(exponent + 1);
    const std::string& shorter = plain.size() <= scientific.size() ? plain : scientific;
    return (value < 0 ? "-" : "") + shorter;
}

CharacterDocument parseCharacterDocument(std::string_view json, std::string_view expectedId,
                                         FrameKind accepted, const SvgFrameCheck& checkSvg) {
    const Json root = parseJson(json);
    if (!root.is_object()) fault("it is not a JSON object");
    CharacterDocument doc;
    checkHeader(root, expectedId, doc);
    readFrameKind(root, accepted, doc);
    readGeometry(root, doc);
    readFrames(root, checkSvg, doc);
    readAnimations(root, doc);
    readBeakFrames(root, doc);
    return doc;
}

}  // namespace agent::character
