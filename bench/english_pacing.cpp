// Longest English reading against its wait, per voice and digit count: for each voice (slt, rms,
// espeak) and each length 1-15, 50 random numbers are read through the English engine exactly as
// the drill hands them over, and the longest audio is printed beside the wait W_en that follows the
// reading at gap 0 (counters longest_s, wait_s, worst_spare_s = least of wait - audio; the aim is
// worst_spare_s >= 0.3 for every voice and length). Half the digits are zeros, so every zero count
// of a length comes up; --sweep reads 10 numbers of every digit count and zero count instead
// (speed_up_needed: how much faster the voice must read for all of them to leave 0.3 s).
//
//     bench_english_pacing [--seed=N] [--sweep]

#include "core/drill/NumberGenerator.h"
#include "core/drill/SpokenForms.h"
#include "core/drill/Waits.h"
#include "core/speech/SpeechTags.h"
#include "qt/agent/speech/EnglishVoices.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <random>

namespace {

using namespace agent::speech;

uint64_t seed = 1;
bool sweep = false;

struct Reading {
    double seconds;
    int wait;
};

Reading read(EnglishEngine& engine, const std::string& digits) {
    const std::string display = drill::GroupedDigits(std::stoll(digits));
    const std::string english = drill::TextLength(display) == 3 ? drill::ThreeDigitRule(display) : display;
    const int wait = drill::EnglishWait(drill::TextLength(display), drill::CountZeros(display));
    PcmCollector pcm;
    std::atomic<bool> cancel{false};
    engine.synthesize(parseTaggedText(drill::EnglishSpeechText(display, english, true)).pieces, pcm, cancel);
    return {pcm.seconds(), wait};
}

// A number of this length with exactly this many zeros, placed at random after the first digit.
std::string withZeros(std::mt19937_64& random, int length, int zeros) {
    std::string d(1, char('1' + random() % 9));
    for (int k = 1; k < length; ++k) d += char('1' + random() % 9);
    std::vector<int> places;
    for (int k = 1; k < length; ++k) places.push_back(k);
    std::shuffle(places.begin(), places.end(), random);
    for (int k = 0; k < zeros; ++k) d[size_t(places[size_t(k)])] = '0';
    return d;
}

void BM_LongestEnglishReading(benchmark::State& state, const char* voice) {
    const int digits = int(state.range(0));
    EnglishEngine engine;
    engine.useVoice(voice);
    std::mt19937_64 random(seed * 100 + uint64_t(digits));
    double worstSpare = 1e9, longest = 0, waitOfLongest = 0, paceNeeded = 0;
    int worstZeros = 0;
    std::vector<std::pair<int, std::string>> numbers;  // zero count, digits
    if (sweep) {
        for (int z = 0; z < digits; ++z)
            for (int k = 0; k < 10; ++k) numbers.emplace_back(z, withZeros(random, digits, z));
    } else {
        for (int k = 0; k < 50; ++k) {
            const int z = digits > 1 ? int(random() % uint64_t(digits)) : 0;
            numbers.emplace_back(z, withZeros(random, digits, z));
        }
    }
    for (auto _ : state) {
        for (const auto& [zeros, number] : numbers) {
            const Reading r = read(engine, number);
            const double spare = r.wait / 1000.0 - r.seconds;
            paceNeeded = std::max(paceNeeded, r.seconds / (r.wait / 1000.0 - 0.3));
            if (spare < worstSpare) {
                worstSpare = spare;
                worstZeros = zeros;
            }
            if (r.seconds > longest) {
                longest = r.seconds;
                waitOfLongest = r.wait / 1000.0;
            }
        }
    }
    state.counters["longest_s"] = longest;
    state.counters["wait_s"] = waitOfLongest;
    state.counters["worst_spare_s"] = worstSpare;
    state.counters["zeros_of_worst"] = worstZeros;
    // How much faster than now this voice must read for every reading to leave 0.3 s (1: no faster).
    state.counters["speed_up_needed"] = paceNeeded;
}

BENCHMARK_CAPTURE(BM_LongestEnglishReading, slt, kFemaleVoice)
    ->DenseRange(1, 15)
    ->Iterations(1)
    ->Unit(benchmark::kSecond);
BENCHMARK_CAPTURE(BM_LongestEnglishReading, rms, kMaleVoice)
    ->DenseRange(1, 15)
    ->Iterations(1)
    ->Unit(benchmark::kSecond);
BENCHMARK_CAPTURE(BM_LongestEnglishReading, espeak, kEspeakVoice)
    ->DenseRange(1, 15)
    ->Iterations(1)
    ->Unit(benchmark::kSecond);

}  // namespace

int main(int argc, char** argv) {
    for (int i = 1; i < argc; ++i) {
        if (std::strncmp(argv[i], "--seed=", 7) == 0) seed = std::strtoull(argv[i] + 7, nullptr, 10);
        if (std::strcmp(argv[i], "--sweep") == 0) sweep = true;
    }
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
