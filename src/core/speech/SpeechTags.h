#pragma once

// Speech-output tags: \Map="spoken"="shown"\, \Ctx="context"\, \Spd=N\.

#include <string>
#include <vector>

namespace agent::speech {

// A stretch of text handed to an engine, with the settings in force where it stands.
struct SpeechPiece {
    std::string text;
    int speedWpm = 0;     // 0: the engine's own pace
    std::string context;  // normalisation context; informational only
    bool operator==(const SpeechPiece&) const = default;
};

struct TaggedText {
    std::vector<SpeechPiece> pieces;  // spoken, in order; adjacent pieces with equal settings merged
    std::string shown;                // what the balloon shows
    std::string spokenText() const;   // all pieces joined
};

// Never throws: unknown, malformed or unterminated tags are dropped whole.
TaggedText parseTaggedText(const std::string& text);

}  // namespace agent::speech
