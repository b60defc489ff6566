// Longest Japanese reading against its wait, per digit count: for each length 1-15, 50 random
// numbers are read through Open JTalk exactly as the drill hands them over, and the longest audio
// is printed beside the wait W_ja that follows the reading at gap 0 (counters longest_s, wait_s,
// spare_s = wait - longest; the aim is spare_s >= 0.3 for every length).
//
//     bench_japanese_pacing [--seed=N]

#include "core/drill/NumberGenerator.h"
#include "core/drill/SpokenForms.h"
#include "core/drill/Waits.h"
#include "core/speech/SpeechTags.h"
#include "qt/agent/speech/OpenJTalkEngine.h"

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <cstring>
#include <random>

namespace {

using namespace agent::speech;

uint64_t seed = 1;

void BM_LongestJapaneseReading(benchmark::State& state) {
    const int digits = int(state.range(0));
    OpenJTalkEngine engine;
    std::mt19937_64 random(seed * 100 + uint64_t(digits));
    double worstSpare = 1e9, longest = 0, waitOfLongest = 0;
    for (auto _ : state) {
        for (int k = 0; k < 50; ++k) {
            std::string number(1, char('1' + random() % 9));
            while (int(number.size()) < digits) number += char('0' + random() % 10);
            const std::string display = drill::GroupedDigits(std::stoll(number));
            const std::string english =
                drill::TextLength(display) == 3 ? drill::ThreeDigitRule(display) : display;
            const int wait = drill::JapaneseWait(drill::TextLength(english), drill::CountZeros(display));
            PcmCollector pcm;
            std::atomic<bool> cancel{false};
            try {
                engine.synthesize(parseTaggedText(drill::JapaneseSpeechText(display, true)).pieces, pcm,
                                  cancel);
            } catch (const EngineError&) {
                state.counters["failed"] += 1;  // over the engine's time limit on a loaded machine
                continue;
            }
            const double spare = wait / 1000.0 - pcm.seconds();
            if (spare < worstSpare) worstSpare = spare;
            if (pcm.seconds() > longest) {
                longest = pcm.seconds();
                waitOfLongest = wait / 1000.0;
            }
        }
    }
    state.counters["longest_s"] = longest;
    state.counters["wait_s"] = waitOfLongest;
    state.counters["worst_spare_s"] = worstSpare;
}

BENCHMARK(BM_LongestJapaneseReading)->DenseRange(1, 15)->Iterations(1)->Unit(benchmark::kSecond);

}  // namespace

int main(int argc, char** argv) {
    for (int i = 1; i < argc; ++i) {
        if (std::strncmp(argv[i], "--seed=", 7) == 0) seed = std::strtoull(argv[i] + 7, nullptr, 10);
    }
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
