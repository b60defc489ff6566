#include "agent/speech/SynthesisWorker.h"

namespace agent::speech {
namespace {

class StreamSink : public PcmSink {
public:
    explicit StreamSink(PcmStream& stream) : stream_(stream) {}
    void pcm(int rate, const int16_t* s, size_t n) override { stream_.append(rate, s, n); }

private:
    PcmStream& stream_;
};

size_t index(EngineKind kind) {
    return kind == EngineKind::English ? 0 : 1;
}

}  // namespace

SynthesisWorker::SynthesisWorker(EngineFactory english, EngineFactory japanese, FaultHandler onFault)
    : factories_{std::move(english), std::move(japanese)}, onFault_(std::move(onFault)) {
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
    // Engines are built and ended on this thread.
    engines_[0].reset();
    engines_[1].reset();
}

SpeechEngine* SynthesisWorker::engine(EngineKind kind) {
    auto& slot = engines_[index(kind)];
    // A missing engine is looked for again at every request: it may have been installed meanwhile.
    if (!slot && factories_[index(kind)]) slot = factories_[index(kind)]();
    if (!slot) throw EngineError("speech engine not configured");
    return slot.get();
}

void SynthesisWorker::runJob(SynthesisJob& job) {
    bool failed = false;
    try {
        StreamSink sink(*job.stream);
        engine(job.engine)->synthesize(job.pieces, sink, cancel_);
    } catch (const EngineError& e) {
        failed = true;
        onFault_(job.engine, e.what());
    } catch (const std::exception& e) {
        failed = true;
        onFault_(job.engine, std::string("speech engine failed: ") + e.what());
    }
    job.stream->finish(failed);
}

}  // namespace agent::speech
