// Cost of SpeechService::speak(): parse the tags and enqueue, on the calling thread.

#include "FakeEngine.h"
#include "qt/agent/speech/SpeechServiceConfig.h"

#include <benchmark/benchmark.h>
#include <QCoreApplication>

namespace {

using namespace agent::speech;

std::unique_ptr<SpeechService> makeService() {
    FakeEngineScript tiny;
    tiny.msPerChar = 1;  // keeps the queued audio small while requests pile up
    SpeechServiceConfig config;
    config.english = [tiny] { return std::make_unique<FakeEngine>(tiny, nullptr); };
    config.japanese = config.english;
    config.output = createSilentOutput;
    return createSpeechService(std::move(config));
}

void BM_Speak(benchmark::State& state, EngineKind engine, const char* text) {
    auto service = makeService();
    int queued = 0;
    for (auto _ : state) {
        service->speak(engine, text);
        if (++queued == 5000) {
            state.PauseTiming();
            service->shutdown();
            service = makeService();
            queued = 0;
            state.ResumeTiming();
        }
    }
    service->shutdown();
}

BENCHMARK_CAPTURE(BM_Speak, english_shown, EngineKind::English, R"(\Ctx="E-mail"\12,345,678,901,234)");
BENCHMARK_CAPTURE(BM_Speak, english_hundred, EngineKind::English, R"(\Map="3 hundred 5"="305"\)");
BENCHMARK_CAPTURE(BM_Speak, japanese_hidden, EngineKind::Japanese,
                  R"(\Spd=195\\Map="922,337,203,685,477"=""\)");

}  // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
