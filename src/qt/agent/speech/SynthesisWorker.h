#pragma once

// One voice's synthesis lane: a thread of its own that takes that voice's requests in queue
// order, builds the engine on first use and writes the audio into each request's stream. Each
// voice has its own lane, so a stuck engine never holds up the other voice. Never touches Qt.

#include "qt/agent/speech/PcmStream.h"
#include "qt/agent/speech/SpeechEngine.h"
#include "qt/agent/speech/SpeechService.h"

#include <condition_variable>
#include <deque>
#include <thread>

namespace agent::speech {

struct SynthesisJob {
    std::vector<SpeechPiece> pieces;
    std::shared_ptr<PcmStream> stream;
    bool now = false;   // to be played at once, not prepared ahead
    std::string voice;  // empty: the engine's own
};

class SynthesisWorker {
public:
    using FaultHandler = std::function<void(EngineKind, const std::string& message)>;
    SynthesisWorker(EngineKind kind, EngineFactory factory, FaultHandler onFault);
    ~SynthesisWorker();
    void enqueue(SynthesisJob job);
    // Cancels the running synthesis (killing its child process), drops the queue, joins the thread.
    void stop();

private:
    void loop();
    void runJob(SynthesisJob& job);
    SpeechEngine* engine();

    EngineKind kind_;
    EngineFactory factory_;
    std::unique_ptr<SpeechEngine> engine_;
    FaultHandler onFault_;
    std::mutex mutex_;
    std::condition_variable wake_;
    std::deque<SynthesisJob> jobs_;
    bool stopping_ = false;
    std::atomic<bool> cancel_{false};
    std::thread thread_;
};

}  // namespace agent::speech
