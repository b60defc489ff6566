#include "qt/agent/speech/EspeakEngine.h"

#include <espeak-ng/speak_lib.h>

#include <algorithm>
#include <mutex>

namespace agent::speech {
namespace {

constexpr int kChunkMs = 20;  // callback granularity: small keeps first audio early

// eSpeak NG keeps one global state per process: initialise it once and serialise every use.
struct Library {
    std::mutex mutex;
    int rate = 0;
    int defaultWpm = espeakRATE_NORMAL;
    std::string error;
};

struct CallbackContext {
    PcmSink* sink;
    const std::atomic<bool>* cancel;
    int rate;
};

int onSynth(short* wav, int count, espeak_EVENT* events) {
    auto* ctx = events ? static_cast<CallbackContext*>(events->user_data) : nullptr;
    if (!ctx) return 0;
    if (wav && count > 0) ctx->sink->pcm(ctx->rate, wav, static_cast<size_t>(count));
    return ctx->cancel->load() ? 1 : 0;
}

Library& library() {
    static Library lib;
    static std::once_flag once;
    std::call_once(once, [] {
        // DONT_EXIT: missing data must come back as an error, not end the program.
        const int rate =
            espeak_Initialize(AUDIO_OUTPUT_SYNCHRONOUS, kChunkMs, nullptr, espeakINITIALIZE_DONT_EXIT);
        if (rate <= 0) {
            lib.error = "eSpeak NG could not load its data (package espeak-ng-data)";
            return;
        }
        if (espeak_SetVoiceByName("en-us") != EE_OK) {
            lib.error = "eSpeak NG has no en-us voice (package espeak-ng-data)";
            return;
        }
        espeak_SetSynthCallback(onSynth);
        lib.defaultWpm = espeak_GetParameter(espeakRATE, 1);
        lib.rate = rate;
    });
    return lib;
}

std::string installHint(const std::string& what) {
    return "英語の読み上げができません。\n\n端末で次のように入れると、英語も読み上げます:\n"
           "sudo apt install libespeak-ng1 espeak-ng-data\n\n(" +
           what + ")";
}

}  // namespace

EspeakEngine::EspeakEngine() {
    Library& lib = library();
    if (!lib.error.empty()) throw EngineError(installHint(lib.error));
    rate_ = lib.rate;
}

void EspeakEngine::synthesize(const std::vector<SpeechPiece>& pieces, PcmSink& sink,
                              const std::atomic<bool>& cancel) {
    Library& lib = library();
    std::lock_guard lock(lib.mutex);
    CallbackContext ctx{&sink, &cancel, rate_};
    for (const auto& piece : pieces) {
        if (cancel) return;
        const int wpm = piece.speedWpm > 0
                            ? std::clamp(piece.speedWpm, int(espeakRATE_MINIMUM), int(espeakRATE_MAXIMUM))
                            : lib.defaultWpm;
        espeak_SetParameter(espeakRATE, wpm, 0);
        // The context tag is deliberately ignored: grouped digits must read the same in any context.
        const espeak_ERROR err = espeak_Synth(piece.text.c_str(), piece.text.size() + 1, 0, POS_CHARACTER, 0,
                                              espeakCHARS_UTF8, nullptr, &ctx);
        if (err != EE_OK) throw EngineError(installHint("eSpeak NG failed to synthesise"));
    }
}

std::string EspeakEngine::phonemes(const std::string& text) {
    Library& lib = library();
    if (!lib.error.empty()) throw EngineError(installHint(lib.error));
    std::lock_guard lock(lib.mutex);
    std::string out;
    const void* ptr = text.c_str();
    while (ptr) {
        const char* ph = espeak_TextToPhonemes(&ptr, espeakCHARS_UTF8, 0);
        if (!ph) break;
        if (!out.empty()) out += ' ';
        out += ph;
    }
    return out;
}

}  // namespace agent::speech
