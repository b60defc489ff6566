// Time from request to the first and to the complete PCM for the real engines, and the length
// of the audio produced (seconds_of_audio).

#include "qt/agent/speech/EspeakEngine.h"
#include "qt/agent/speech/OpenJTalkEngine.h"

#include <benchmark/benchmark.h>

#include <chrono>
#include <optional>

namespace {

using namespace agent::speech;
using Clock = std::chrono::steady_clock;

class TimedSink : public PcmSink {
public:
    void pcm(int rate, const int16_t*, size_t n) override {
        if (!first) first = Clock::now();
        samples += n;
        this->rate = rate;
    }
    std::optional<Clock::time_point> first;
    size_t samples = 0;
    int rate = 1;
};

void measure(benchmark::State& state, SpeechEngine& engine, const SpeechPiece& piece) {
    double firstMs = 0, audio = 0;
    std::atomic<bool> cancel{false};
    for (auto _ : state) {
        TimedSink sink;
        const auto start = Clock::now();
        engine.synthesize({piece}, sink, cancel);
        const auto end = Clock::now();
        state.SetIterationTime(std::chrono::duration<double>(end - start).count());
        firstMs += std::chrono::duration<double, std::milli>(sink.first.value_or(end) - start).count();
        audio = double(sink.samples) / sink.rate;
    }
    state.counters["first_pcm_ms"] = benchmark::Counter(firstMs / double(state.iterations()));
    state.counters["seconds_of_audio"] = audio;
}

void BM_English(benchmark::State& state, const char* text) {
    EspeakEngine engine;
    measure(state, engine, {text, 0, "E-mail"});
}

void BM_Japanese(benchmark::State& state, const char* text) {
    try {
        OpenJTalkEngine engine;
        measure(state, engine, {text, 195, ""});
    } catch (const EngineError& e) {
        state.SkipWithError(e.what());
    }
}

BENCHMARK_CAPTURE(BM_English, seven, "7")->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_English, three_hundred_45, "3 hundred 45")
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_English, fifteen_digits, "922,337,203,685,477")
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_Japanese, n305, "305")->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_Japanese, fifteen_digits, "922,337,203,685,477")
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
