#include "core/speech/SpeechTags.h"

#include <algorithm>
#include <cctype>
#include <optional>

namespace agent::speech {
namespace {

constexpr int kMinSpeed = 1;
constexpr int kMaxSpeed = 1000;

std::string lower(std::string s) {
    std::transform(s.begin(), s.end(), s.begin(), [](unsigned char c) { return std::tolower(c); });
    return s;
}

// Splits a tag body such as Map="a"="b" into its name and its quoted or bare arguments.
struct TagBody {
    std::string name;
    std::vector<std::string> args;
    bool ok = true;
};

TagBody splitBody(const std::string& body) {
    TagBody tag;
    size_t i = body.find('=');
    tag.name = lower(body.substr(0, i));
    while (i != std::string::npos && i < body.size()) {
        ++i;  // past '='
        if (i < body.size() && body[i] == '"') {
            const size_t close = body.find('"', i + 1);
            if (close == std::string::npos) return {tag.name, {}, false};
            tag.args.push_back(body.substr(i + 1, close - i - 1));
            i = close + 1;
            if (i < body.size() && body[i] != '=') return {tag.name, {}, false};
        } else {
            const size_t next = body.find('=', i);
            tag.args.push_back(body.substr(i, next == std::string::npos ? std::string::npos : next - i));
            i = next;
        }
    }
    return tag;
}

// The end of the tag starting at the backslash at `start`: the closing backslash outside quotes.
std::optional<size_t> tagEnd(const std::string& text, size_t start) {
    bool quoted = false;
    for (size_t i = start + 1; i < text.size(); ++i) {
        if (text[i] == '"') {
            quoted = !quoted;
        } else if (text[i] == '\\' && !quoted) {
            return i;
        }
    }
    return std::nullopt;
}

std::optional<int> parseSpeed(const std::string& s) {
    if (s.empty() || s.size() > 6) return std::nullopt;
    if (!std::all_of(s.begin(), s.end(), [](unsigned char c) { return std::isdigit(c); }))
        return std::nullopt;
    return std::clamp(std::stoi(s), kMinSpeed, kMaxSpeed);
}

class Builder {
public:
    void speak(const std::string& text) {
        if (text.empty()) return;
        auto& pieces = result_.pieces;
        if (!pieces.empty() && pieces.back().speedWpm == speed_ && pieces.back().context == context_) {
            pieces.back().text += text;
        } else {
            pieces.push_back({text, speed_, context_});
        }
    }
    void show(const std::string& text) { result_.shown += text; }
    void apply(const TagBody& tag) {
        if (!tag.ok) return;
        if (tag.name == "map" && tag.args.size() == 2) {
            speak(tag.args[0]);
            show(tag.args[1]);
        } else if (tag.name == "ctx" && tag.args.size() == 1) {
            context_ = tag.args[0];
        } else if (tag.name == "spd" && tag.args.size() == 1) {
            if (auto speed = parseSpeed(tag.args[0])) speed_ = *speed;
        }
    }
    TaggedText take() { return std::move(result_); }

private:
    TaggedText result_;
    int speed_ = 0;
    std::string context_;
};

}  // namespace

std::string TaggedText::spokenText() const {
    std::string all;
    for (const auto& p : pieces) all += p.text;
    return all;
}

TaggedText parseTaggedText(const std::string& text) {
    Builder out;
    size_t pos = 0;
    while (pos < text.size()) {
        const size_t slash = text.find('\\', pos);
        const std::string plain =
            text.substr(pos, slash == std::string::npos ? std::string::npos : slash - pos);
        out.speak(plain);
        out.show(plain);
        if (slash == std::string::npos) break;
        const auto end = tagEnd(text, slash);
        if (!end) break;  // unterminated: the rest is part of the broken tag
        out.apply(splitBody(text.substr(slash + 1, *end - slash - 1)));
        pos = *end + 1;
    }
    return out.take();
}

}  // namespace agent::speech
