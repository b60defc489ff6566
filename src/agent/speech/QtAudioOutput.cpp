#include "agent/speech/QtAudioOutput.h"

#include <QAudioDevice>
#include <QAudioSink>
#include <QMediaDevices>

#include <algorithm>
#include <cstring>

namespace agent::speech {
namespace {

constexpr int kBufferMs = 100;
constexpr int kPaddingMs = 150;  // silence after the speech, so stopping never cuts its end
constexpr int kStallMs = 2000;   // a device that stops moving for this long counts as finished

template <typename T>
void put(QByteArray& out, T value) {
    out.append(reinterpret_cast<const char*>(&value), sizeof value);
}

}  // namespace

QtAudioOutput::QtAudioOutput() = default;

QtAudioOutput::~QtAudioOutput() {
    stop();
}

bool QtAudioOutput::start(int sampleRate) {
    const QAudioDevice device = QMediaDevices::defaultAudioOutput();
    if (device.isNull()) return false;
    QAudioFormat wanted;
    wanted.setSampleRate(sampleRate);
    wanted.setChannelCount(1);
    wanted.setSampleFormat(QAudioFormat::Int16);
    format_ = device.isFormatSupported(wanted) ? wanted : device.preferredFormat();
    if (!format_.isValid()) return false;
    resampler_.reset(sampleRate, format_.sampleRate());
    sink_ = std::make_unique<QAudioSink>(device, format_);
    sink_->setBufferSize(format_.bytesForDuration(kBufferMs * 1000));
    io_ = sink_->start();
    if (!io_ || sink_->error() != QAudio::NoError) return false;
    sinceProgress_.start();
    return true;
}

void QtAudioOutput::append(const std::vector<float>& mono) {
    const int channels = format_.channelCount();
    for (float v : mono) {
        v = std::clamp(v, -1.0f, 1.0f);
        for (int c = 0; c < channels; ++c) {
            switch (format_.sampleFormat()) {
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
    if (!sink_) return;
    append(resampler_.process(samples, count));
    pump();
}

void QtAudioOutput::pump() {
    if (!io_ || queued_.isEmpty()) return;
    const qsizetype room = std::min<qsizetype>(sink_->bytesFree(), queued_.size());
    const qsizetype frame = format_.bytesPerFrame();
    if (room < frame) return;
    const qint64 n = io_->write(queued_.constData(), room - room % frame);
    if (n > 0) queued_.remove(0, n);
}

void QtAudioOutput::finishInput() {
    if (finished_ || !sink_) return;
    finished_ = true;
    append(std::vector<float>(size_t(format_.sampleRate()) * kPaddingMs / 1000, 0.0f));
    pump();
}

int64_t QtAudioOutput::playedUs() const {
    if (!sink_) return 0;
    const int64_t played = sink_->processedUSecs();
    auto* self = const_cast<QtAudioOutput*>(this);
    if (played != lastPlayed_) {
        self->lastPlayed_ = played;
        self->sinceProgress_.restart();
    }
    return played;
}

bool QtAudioOutput::drained() const {
    if (!finished_) return false;
    const QAudio::Error error = sink_ ? sink_->error() : QAudio::FatalError;
    if (error != QAudio::NoError && error != QAudio::UnderrunError) return true;
    const int64_t total = format_.durationForFrames(queuedFrames_);
    return playedUs() >= total || sinceProgress_.elapsed() > kStallMs;
}

void QtAudioOutput::stop() {
    if (!sink_) return;
    // A sink destroyed while active aborts inside PulseAudio: always stop it first.
    sink_->stop();
    sink_.reset();
    io_ = nullptr;
}

}  // namespace agent::speech
