#include "FakeEngine.h"

#include <chrono>
#include <cmath>
#include <thread>

namespace agent::speech {
namespace {

size_t samplesPerChar(const FakeEngineScript& s, int speedWpm) {
    const double ms = speedWpm > 0 ? s.msPerChar * 150.0 / speedWpm : s.msPerChar;
    return static_cast<size_t>(ms * s.sampleRate / 1000.0);
}

}  // namespace

void FakeEngineLog::add(std::vector<SpeechPiece> pieces) {
    std::lock_guard lock(mutex_);
    calls_.push_back(std::move(pieces));
}

std::vector<std::vector<SpeechPiece>> FakeEngineLog::calls() const {
    std::lock_guard lock(mutex_);
    return calls_;
}

FakeEngine::FakeEngine(FakeEngineScript script, std::shared_ptr<FakeEngineLog> log)
    : script_(std::move(script)), log_(std::move(log)) {}

size_t FakeEngine::samplesFor(const FakeEngineScript& script, const std::string& text, int speedWpm) {
    return text.size() * samplesPerChar(script, speedWpm);
}

void FakeEngine::synthesize(const std::vector<SpeechPiece>& pieces, PcmSink& sink,
                            const std::atomic<bool>& cancel) {
    if (log_) log_->add(pieces);
    if (!script_.failWith.empty()) throw EngineError(script_.failWith);
    for (int waited = 0; waited < script_.delayMs && !cancel; waited += 5)
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    std::vector<int16_t> chunk;
    for (const auto& piece : pieces) {
        const size_t n = samplesPerChar(script_, piece.speedWpm);
        for (char c : piece.text) {
            if (cancel) return;
            chunk.assign(n, 0);
            if (c != ' ') {
                for (size_t i = 0; i < n; ++i)
                    chunk[i] = static_cast<int16_t>(script_.amplitude *
                                                    std::sin(2 * M_PI * 200.0 * i / script_.sampleRate));
            }
            sink.pcm(script_.sampleRate, chunk.data(), chunk.size());
        }
    }
}

}  // namespace agent::speech
