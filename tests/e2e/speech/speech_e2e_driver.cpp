// Speaks `\Ctx="E-mail"\12,345` in English and `\Spd=195\305` in Japanese, then exits 0.
// With TVX_SPEECH_TRACE=file it writes one line per signal: event, CLOCK_MONOTONIC seconds, text;
// before that it synthesises both texts once more on its own and writes each one's PCM beside the
// trace as file.<n>.raw (mono s16le), with a line "pcm <rate> <path>", so what was heard can be
// compared with what was said.
// Exit 3 when an engine reports a fault, 2 when the speech does not finish in time.

#include "qt/agent/speech/SpeechService.h"
#include "qt/agent/speech/SpeechServiceConfig.h"

#include <QCoreApplication>
#include <QTimer>

#include <atomic>
#include <cstdio>
#include <ctime>
#include <string>

using agent::speech::EngineKind;

namespace {

double monotonicSeconds() {
    timespec ts{};
    clock_gettime(CLOCK_MONOTONIC, &ts);
    return double(ts.tv_sec) + ts.tv_nsec / 1e9;
}

}  // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    FILE* trace = nullptr;
    if (const char* path = std::getenv("TVX_SPEECH_TRACE")) trace = std::fopen(path, "w");
    auto log = [trace](const char* event, const QString& text) {
        if (!trace) return;
        std::fprintf(trace, "%s %.6f %s\n", event, monotonicSeconds(), qUtf8Printable(text));
        std::fflush(trace);
    };

    const char* texts[2] = {R"(\Ctx="E-mail"\12,345)", R"(\Spd=195\305)"};
    const EngineKind kinds[2] = {EngineKind::English, EngineKind::Japanese};
    if (trace) {
        const auto config = agent::speech::defaultSpeechServiceConfig();
        for (int i = 0; i < 2; ++i) {
            agent::speech::PcmCollector pcm;
            std::atomic<bool> cancel{false};
            auto engine = (kinds[i] == EngineKind::English ? config.english : config.japanese)();
            engine->synthesize(agent::speech::parseTaggedText(texts[i]).pieces, pcm, cancel);
            const std::string path =
                std::string(std::getenv("TVX_SPEECH_TRACE")) + "." + std::to_string(i) + ".raw";
            if (FILE* f = std::fopen(path.c_str(), "wb")) {
                std::fwrite(pcm.samples.data(), sizeof(int16_t), pcm.samples.size(), f);
                std::fclose(f);
            }
            std::fprintf(trace, "pcm %d %s\n", pcm.sampleRate, path.c_str());
        }
    }

    auto speech = agent::speech::createSpeechService();
    int finished = 0;
    QObject::connect(speech.get(), &agent::speech::SpeechService::requestStarted,
                     [&](const QString& shown) { log("started", shown); });
    QObject::connect(speech.get(), &agent::speech::SpeechService::requestFinished, [&] {
        log("finished", {});
        if (++finished == 2) app.exit(0);
    });
    QObject::connect(speech.get(), &agent::speech::SpeechService::notice, [&](const QString& message) {
        std::fprintf(stderr, "notice: %s\n", qUtf8Printable(message));
        app.exit(3);
    });
    QTimer::singleShot(30000, &app, [&] {
        std::fprintf(stderr, "speech did not finish in time\n");
        app.exit(2);
    });

    for (int i = 0; i < 2; ++i) speech->speak(kinds[i], texts[i]);
    const int rc = app.exec();
    speech->shutdown();
    if (trace) std::fclose(trace);
    return rc;
}
