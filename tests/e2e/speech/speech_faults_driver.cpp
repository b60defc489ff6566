// Plays a steady tone through the real audio output (a stand-in engine, so that any silence heard
// inside it is the output's doing) while the test harms the program from outside or inside.
//   stall:   one 3 s tone; the main thread is blocked for 300 ms twice while it plays.
//   restart SECONDS: a 0.4 s tone every second for that long, while the test kills and restarts
//            the sound server; every notice is printed to stdout as "notice: <text>".
//   drill SECONDS: a 1.2 s tone every 2 s for that long, as a drill reads, while the test stalls
//            the sound server (SIGSTOP, then SIGCONT).
// Exits 0 when done, 2 when the speech does not finish in time.

#include "FakeEngine.h"
#include "qt/agent/speech/SpeechServiceConfig.h"

#include <QCoreApplication>
#include <QTimer>

#include <chrono>
#include <cstdio>
#include <string>
#include <thread>

using namespace agent::speech;

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    const std::string mode = argc > 1 ? argv[1] : "stall";
    SpeechServiceConfig config = defaultSpeechServiceConfig();
    FakeEngineScript tone;
    tone.msPerChar = 40;
    config.english = [tone] { return std::make_unique<FakeEngine>(tone, nullptr); };
    auto speech = createSpeechService(std::move(config));
    QObject::connect(speech.get(), &SpeechService::notice, [](const QString& message) {
        std::printf("notice: %s\n", qUtf8Printable(QString(message).replace('\n', ' ')));
        std::fflush(stdout);
    });
    int finished = 0;
    if (mode == "stall") {
        QObject::connect(speech.get(), &SpeechService::requestFinished, [&] { app.exit(0); });
        auto stall = [] { std::this_thread::sleep_for(std::chrono::milliseconds(300)); };
        QObject::connect(speech.get(), &SpeechService::requestStarted, [&] {
            QTimer::singleShot(600, stall);
            QTimer::singleShot(1500, stall);
        });
        speech->speak(EngineKind::English, std::string(75, 'x'));
        QTimer::singleShot(15000, &app, [&] { app.exit(2); });
    } else {
        const int seconds = argc > 2 ? std::atoi(argv[2]) : 15;
        const bool drill = mode == "drill";
        auto* every = new QTimer(&app);
        QObject::connect(every, &QTimer::timeout, [&, drill] {
            speech->speak(EngineKind::English, std::string(drill ? 30 : 10, 'x'));
        });
        QObject::connect(speech.get(), &SpeechService::requestFinished, [&] { ++finished; });
        every->start(drill ? 2000 : 1000);
        QTimer::singleShot(seconds * 1000, &app, [&] { app.exit(finished > 0 ? 0 : 2); });
    }
    const int rc = app.exec();
    speech->shutdown();
    return rc;
}
