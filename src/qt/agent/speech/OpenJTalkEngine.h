#pragma once

// Japanese through Open JTalk: one open_jtalk child process per run, its WAV read back through a
// pipe, a long number split into its 兆/億/万 phrases. A reading wanted at once is read in two runs,
// its first phrase alone and then the rest, the first handed on as soon as it is made; the runs are
// trimmed of the engine's own silences and joined with a short pause in one continuous stream.

#include "core/speech/Wav.h"
#include "qt/agent/speech/SpeechEngine.h"

#include <string>

namespace agent::speech {

struct OpenJTalkSetup {
    std::string program;     // the open_jtalk executable
    std::string dictionary;  // naist-jdic folder (holds sys.dic)
    std::string voice;       // .htsvoice file
    std::string tracePath;   // when set, every phrase's trace (-ot) is appended here
};

// The Debian locations of the program, dictionary and NIT ATR503 M001 voice.
OpenJTalkSetup defaultOpenJTalkSetup();

// Open JTalk's speech rate for a speed in words per minute (0: the voice's own pace).
double openJTalkRate(int speedWpm);

// The phrases that a text is read in: numbers grouped into 兆/億/万 phrases, split at each "、".
std::vector<std::string> japanesePhrases(const std::string& text);

// Silence between two runs, from the end of one's voice to the start of the next's.
inline constexpr int kPhrasePauseMs = 120;

class OpenJTalkEngine : public SpeechEngine {
public:
    // Throws EngineError naming what is missing and how to install it.
    explicit OpenJTalkEngine(OpenJTalkSetup setup = defaultOpenJTalkSetup());
    // The whole reading in one run: the engine's own phrasing is the quicker pace.
    void synthesize(const std::vector<SpeechPiece>& pieces, PcmSink& sink,
                    const std::atomic<bool>& cancel) override;
    // The first phrase alone, handed on at once, then the rest in one run while it plays.
    void synthesizeNow(const std::vector<SpeechPiece>& pieces, PcmSink& sink,
                       const std::atomic<bool>& cancel) override;

private:
    void read(const std::vector<SpeechPiece>& pieces, PcmSink& sink, const std::atomic<bool>& cancel,
              bool firstApart);
    // One run: its PCM trimmed to the voice (keeping leadMs before it), or empty when cancelled.
    MonoPcm run(const std::string& text, int speedWpm, int leadMs, const std::atomic<bool>& cancel);
    OpenJTalkSetup setup_;
};

}  // namespace agent::speech
