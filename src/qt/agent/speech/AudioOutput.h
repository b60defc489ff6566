#pragma once

// Where a request's PCM goes: the shared PulseAudio device (libpulse-simple), or a silent real-time
// clock when there is no audio device, so the balloon and the beak still last as long as the speech.

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

// What became of the sound server, reported from the device thread.
enum class DeviceEvent {
    Unavailable,  // there was none from the start: speaking silently
    Lost,         // it went away while the drill ran
    Back,         // it came back after being lost
};
using DeviceWatch = std::function<void(std::function<void(DeviceEvent)>)>;

struct DefaultAudio {
    AudioOutputFactory output;  // outputs on one shared device stream, fed from its own thread
    DeviceWatch watch;          // installs the handler of the device's events
};

// The sound server's default sink, one stream kept open for the life of the factory, written from a
// thread of its own; silence in real time while there is no server, tried again now and then.
DefaultAudio defaultAudio();

}  // namespace agent::speech
