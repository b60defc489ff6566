#pragma once

// Japanese through Open JTalk: one open_jtalk child process per run of equal speed, its WAV
// read back through a pipe.

#include "agent/speech/SpeechEngine.h"

#include <string>

namespace agent::speech {

struct OpenJTalkSetup {
    std::string program;     // the open_jtalk executable
    std::string dictionary;  // naist-jdic folder (holds sys.dic)
    std::string voice;       // .htsvoice file
    std::string tracePath;   // when set, open_jtalk writes its trace (-ot) here
};

// The Debian locations of the program, dictionary and NIT ATR503 M001 voice.
OpenJTalkSetup defaultOpenJTalkSetup();

// Open JTalk's speech rate for a speed in words per minute: 150 wpm is the voice's own pace.
double openJTalkRate(int speedWpm);

class OpenJTalkEngine : public SpeechEngine {
public:
    // Throws EngineError naming what is missing and how to install it.
    explicit OpenJTalkEngine(OpenJTalkSetup setup = defaultOpenJTalkSetup());
    void synthesize(const std::vector<SpeechPiece>& pieces, PcmSink& sink,
                    const std::atomic<bool>& cancel) override;

private:
    void run(const std::string& text, int speedWpm, PcmSink& sink, const std::atomic<bool>& cancel);
    OpenJTalkSetup setup_;
};

}  // namespace agent::speech
