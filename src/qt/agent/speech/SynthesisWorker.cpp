#include "qt/agent/speech/SynthesisWorker.h"

namespace agent::speech {
namespace {

class StreamSink : public PcmSink {
public:
    explicit StreamSink(PcmStream& stream) : stream_(stream) {}
    void pcm(int rate, const int16_t* s, size_t n) override { stream_.append(rate, s, n); }

private:
    PcmStream& stream_;
};

}  // namespace

SynthesisWorker::SynthesisWorker(EngineKind kind, EngineFactory factory, FaultHandler onFault)
    : kind_(kind), factory_(std::move(factory)), onFault_(std::move(onFault)) {
    thread_ = std::thread([this] { loop(); });
}

SynthesisWorker::~SynthesisWorker() {
    stop();
}

void SynthesisWorker::enqueue(SynthesisJob job) {
    {
        std::lock_guard lock(mutex_);
        if (stopping_) return;
        jobs_.push_back(std::move(job));
    }
    wake_.notify_one();
}

void SynthesisWorker::stop() {
    {
        std::lock_guard lock(mutex_);
        stopping_ = true;
        jobs_.clear();
    }
    cancel_ = true;
    wake_.notify_one();
    if (thread_.joinable()) thread_.join();
}

void SynthesisWorker::loop() {
    // Built before the first request, which then does not wait for the engine to load its data;
    // a failure here is reported when a request first needs the engine.
    try {
        engine();
    } catch (const std::exception&) {
        engine_.reset();
    }
    for (;;) {
        SynthesisJob job;
        {
            std::unique_lock lock(mutex_);
            wake_.wait(lock, [this] { return stopping_ || !jobs_.empty(); });
            if (stopping_) break;
            job = std::move(jobs_.front());
            jobs_.pop_front();
        }
        runJob(job);
    }
    // The engine is built and ended on this thread.
    engine_.reset();
}

SpeechEngine* SynthesisWorker::engine() {
    // A missing engine is looked for again at every request: it may have been installed meanwhile.
    if (!engine_ && factory_) engine_ = factory_();
    if (!engine_) throw EngineError("speech engine not configured");
    return engine_.get();
}

void SynthesisWorker::runJob(SynthesisJob& job) {
    bool failed = false;
    try {
        StreamSink sink(*job.stream);
        if (!job.voice.empty()) engine()->useVoice(job.voice);
        if (job.now)
            engine()->synthesizeNow(job.pieces, sink, cancel_);
        else
            engine()->synthesize(job.pieces, sink, cancel_);
    } catch (const EngineError& e) {
        failed = true;
        onFault_(kind_, e.what());
    } catch (const std::exception& e) {
        failed = true;
        onFault_(kind_, std::string("speech engine failed: ") + e.what());
    }
    job.stream->finish(failed);
}

}  // namespace agent::speech
