#pragma once

// The sound server's playback stream, fed from a thread of its own. It plays one DeviceTrack at a
// time, resampled to one fixed device rate, so the stream stays open between requests. When the
// server goes away the track plays on silently in real time (the balloon and beak keep their
// timing) and the connection is tried again every so often while there is something to play; the
// owner hears of each loss and each return once.

#include "agent/speech/DeviceTrack.h"

#include <condition_variable>
#include <functional>
#include <memory>
#include <mutex>
#include <thread>

namespace agent::speech {

class PulseDevice {
public:
    enum class Event { Unavailable, Lost, Back };
    using EventHandler = std::function<void(Event)>;  // called on the device thread

    PulseDevice();
    ~PulseDevice();
    PulseDevice(const PulseDevice&) = delete;
    PulseDevice& operator=(const PulseDevice&) = delete;

    void setEventHandler(EventHandler handler);
    // Plays this track from now on, in place of any other.
    void play(std::shared_ptr<DeviceTrack> track);

private:
    struct Connection;
    void loop();
    void report(Event e);

    std::mutex mutex_;
    std::condition_variable wake_;
    std::shared_ptr<DeviceTrack> next_;
    EventHandler handler_;
    bool stopping_ = false;
    std::thread thread_;
};

}  // namespace agent::speech
