#include "qt/agent/speech/PulseDevice.h"

#include "core/speech/Resampler.h"
#include "core/trace/Trace.h"

#include <pulse/error.h>
#include <pulse/simple.h>

#include <algorithm>
#include <cmath>

namespace agent::speech {
namespace {

using Clock = std::chrono::steady_clock;
using namespace std::chrono_literals;

constexpr int kDeviceRate = 48000;
constexpr int kChunkMs = 10;            // handed to the server at a time
constexpr int kTargetMs = 100;          // what the server keeps queued ahead of the speaker
constexpr int kStartMs = 20;            // a stream that ran dry starts again once this much is queued
constexpr auto kRetryEvery = 2000ms;    // while the server is away and something wants to play
constexpr auto kShutdownWait = 1000ms;  // for a thread held up inside the sound server's library

int64_t framesToUs(int64_t frames) {
    return frames * 1000000 / kDeviceRate;
}

}  // namespace

// The open stream; absent while the server is away.
struct PulseDevice::Connection {
    pa_simple* stream = nullptr;
    ~Connection() { close(); }
    bool open() {
        pa_sample_spec format{PA_SAMPLE_S16LE, kDeviceRate, 1};
        const uint32_t bytesPerMs = kDeviceRate * 2 / 1000;
        pa_buffer_attr attr{};
        attr.maxlength = uint32_t(-1);
        attr.tlength = kTargetMs * bytesPerMs;
        attr.prebuf = kStartMs * bytesPerMs;
        attr.minreq = uint32_t(-1);
        attr.fragsize = uint32_t(-1);
        int error = 0;
        stream = pa_simple_new(nullptr, "Tallyvox-Number", PA_STREAM_PLAYBACK, nullptr, "speech", &format,
                               nullptr, &attr, &error);
        return stream != nullptr;
    }
    void close() {
        if (stream) pa_simple_free(stream);
        stream = nullptr;
    }
    // False when the server went away.
    bool write(const std::vector<int16_t>& pcm) {
        int error = 0;
        return pa_simple_write(stream, pcm.data(), pcm.size() * sizeof(int16_t), &error) == 0;
    }
    int64_t latencyUs() {
        int error = 0;
        const pa_usec_t us = pa_simple_get_latency(stream, &error);
        return error ? 0 : int64_t(us);
    }
    void flush() {
        int error = 0;
        pa_simple_flush(stream, &error);
    }
};

PulseDevice::PulseDevice() {
    thread_ = std::thread([shared = shared_] {
        loop(*shared);
        const std::lock_guard lock(shared->mutex);
        shared->done = true;
        shared->finished.notify_all();
    });
}

PulseDevice::~PulseDevice() {
    std::unique_lock lock(shared_->mutex);
    shared_->stopping = true;
    shared_->handler = nullptr;  // its owner is going away
    shared_->wake.notify_all();
    const bool ended = shared_->finished.wait_for(lock, kShutdownWait, [this] { return shared_->done; });
    lock.unlock();
    // A thread stuck in the sound server's library keeps its own state alive and ends with the process.
    if (ended)
        thread_.join();
    else
        thread_.detach();
}

void PulseDevice::setEventHandler(EventHandler handler) {
    const std::lock_guard lock(shared_->mutex);
    shared_->handler = std::move(handler);
}

void PulseDevice::play(std::shared_ptr<DeviceTrack> track) {
    {
        const std::lock_guard lock(shared_->mutex);
        shared_->next = std::move(track);
    }
    shared_->wake.notify_all();
}

void PulseDevice::report(Shared& s, DeviceEvent e) {
    EventHandler h;
    {
        const std::lock_guard lock(s.mutex);
        h = s.handler;
    }
    if (h) h(e);
}

void PulseDevice::loop(Shared& s) {
    Connection pulse;
    bool everConnected = false, lostReported = false, unavailableReported = false;
    Clock::time_point retryAt{};
    std::shared_ptr<DeviceTrack> track;
    Resampler resampler;
    bool firstChunk = false;
    // Connect at once: opening a stream can take a while on a busy machine, and the first reading
    // of a drill comes 10 ms after the click.
    if (pulse.open()) {
        everConnected = true;
        retryAt = Clock::now() + kRetryEvery;
    }
    for (;;) {
        {
            std::unique_lock lock(s.mutex);
            if (s.stopping) break;
            if (s.next) {
                track = std::move(s.next);
                resampler.reset(track->sampleRate(), kDeviceRate);
                firstChunk = true;
            }
        }
        if (!track) {
            std::unique_lock lock(s.mutex);
            s.wake.wait_for(lock, 200ms, [&s] { return s.stopping || s.next; });
            continue;
        }
        if (!pulse.stream && Clock::now() >= retryAt) {
            retryAt = Clock::now() + kRetryEvery;
            if (pulse.open()) {
                if (lostReported) report(s, DeviceEvent::Back);
                everConnected = true;
                lostReported = false;
            } else if (!everConnected && !unavailableReported) {
                unavailableReported = true;
                report(s, DeviceEvent::Unavailable);
            }
        }
        DeviceTrack::Take t = track->take(size_t(track->sampleRate()) * kChunkMs / 1000);
        if (t.cancelled) {
            if (pulse.stream) pulse.flush();  // what the server still holds must not be heard
            track.reset();
            continue;
        }
        if (t.samples.empty()) {
            if (t.finished) {
                track->allHanded(pulse.stream ? pulse.latencyUs() : 0);
                track.reset();
                continue;
            }
            std::unique_lock lock(s.mutex);
            s.wake.wait_for(lock, 2ms, [&s] { return s.stopping || s.next; });
            continue;
        }
        const std::vector<float> mono = resampler.process(t.samples.data(), t.samples.size());
        std::vector<int16_t> out(mono.size());
        std::transform(mono.begin(), mono.end(), out.begin(),
                       [](float v) { return int16_t(std::lround(std::clamp(v, -1.0f, 1.0f) * 32767.0f)); });
        if (firstChunk) trace::write("first-audio", std::to_string(track->sampleRate()));
        firstChunk = false;
        int64_t latency = 0;
        if (pulse.stream && pulse.write(out)) {
            latency = pulse.latencyUs();
        } else {
            if (pulse.stream) {
                pulse.close();
                retryAt = Clock::now() + kRetryEvery;
                if (!lostReported) report(s, DeviceEvent::Lost);
                lostReported = true;
            }
            // No server: the track plays silently in real time.
            latency = framesToUs(int64_t(out.size()));
            std::this_thread::sleep_for(std::chrono::microseconds(latency));
        }
        track->handed(t.samples.size(), latency);
    }
}

}  // namespace agent::speech
