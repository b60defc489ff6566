#include "qt/agent/speech/SpeechServiceImpl.h"

#include "core/speech/SpeechTags.h"
#include "core/trace/Trace.h"

namespace agent::speech {

namespace {

size_t lane(EngineKind engine) {
    return engine == EngineKind::English ? 0 : 1;
}

// A device hands audio over in chunks and takes a moment to open: no progress for this long is
// still normal.
constexpr qint64 kStallGraceMs = 250;

}  // namespace

SpeechServiceImpl::SpeechServiceImpl(SpeechServiceConfig config, QObject* parent)
    : config_(std::move(config)) {
    setParent(parent);
    if (!config_.output) config_.output = createSilentOutput;
    auto report = [this](EngineKind kind, const std::string& message) {
        const QString text = QString::fromStdString(message);
        QMetaObject::invokeMethod(
            this, [this, kind, text] { onFault(kind, text); }, Qt::QueuedConnection);
    };
    lanes_[0] = std::make_unique<SynthesisWorker>(EngineKind::English, config_.english, report);
    lanes_[1] = std::make_unique<SynthesisWorker>(EngineKind::Japanese, config_.japanese, report);
    if (config_.watchDevice) {
        config_.watchDevice([this](DeviceEvent e) {
            QMetaObject::invokeMethod(
                this, [this, e] { onDevice(e); }, Qt::QueuedConnection);
        });
    }
    clock_.start();
    timer_.setTimerType(Qt::PreciseTimer);
    timer_.setInterval(config_.tickMs);
    connect(&timer_, &QTimer::timeout, this, &SpeechServiceImpl::tick);
}

SpeechServiceImpl::~SpeechServiceImpl() {
    stopAll(false);
}

std::shared_ptr<PcmStream> SpeechServiceImpl::synthesise(EngineKind engine, std::vector<SpeechPiece> pieces,
                                                         bool now) {
    std::string voice;
    if (engine == EngineKind::English) {
        std::string spoken;
        for (const auto& piece : pieces) spoken += piece.text;
        voice = voices_.voiceFor(spoken);
    }
    const std::string key = SpeechCache::keyOf(engine, pieces) + '\x1f' + voice;
    if (auto cached = cache_.find(key)) return cached;
    auto stream = std::make_shared<PcmStream>();
    cache_.insert(key, stream);
    lanes_[lane(engine)]->enqueue({std::move(pieces), stream, now, voice});
    return stream;
}

void SpeechServiceImpl::speak(EngineKind engine, const std::string& taggedText) {
    if (down_) return;
    trace::write("speak", engine == EngineKind::English ? "en" : "ja");
    TaggedText parsed = parseTaggedText(taggedText);
    queue_.push_back({synthesise(engine, std::move(parsed.pieces), true),
                      QString::fromStdString(parsed.shown), deviceStallMs()});
    if (!timer_.isActive()) timer_.start();
}

void SpeechServiceImpl::prepare(EngineKind engine, const std::string& taggedText) {
    if (down_) return;
    synthesise(engine, parseTaggedText(taggedText).pieces, false);
}

void SpeechServiceImpl::shutdown() {
    stopAll(true);
}

void SpeechServiceImpl::stopAll(bool announce) {
    if (down_) return;
    down_ = true;
    timer_.stop();
    // The device thread is told to stop playing before the lanes are joined.
    if (output_) output_->stop();
    output_.reset();
    lanes_[0]->stop();
    lanes_[1]->stop();
    queue_.clear();
    config_.output = {};  // closes the device streams it keeps open between requests
    if (announce && started_) {
        setMouth(0);
        emit requestFinished();
    }
    current_.reset();
    started_ = false;
}

void SpeechServiceImpl::onFault(EngineKind engine, const QString& message) {
    const int i = engine == EngineKind::English ? 0 : 1;
    if (noticed_[i] || down_) return;
    noticed_[i] = true;
    qWarning("speech: %s", qUtf8Printable(message));
    emit notice(message);
}

void SpeechServiceImpl::onDevice(DeviceEvent event) {
    if (down_) return;
    switch (event) {
        case DeviceEvent::Unavailable:
            qWarning("speech: no sound server; speaking silently");
            break;
        case DeviceEvent::Lost:
            // One notice per outage; sound comes back by itself when the server does.
            if (deviceLost_) return;
            deviceLost_ = true;
            qWarning("speech: the sound server went away; speaking silently until it is back");
            emit notice(
                QString::fromUtf8("音が出なくなりました。サウンドサーバーが止まったようです。"
                                  "練習はこのまま続き、サウンドサーバーが戻ると数秒で音も戻ります。\n\n"
                                  "(the PulseAudio/PipeWire sound server went away)"));
            break;
        case DeviceEvent::Back:
            deviceLost_ = false;
            qInfo("speech: the sound server is back");
            break;
    }
}

qint64 SpeechServiceImpl::deviceStallMs() const {
    if (!watching_) return stallMs_;
    return stallMs_ + std::max<qint64>(0, clock_.elapsed() - lastProgressMs_ - kStallGraceMs);
}

void SpeechServiceImpl::watchProgress() {
    const int64_t played = output_->playedUs();
    if (played == lastPlayedUs_ && !output_->drained()) return;
    stallMs_ = deviceStallMs();
    lastPlayedUs_ = played;
    lastProgressMs_ = clock_.elapsed();
}

void SpeechServiceImpl::drop(const char* why) {
    trace::write("dropped", why);
    if (output_) {
        output_->stop();  // what the device still holds of it is not heard either
        output_.reset();
    }
    stallMs_ = deviceStallMs();
    watching_ = false;
    setMouth(0);
    current_.reset();
    if (started_) emit requestFinished();  // its balloon closes with it
    started_ = false;
}

void SpeechServiceImpl::tick() {
    for (;;) {
        if (!current_) {
            if (queue_.empty()) {
                timer_.stop();
                return;
            }
            current_ = std::move(queue_.front());
            queue_.pop_front();
            if (deviceStallMs() - current_->stallAtQueue > config_.lateStartMs) {
                drop("late");  // queued behind a stalled device: its number has gone by
                continue;
            }
            phase_ = Phase::Waiting;
            pcm_.clear();
            written_ = 0;
            started_ = false;
        }
        switch (phase_) {
            case Phase::Waiting:
                if (!startPlaying()) {
                    if (!current_) continue;  // skipped: try the next one now
                    return;                   // nothing synthesised yet
                }
                break;
            case Phase::Playing:
            case Phase::Draining: {
                feed();
                watchProgress();
                if (deviceStallMs() - current_->stallAtQueue > config_.lateStartMs) {
                    drop("stalled");
                    continue;
                }
                // Held up by the device, it overran into the next reading's turn: the next one
                // starts on its tick rather than after it. A hiccup of a busy machine is no hold-up.
                const bool playingOn = clock_.elapsed() - lastProgressMs_ <= kStallGraceMs;
                const bool heldUp = deviceStallMs() - current_->stallAtQueue > kStallGraceMs;
                if (!queue_.empty() && playingOn && heldUp) {
                    drop("superseded");
                    continue;
                }
                if (phase_ == Phase::Draining && output_->drained()) {
                    watching_ = false;
                    output_->stop();
                    output_.reset();
                    setMouth(0);
                    phase_ = Phase::Holding;
                    hold_.start();
                }
                break;
            }
            case Phase::Holding:
                break;
        }
        if (phase_ != Phase::Holding || hold_.elapsed() < config_.balloonHoldMs) return;
        current_.reset();
        started_ = false;
        trace::write("finished");
        emit requestFinished();
    }
}

bool SpeechServiceImpl::startPlaying() {
    const PcmStream::Status status = current_->stream->read(0, pcm_);
    if (status.state == PcmStream::State::Failed) {
        current_.reset();  // the engine reported it; the request is skipped
        return false;
    }
    if (pcm_.empty() && status.state == PcmStream::State::Pending) return false;
    started_ = true;
    emit requestStarted(current_->shown);
    if (pcm_.empty()) {  // nothing to say: show the balloon briefly
        phase_ = Phase::Holding;
        hold_.start();
        return true;
    }
    output_ = config_.output();
    if (!output_->start(status.sampleRate)) {
        output_->stop();
        output_ = createSilentOutput();
        output_->start(status.sampleRate);
    }
    envelope_ = std::make_unique<MouthEnvelope>(status.sampleRate);
    phase_ = Phase::Playing;
    watching_ = true;
    lastPlayedUs_ = 0;
    lastProgressMs_ = clock_.elapsed();
    feed();
    return true;
}

void SpeechServiceImpl::feed() {
    if (phase_ == Phase::Playing) {
        const PcmStream::Status status = current_->stream->read(pcm_.size(), pcm_);
        if (pcm_.size() > written_) {
            envelope_->append(pcm_.data() + written_, pcm_.size() - written_);
            output_->write(pcm_.data() + written_, pcm_.size() - written_);
            written_ = pcm_.size();
        }
        if (status.state != PcmStream::State::Pending) {
            output_->finishInput();
            phase_ = Phase::Draining;
        }
    }
    output_->pump();
    updateMouth();
}

void SpeechServiceImpl::updateMouth() {
    setMouth(envelope_->openingAt(output_->playedUs()));
}

void SpeechServiceImpl::setMouth(int opening) {
    if (opening == mouth_) return;
    mouth_ = opening;
    emit mouthChanged(opening);
}

}  // namespace agent::speech
