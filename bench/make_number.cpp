// Cost of one MakeNumber draw without widgets: three places and all fifteen.

#include "core/drill/NumberGenerator.h"
#include "core/drill/PlaceSelection.h"
#include "core/drill/RandomSource.h"

#include <benchmark/benchmark.h>

#include <string>

namespace {

class NoBoxes : public drill::PlaceBoxView {
public:
    void setPlaceBoxTicked(drill::PlaceColumn, int, bool) override {}
};

void Draw(benchmark::State& bench, int lo, int hi) {
    drill::ReadOut1State state;
    NoBoxes boxes;
    drill::PlaceSelection places(state, boxes);
    places.ClickCheck2(lo);
    places.ClickCheck2(hi);
    drill::HeldTexts texts;
    drill::Xoshiro256Source random(1);
    drill::NumberGenerator generator(state, places, texts, random);  // the system clock, as shipped
    for (auto _ : bench) {
        generator.MakeNumber();
        benchmark::DoNotOptimize(texts.display.data());
    }
}

void BM_MakeNumberThreePlaces(benchmark::State& bench) {
    Draw(bench, 1, 3);
}
void BM_MakeNumberFifteenPlaces(benchmark::State& bench) {
    Draw(bench, 1, 15);
}

BENCHMARK(BM_MakeNumberThreePlaces);
BENCHMARK(BM_MakeNumberFifteenPlaces);

}  // namespace

BENCHMARK_MAIN();
