#pragma once

// Runs a SpeechService on fake engines and a controllable output, recording what it emits.

#include "FakeEngine.h"
#include "qt/agent/speech/SpeechServiceConfig.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QStringList>

namespace agent::speech::testing {

inline QCoreApplication& app() {
    static int argc = 1;
    static char name[] = "speech_test";
    static char* argv[] = {name, nullptr};
    static QCoreApplication instance(argc, argv);
    return instance;
}

// An output whose played position the test sets by hand, as a device that starts late would.
struct ManualClock {
    int64_t positionUs = 0;
    std::vector<int> startedRates;
    size_t written = 0;
    bool finished = false;
    int stops = 0;
};

class ManualOutput : public AudioOutput {
public:
    explicit ManualOutput(std::shared_ptr<ManualClock> clock) : clock_(std::move(clock)) {}
    bool start(int rate) override {
        rate_ = rate;
        clock_->startedRates.push_back(rate);
        clock_->written = 0;
        clock_->finished = false;
        return true;
    }
    void write(const int16_t*, size_t n) override { clock_->written += n; }
    void finishInput() override { clock_->finished = true; }
    int64_t playedUs() const override { return clock_->positionUs; }
    bool drained() const override {
        return clock_->finished && clock_->positionUs >= int64_t(clock_->written) * 1000000 / rate_;
    }
    void stop() override { ++clock_->stops; }

private:
    std::shared_ptr<ManualClock> clock_;
    int rate_ = 1;
};

// Every signal as one line, with the milliseconds since the harness started.
struct Events {
    QStringList lines;
    std::vector<qint64> startedAt, finishedAt;
    std::vector<int> mouths;
    QStringList notices;
};

class Harness {
public:
    Harness(FakeEngineScript english, FakeEngineScript japanese, AudioOutputFactory output = {})
        : englishScript(english), japaneseScript(japanese) {
        app();
        SpeechServiceConfig config;
        config.english = [this] { return std::make_unique<FakeEngine>(englishScript, englishLog); };
        config.japanese = [this] { return std::make_unique<FakeEngine>(japaneseScript, japaneseLog); };
        config.output = output ? output : AudioOutputFactory(createSilentOutput);
        build(std::move(config));
    }
    explicit Harness(SpeechServiceConfig config) {
        app();
        build(std::move(config));
    }
    // Runs the event loop until the predicate holds or the time is up.
    bool waitFor(const std::function<bool()>& done, int timeoutMs = 5000) {
        QElapsedTimer t;
        t.start();
        while (!done() && t.elapsed() < timeoutMs) QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
        return done();
    }
    bool waitFinished(size_t count, int timeoutMs = 5000) {
        return waitFor([&] { return events.finishedAt.size() >= count; }, timeoutMs);
    }

    FakeEngineScript englishScript, japaneseScript;
    std::shared_ptr<FakeEngineLog> englishLog = std::make_shared<FakeEngineLog>();
    std::shared_ptr<FakeEngineLog> japaneseLog = std::make_shared<FakeEngineLog>();
    std::unique_ptr<SpeechService> service;
    Events events;
    QElapsedTimer clock;

private:
    void build(SpeechServiceConfig config) {
        config.balloonHoldMs = 50;
        service = createSpeechService(std::move(config));
        clock.start();
        QObject::connect(service.get(), &SpeechService::requestStarted, [this](const QString& shown) {
            events.lines << "started:" + shown;
            events.startedAt.push_back(clock.elapsed());
        });
        QObject::connect(service.get(), &SpeechService::requestFinished, [this] {
            events.lines << "finished";
            events.finishedAt.push_back(clock.elapsed());
        });
        QObject::connect(service.get(), &SpeechService::mouthChanged,
                         [this](int m) { events.mouths.push_back(m); });
        QObject::connect(service.get(), &SpeechService::notice,
                         [this](const QString& m) { events.notices << m; });
    }
};

}  // namespace agent::speech::testing
