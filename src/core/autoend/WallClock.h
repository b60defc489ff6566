#pragma once

#include <chrono>

namespace autoend {

// The local wall clock in whole seconds. The countdown follows it, so setting the system clock moves
// the countdown by the same amount; tests step a clock of their own.
class IWallClock {
public:
    virtual ~IWallClock() = default;
    virtual std::chrono::local_seconds now() const = 0;
};

// The machine's clock in its local time zone.
const IWallClock& systemWallClock();

}  // namespace autoend
