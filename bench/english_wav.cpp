// Writes the English reading of numbers as the drill's own engine adapter produces it, one WAV
// file each, for listening and for the word-error benchmark (english_wer.py).
//
//     bench_english_wav VOICE OUT_DIR NUMBER...     VOICE: slt, rms or espeak; NUMBER: plain digits
//
// Each NUMBER goes through the drill's texts (grouped digits, the three-digit rule, the speech
// tags) exactly as a reading hands it over; OUT_DIR/NUMBER.wav is 16-bit mono.

#include "core/drill/NumberGenerator.h"
#include "core/drill/SpokenForms.h"
#include "core/speech/SpeechTags.h"
#include "qt/agent/speech/EnglishVoices.h"

#include <cstdio>
#include <fstream>
#include <string>

namespace {

void put32(std::ofstream& f, uint32_t v) {
    f.write(reinterpret_cast<const char*>(&v), 4);
}
void put16(std::ofstream& f, uint16_t v) {
    f.write(reinterpret_cast<const char*>(&v), 2);
}

void writeWav(const std::string& path, const agent::speech::PcmCollector& pcm) {
    std::ofstream f(path, std::ios::binary);
    const uint32_t bytes = uint32_t(pcm.samples.size() * 2);
    f.write("RIFF", 4);
    put32(f, 36 + bytes);
    f.write("WAVEfmt ", 8);
    put32(f, 16);
    put16(f, 1);
    put16(f, 1);
    put32(f, uint32_t(pcm.sampleRate));
    put32(f, uint32_t(pcm.sampleRate * 2));
    put16(f, 2);
    put16(f, 16);
    f.write("data", 4);
    put32(f, bytes);
    f.write(reinterpret_cast<const char*>(pcm.samples.data()), std::streamsize(bytes));
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 4) {
        std::fprintf(stderr, "usage: %s slt|rms|espeak OUT_DIR NUMBER...\n", argv[0]);
        return 2;
    }
    agent::speech::EnglishEngine engine;
    engine.useVoice(argv[1]);
    for (int i = 3; i < argc; ++i) {
        const std::string display = drill::GroupedDigits(std::stoll(argv[i]));
        const std::string english =
            drill::TextLength(display) == 3 ? drill::ThreeDigitRule(display) : display;
        agent::speech::PcmCollector pcm;
        std::atomic<bool> cancel{false};
        engine.synthesize(
            agent::speech::parseTaggedText(drill::EnglishSpeechText(display, english, true)).pieces, pcm,
            cancel);
        writeWav(std::string(argv[2]) + "/" + argv[i] + ".wav", pcm);
    }
    return 0;
}
