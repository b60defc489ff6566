#include "qt/agent/speech/FliteEngine.h"

extern "C" {
#include <flite/cst_synth.h>
#include <flite/flite.h>

cst_voice* register_cmu_us_slt(const char* voxdir);
cst_voice* register_cmu_us_rms(const char* voxdir);
}

#include <algorithm>
#include <map>
#include <mutex>

namespace agent::speech {
namespace {

// The pace a speed tag's words per minute are measured against: flite's own, unstretched.
constexpr double kOwnWpm = 175.0;
constexpr int kStreamChunk = 320;  // samples per callback at 16 kHz: 20 ms

// flite's voices keep their settings in shared features: build each once and serialise every use.
struct StreamContext {
    PcmSink* sink;
    const std::atomic<bool>* cancel;
};

struct Voice {
    cst_voice* voice;
    cst_audio_streaming_info* stream;  // owned by the voice's features
};

struct Library {
    std::mutex mutex;
    std::map<std::string, Voice> voices;
};

Library& library() {
    static Library lib;
    static std::once_flag once;
    std::call_once(once, [] { flite_init(); });
    return lib;
}

int onStream(const cst_wave* w, int start, int size, int /*last*/, cst_audio_streaming_info* asi) {
    auto* ctx = static_cast<StreamContext*>(asi->userdata);
    if (!ctx) return CST_AUDIO_STREAM_CONT;  // text analysis only
    if (size > 0) ctx->sink->pcm(w->sample_rate, w->samples + start, static_cast<size_t>(size));
    return ctx->cancel->load() ? CST_AUDIO_STREAM_STOP : CST_AUDIO_STREAM_CONT;
}

Voice& voiceNamed(Library& lib, const std::string& name) {
    if (auto it = lib.voices.find(name); it != lib.voices.end()) return it->second;
    cst_voice* voice = nullptr;
    if (name == "slt")
        voice = register_cmu_us_slt(nullptr);
    else if (name == "rms")
        voice = register_cmu_us_rms(nullptr);
    if (!voice) throw EngineError("flite has no voice " + name + " (package libflite1)");
    cst_audio_streaming_info* stream = new_audio_streaming_info();
    stream->min_buffsize = kStreamChunk;
    stream->asc = onStream;
    stream->userdata = nullptr;
    feat_set(voice->features, "streaming_info", audio_streaming_info_val(stream));
    return lib.voices[name] = Voice{voice, stream};
}

}  // namespace

FliteEngine::FliteEngine(const std::string& voice) : voice_(voice) {
    Library& lib = library();
    std::lock_guard lock(lib.mutex);
    voiceNamed(lib, voice_);
}

void FliteEngine::synthesize(const std::vector<SpeechPiece>& pieces, PcmSink& sink,
                             const std::atomic<bool>& cancel) {
    Library& lib = library();
    std::lock_guard lock(lib.mutex);
    Voice& v = voiceNamed(lib, voice_);
    StreamContext ctx{&sink, &cancel};
    v.stream->userdata = &ctx;
    for (const auto& piece : pieces) {
        if (cancel) break;
        const double wpm = piece.speedWpm > 0 ? std::clamp(piece.speedWpm, 60, 400) : kOwnWpm;
        feat_set_float(v.voice->features, "duration_stretch", float(kOwnWpm / wpm));
        cst_utterance* utt = flite_synth_text(piece.text.c_str(), v.voice);
        if (!utt) {
            v.stream->userdata = nullptr;
            throw EngineError("flite failed to synthesise");
        }
        delete_utterance(utt);
    }
    v.stream->userdata = nullptr;
}

std::vector<std::string> FliteEngine::words(const std::string& voiceName, const std::string& text) {
    Library& lib = library();
    std::lock_guard lock(lib.mutex);
    Voice& v = voiceNamed(lib, voiceName);
    // The text modules of flite's own synthesis, through the voice's hooks, and nothing after them.
    cst_utterance* utt = new_utterance();
    utt_set_input_text(utt, text.c_str());
    utt_init(utt, v.voice);
    static const cst_synth_module kTextModules[] = {{"tokenizer_func", default_tokenization},
                                                    {"textanalysis_func", default_textanalysis},
                                                    {nullptr, nullptr}};
    if (!apply_synth_method(utt, kTextModules)) throw EngineError("flite failed to analyse the text");
    std::vector<std::string> out;
    for (const cst_item* item = relation_head(utt_relation(utt, "Word")); item; item = item_next(item))
        out.emplace_back(item_feat_string(item, "name"));
    delete_utterance(utt);
    return out;
}

}  // namespace agent::speech
