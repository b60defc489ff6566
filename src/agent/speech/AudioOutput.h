#pragma once

// Where a request's PCM goes: the default Qt Multimedia output, or a silent real-time clock when
// there is no audio device, so the balloon and the beak still last as long as the speech.

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>

namespace agent::speech {

class AudioOutput {
public:
    virtual ~AudioOutput() = default;
    // Opens the output for mono 16-bit PCM at this rate; false when it cannot play.
    virtual bool start(int sampleRate) = 0;
    // Queues samples; they are played in order.
    virtual void write(const int16_t* samples, size_t count) = 0;
    // Called every tick: hands queued audio to the device.
    virtual void pump() {}
    // No more samples will come; the output plays out what it has.
    virtual void finishInput() = 0;
    // Microseconds of this request's audio played so far: the clock the beak follows.
    virtual int64_t playedUs() const = 0;
    // Everything queued has been played (after finishInput).
    virtual bool drained() const = 0;
    // Stops at once; safe to call more than once. Must be called before destruction.
    virtual void stop() = 0;
};

using AudioOutputFactory = std::function<std::unique_ptr<AudioOutput>()>;

// Plays nothing, in real time.
std::unique_ptr<AudioOutput> createSilentOutput();

// The default output device through QAudioSink (push mode), converting the format if the device
// refuses the engine's; falls back to silence, with one warning per process, when there is none.
// The device streams it opens stay open between requests until the factory is destroyed.
AudioOutputFactory defaultAudioOutputFactory();

}  // namespace agent::speech
