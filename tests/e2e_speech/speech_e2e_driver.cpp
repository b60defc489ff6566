// Speaks `\Ctx="E-mail"\12,345` in English and `\Spd=195\305` in Japanese, then exits 0.
// With TVX_SPEECH_TRACE=file it writes one line per signal: event, CLOCK_MONOTONIC seconds, text.
// Exit 3 when an engine reports a fault, 2 when the speech does not finish in time.

#include "agent/speech/SpeechService.h"

#include <QCoreApplication>
#include <QTimer>

#include <cstdio>
#include <ctime>

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

    speech->speak(EngineKind::English, R"(\Ctx="E-mail"\12,345)");
    speech->speak(EngineKind::Japanese, R"(\Spd=195\305)");
    const int rc = app.exec();
    speech->shutdown();
    if (trace) std::fclose(trace);
    return rc;
}
