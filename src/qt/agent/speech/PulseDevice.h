#pragma once

// The sound server's playback stream, fed from a thread of its own. It plays one DeviceTrack at a
// time, resampled to one fixed device rate, so the stream stays open between requests. When the
// server goes away the track plays on silently in real time (the balloon and beak keep their
// timing) and the connection is tried again every so often while there is something to play; the
// owner hears of each loss and each return once.

#include "qt/agent/speech/AudioOutput.h"
#include "qt/agent/speech/DeviceTrack.h"

#include <condition_variable>
#include <functional>
#include <memory>
#include <mutex>
#include <thread>

namespace agent::speech {

class PulseDevice {
public:
    using EventHandler = std::function<void(DeviceEvent)>;  // called on the device thread

    PulseDevice();
    ~PulseDevice();
    PulseDevice(const PulseDevice&) = delete;
    PulseDevice& operator=(const PulseDevice&) = delete;

    void setEventHandler(EventHandler handler);
    // Plays this track from now on, in place of any other.
    void play(std::shared_ptr<DeviceTrack> track);

private:
    struct Connection;
    // What the device thread works with. It outlives the device when a connection attempt or a
    // write hangs on an unresponsive sound server: the program must still be able to end.
    struct Shared {
        std::mutex mutex;
        std::condition_variable wake;
        std::condition_variable finished;
        std::shared_ptr<DeviceTrack> next;
        EventHandler handler;
        bool stopping = false;
        bool done = false;
    };
    static void loop(Shared& s);
    static void report(Shared& s, DeviceEvent e);
    std::shared_ptr<Shared> shared_ = std::make_shared<Shared>();
    std::thread thread_;
};

}  // namespace agent::speech
