#pragma once

namespace platform {

// A window timer as the drill's handlers see it: an interval in milliseconds and an enabled switch.
// Setting the interval restarts the countdown; an interval of 0 never fires.
class ITimer {
public:
    virtual ~ITimer() = default;
    virtual void setInterval(int ms) = 0;
    virtual int interval() const = 0;
    virtual void setEnabled(bool on) = 0;
    virtual bool enabled() const = 0;
};

}  // namespace platform
