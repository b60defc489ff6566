#include "agent/speech/QtAudioOutput.h"

#include "agent/speech/AudioTrace.h"

#include <QAudioDevice>
#include <QAudioSink>
#include <QMediaDevices>

#include <algorithm>
#include <cstring>

namespace agent::speech {
namespace {

constexpr int kBufferMs = 100;
constexpr int kStallMs = 2000;  // a device that stops moving for this long counts as finished

template <typename T>
void put(QByteArray& out, T value) {
    out.append(reinterpret_cast<const char*>(&value), sizeof value);
}

bool usable(const QtAudioStreams::Stream& s) {
    const QAudio::Error e = s.sink->error();
    return s.io && s.sink->state() != QAudio::StoppedState &&
           (e == QAudio::NoError || e == QAudio::UnderrunError);
}

}  // namespace

QtAudioStreams::~QtAudioStreams() {
    for (auto& [rate, s] : streams_) s.sink->stop();  // a sink destroyed while active aborts in PulseAudio
}

QtAudioStreams::Stream* QtAudioStreams::open(int sampleRate) {
    auto it = streams_.find(sampleRate);
    if (it != streams_.end()) {
        Stream& s = it->second;
        if (usable(s)) return &s;
        // Restart the same sink rather than making a new one: PulseAudio may still call back into a
        // sink after it stopped, and a destroyed one crashes the program there.
        if (s.io) s.sink->stop();
        s.io = s.sink->start();
        if (s.io && s.sink->error() == QAudio::NoError) return &s;
        s.sink->stop();
        s.io = nullptr;
        return nullptr;
    }
    const QAudioDevice device = QMediaDevices::defaultAudioOutput();
    if (device.isNull()) return nullptr;
    QAudioFormat wanted;
    wanted.setSampleRate(sampleRate);
    wanted.setChannelCount(1);
    wanted.setSampleFormat(QAudioFormat::Int16);
    Stream s;
    s.format = device.isFormatSupported(wanted) ? wanted : device.preferredFormat();
    if (!s.format.isValid()) return nullptr;
    s.sink = std::make_unique<QAudioSink>(device, s.format);
    s.sink->setBufferSize(s.format.bytesForDuration(kBufferMs * 1000));
    s.io = s.sink->start();
    Stream& kept = streams_[sampleRate] = std::move(s);  // kept even when it failed, for the same reason
    if (!kept.io || kept.sink->error() != QAudio::NoError) {
        kept.sink->stop();
        kept.io = nullptr;
        return nullptr;
    }
    return &kept;
}

void QtAudioStreams::close(int sampleRate) {
    auto it = streams_.find(sampleRate);
    if (it == streams_.end() || !it->second.io) return;
    // Stopping drops what the sink still holds; the sink object itself lives on until shutdown.
    it->second.sink->stop();
    it->second.io = nullptr;
}

QtAudioOutput::QtAudioOutput(std::shared_ptr<QtAudioStreams> streams) : streams_(std::move(streams)) {}

QtAudioOutput::~QtAudioOutput() {
    stop();
}

bool QtAudioOutput::start(int sampleRate) {
    stream_ = streams_->open(sampleRate);
    if (!stream_) return false;
    rate_ = sampleRate;
    resampler_.reset(sampleRate, stream_->format.sampleRate());
    // The stream does not move while idle, so this request's position counts from here.
    baseUs_ = stream_->sink->processedUSecs();
    lastPlayed_ = 0;
    sinceProgress_.start();
    return true;
}

void QtAudioOutput::append(const std::vector<float>& mono) {
    const QAudioFormat& format = stream_->format;
    const int channels = format.channelCount();
    for (float v : mono) {
        v = std::clamp(v, -1.0f, 1.0f);
        for (int c = 0; c < channels; ++c) {
            switch (format.sampleFormat()) {
                case QAudioFormat::UInt8:
                    put(queued_, uint8_t(128 + int(v * 127)));
                    break;
                case QAudioFormat::Int16:
                    put(queued_, int16_t(v * 32767));
                    break;
                case QAudioFormat::Int32:
                    put(queued_, int32_t(double(v) * 2147483647.0));
                    break;
                case QAudioFormat::Float:
                    put(queued_, v);
                    break;
                default:
                    break;
            }
        }
    }
    queuedFrames_ += int64_t(mono.size());
}

void QtAudioOutput::write(const int16_t* samples, size_t count) {
    if (!stream_) return;
    append(resampler_.process(samples, count));
    pump();
}

void QtAudioOutput::pump() {
    if (!stream_ || queued_.isEmpty()) return;
    const qsizetype room = std::min<qsizetype>(stream_->sink->bytesFree(), queued_.size());
    const qsizetype frame = stream_->format.bytesPerFrame();
    if (room < frame) return;
    const qint64 n = stream_->io->write(queued_.constData(), room - room % frame);
    if (n <= 0) return;
    if (!wroteAny_) traceAudio("first-audio", std::to_string(rate_));
    wroteAny_ = true;
    queued_.remove(0, n);
}

void QtAudioOutput::finishInput() {
    if (finished_ || !stream_) return;
    finished_ = true;
    // PulseAudio restarts an idle stream only once a full buffer is queued: a shorter request is
    // padded with silence to that length so it is not held until the next one comes.
    const QAudioFormat& format = stream_->format;
    const int64_t bufferFrames = format.framesForBytes(stream_->sink->bufferSize());
    if (queuedFrames_ < bufferFrames) append(std::vector<float>(size_t(bufferFrames - queuedFrames_), 0.0f));
    pump();
}

int64_t QtAudioOutput::playedUs() const {
    if (!stream_) return 0;
    const int64_t played = std::max<int64_t>(0, stream_->sink->processedUSecs() - baseUs_);
    auto* self = const_cast<QtAudioOutput*>(this);
    if (played != lastPlayed_) {
        self->lastPlayed_ = played;
        self->sinceProgress_.restart();
    }
    return played;
}

bool QtAudioOutput::allPlayed() const {
    return finished_ && queued_.isEmpty() && playedUs() >= stream_->format.durationForFrames(queuedFrames_);
}

bool QtAudioOutput::drained() const {
    if (!finished_) return false;
    if (!stream_ || !usable(*stream_)) return true;
    return allPlayed() || sinceProgress_.elapsed() > kStallMs;
}

void QtAudioOutput::stop() {
    if (!stream_) return;
    // A request cut short, or a stream that stalled or failed, must not leave audio behind for
    // the next request: only a stream that played everything stays open.
    if (!usable(*stream_) || !allPlayed()) streams_->close(rate_);
    stream_ = nullptr;
}

}  // namespace agent::speech
