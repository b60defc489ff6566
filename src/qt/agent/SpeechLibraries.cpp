#include "qt/agent/SpeechLibraries.h"

#include <dlfcn.h>
#include <espeak-ng/speak_lib.h>
#include <pulse/error.h>
#include <pulse/simple.h>

#include <array>
#include <mutex>
#include <stdexcept>
#include <string>

extern "C" {
#include <flite/cst_synth.h>
#include <flite/flite.h>

cst_voice* register_cmu_us_slt(const char* voxdir);
cst_voice* register_cmu_us_rms(const char* voxdir);
}

namespace agent::speech {
namespace {

constexpr const char* kPulse = "libpulse-simple.so.0";
constexpr const char* kEspeak = "libespeak-ng.so.1";
constexpr const char* kFlite = "libflite.so.1";
constexpr const char* kSlt = "libflite_cmu_us_slt.so.1";
constexpr const char* kRms = "libflite_cmu_us_rms.so.1";

// clang-format off
#define TVX_LATE_SYMBOLS(X)                                                                            \
    X(kPulse, pa_simple_new) X(kPulse, pa_simple_free) X(kPulse, pa_simple_write)                      \
    X(kPulse, pa_simple_get_latency) X(kPulse, pa_simple_flush)                                        \
    X(kEspeak, espeak_Initialize) X(kEspeak, espeak_SetParameter) X(kEspeak, espeak_GetParameter)      \
    X(kEspeak, espeak_SetSynthCallback) X(kEspeak, espeak_SetVoiceByName) X(kEspeak, espeak_Synth)     \
    X(kEspeak, espeak_TextToPhonemes)                                                                  \
    X(kFlite, flite_init) X(kFlite, flite_synth_text) X(kFlite, apply_synth_method)                    \
    X(kFlite, default_tokenization) X(kFlite, default_textanalysis) X(kFlite, new_utterance)           \
    X(kFlite, delete_utterance) X(kFlite, utt_init) X(kFlite, utt_relation)                            \
    X(kFlite, utt_set_input_text) X(kFlite, relation_head) X(kFlite, item_next)                        \
    X(kFlite, item_feat_string) X(kFlite, feat_set) X(kFlite, feat_set_float)                          \
    X(kFlite, new_audio_streaming_info) X(kFlite, audio_streaming_info_val)                            \
    X(kSlt, register_cmu_us_slt) X(kRms, register_cmu_us_rms)
// clang-format on

enum class Late {
#define TVX_ENUM(lib, name) name,
    TVX_LATE_SYMBOLS(TVX_ENUM)
#undef TVX_ENUM
        count
};

constexpr std::array<LateSymbol, static_cast<size_t>(Late::count)> kSymbols{{
#define TVX_ENTRY(lib, name) {lib, #name},
    TVX_LATE_SYMBOLS(TVX_ENTRY)
#undef TVX_ENTRY
}};

struct Resolved {
    std::once_flag once;
    void* address = nullptr;
    std::string error;
};

std::array<Resolved, kSymbols.size()>& resolved() {
    static std::array<Resolved, kSymbols.size()> all;
    return all;
}

Resolved& resolve(size_t index) {
    Resolved& r = resolved()[index];
    std::call_once(r.once, [&r, &s = kSymbols[index]] {
        // Never closed: the libraries keep threads and callbacks of their own.
        void* library = dlopen(s.library, RTLD_NOW | RTLD_GLOBAL);
        if (library) r.address = dlsym(library, s.name);
        if (!r.address) {
            const char* why = dlerror();
            r.error = why ? why : std::string(s.library) + ": no " + s.name;
        }
    });
    return r;
}

// The real function; throws when it cannot be loaded (the engines report that as their fault).
template <Late Which, typename Function>
Function* real() {
    Resolved& r = resolve(static_cast<size_t>(Which));
    if (!r.address) throw std::runtime_error(r.error);
    return reinterpret_cast<Function*>(r.address);
}

}  // namespace

std::span<const LateSymbol> lateSymbols() {
    return kSymbols;
}

void* lateSymbol(const LateSymbol& symbol, const char** error) {
    for (size_t i = 0; i < kSymbols.size(); ++i) {
        if (&kSymbols[i] != &symbol) continue;
        Resolved& r = resolve(i);
        if (error) *error = r.address ? nullptr : r.error.c_str();
        return r.address;
    }
    if (error) *error = "not a late symbol";
    return nullptr;
}

}  // namespace agent::speech

using agent::speech::Late;
using agent::speech::real;

