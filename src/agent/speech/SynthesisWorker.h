#pragma once

// The synthesis thread: takes requests in queue order, builds each engine on first use and
// writes the audio into the request's stream. Never touches Qt objects.

#include "agent/speech/PcmStream.h"
#include "agent/speech/SpeechEngine.h"
#include "agent/speech/SpeechService.h"

#include <condition_variable>
#include <deque>
#include <thread>

namespace agent::speech {

struct SynthesisJob {
    EngineKind engine;
    std::vector<SpeechPiece> pieces;
    std::shared_ptr<PcmStream> stream;
};

class SynthesisWorker {
public:
    using FaultHandler = std::function<void(EngineKind, const std::string& message)>;
    SynthesisWorker(EngineFactory english, EngineFactory japanese, FaultHandler onFault);
    ~SynthesisWorker();
    void enqueue(SynthesisJob job);
    // Cancels the running synthesis (killing its child process), drops the queue, joins the thread.
    void stop();

private:
    void loop();
    void runJob(SynthesisJob& job);
    SpeechEngine* engine(EngineKind kind);

    EngineFactory factories_[2];
    std::unique_ptr<SpeechEngine> engines_[2];
    FaultHandler onFault_;
    std::mutex mutex_;
    std::condition_variable wake_;
    std::deque<SynthesisJob> jobs_;
    bool stopping_ = false;
    std::atomic<bool> cancel_{false};
    std::thread thread_;
};

}  // namespace agent::speech
