#pragma once

#include <memory>
#include <string>

namespace platform {

// The system's shutdown requests. Every request is fire-and-forget: the caller never learns whether the
// system will go down, and may repeat a request as often as it likes.
class IPower {
public:
    virtual ~IPower() = default;
    // An ordinary shutdown, as the old consumer editions were asked for one.
    virtual void requestShutdown() = 0;
    // Obtains, as far as the platform allows, the right to shut down; forcePowerOff relies on it.
    virtual void acquireShutdownRight() = 0;
    // Powers off without letting other programs object.
    virtual void forcePowerOff() = 0;
};

// The requests of the machine the program runs on. Nothing is contacted before the first request.
std::unique_ptr<IPower> makeSystemPower();

#ifndef _WIN32
// Requests sent to systemd-logind over the D-Bus at busAddress, connected at the first request; tests
// pass a private bus with a stand-in service. A refused request is written once to stderr, the first
// time one is refused.
std::unique_ptr<IPower> makeLogindPower(const std::string& busAddress);
#endif

}  // namespace platform