#define TVX_FORWARD(ret, name, params, args)            \
    extern "C" ret name params {                        \
        return real<Late::name, decltype(name)>() args; \
    }

// A missing sound library is a server that cannot be reached: the drill goes on silent.
extern "C" pa_simple* pa_simple_new(const char* server, const char* name, pa_stream_direction_t dir,
                                    const char* dev, const char* stream_name, const pa_sample_spec* ss,
                                    const pa_channel_map* map, const pa_buffer_attr* attr, int* error) {
    decltype(pa_simple_new)* f = nullptr;
    try {
        f = real<Late::pa_simple_new, decltype(pa_simple_new)>();
    } catch (const std::runtime_error&) {
        if (error) *error = PA_ERR_NOTSUPPORTED;
        return nullptr;
    }
    return f(server, name, dir, dev, stream_name, ss, map, attr, error);
}
// Only ever called on a stream pa_simple_new opened, so their library is there.
TVX_FORWARD(void, pa_simple_free, (pa_simple * s), (s))
TVX_FORWARD(int, pa_simple_write, (pa_simple * s, const void* data, size_t bytes, int* error),
            (s, data, bytes, error))
TVX_FORWARD(pa_usec_t, pa_simple_get_latency, (pa_simple * s, int* error), (s, error))
TVX_FORWARD(int, pa_simple_flush, (pa_simple * s, int* error), (s, error))

TVX_FORWARD(int, espeak_Initialize,
            (espeak_AUDIO_OUTPUT output, int buflength, const char* path, int options),
            (output, buflength, path, options))
TVX_FORWARD(espeak_ERROR, espeak_SetParameter, (espeak_PARAMETER parameter, int value, int relative),
            (parameter, value, relative))
TVX_FORWARD(int, espeak_GetParameter, (espeak_PARAMETER parameter, int current), (parameter, current))
TVX_FORWARD(void, espeak_SetSynthCallback, (t_espeak_callback * callback), (callback))
TVX_FORWARD(espeak_ERROR, espeak_SetVoiceByName, (const char* name), (name))
TVX_FORWARD(espeak_ERROR, espeak_Synth,
            (const void* text, size_t size, unsigned int position, espeak_POSITION_TYPE position_type,
             unsigned int end_position, unsigned int flags, unsigned int* unique_identifier, void* user_data),
            (text, size, position, position_type, end_position, flags, unique_identifier, user_data))
TVX_FORWARD(const char*, espeak_TextToPhonemes, (const void** textptr, int textmode, int phonememode),
            (textptr, textmode, phonememode))

TVX_FORWARD(int, flite_init, (), ())
TVX_FORWARD(cst_utterance*, flite_synth_text, (const char* text, cst_voice* voice), (text, voice))
TVX_FORWARD(cst_utterance*, apply_synth_method, (cst_utterance * u, const cst_synth_module meth[]), (u, meth))
TVX_FORWARD(cst_utterance*, default_tokenization, (cst_utterance * u), (u))
TVX_FORWARD(cst_utterance*, default_textanalysis, (cst_utterance * u), (u))
TVX_FORWARD(cst_utterance*, new_utterance, (), ())
TVX_FORWARD(void, delete_utterance, (cst_utterance * u), (u))
TVX_FORWARD(cst_utterance*, utt_init, (cst_utterance * u, cst_voice* vox), (u, vox))
TVX_FORWARD(cst_relation*, utt_relation, (const cst_utterance* u, const char* name), (u, name))
TVX_FORWARD(int, utt_set_input_text, (cst_utterance * u, const char* text), (u, text))
TVX_FORWARD(cst_item*, relation_head, (cst_relation * r), (r))
TVX_FORWARD(cst_item*, item_next, (const cst_item* i), (i))
TVX_FORWARD(const char*, item_feat_string, (const cst_item* i, const char* name), (i, name))
TVX_FORWARD(void, feat_set, (cst_features * f, const char* name, const cst_val* v), (f, name, v))
TVX_FORWARD(void, feat_set_float, (cst_features * f, const char* name, float v), (f, name, v))
TVX_FORWARD(cst_audio_streaming_info*, new_audio_streaming_info, (), ())
TVX_FORWARD(cst_val*, audio_streaming_info_val, (const cst_audio_streaming_info* v), (v))
TVX_FORWARD(cst_voice*, register_cmu_us_slt, (const char* voxdir), (voxdir))
TVX_FORWARD(cst_voice*, register_cmu_us_rms, (const char* voxdir), (voxdir))
