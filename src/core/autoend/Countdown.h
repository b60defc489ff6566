#pragma once

#include "core/autoend/ShutdownWindows.h"

#include <cstdint>
#include <functional>
#include <string>

namespace platform {
class IPower;
}

namespace autoend {

class IWallClock;
class MainWindowHost;
struct AutoEndState;

// UTF-8 texts. "あと " + F(limit − seconds/60) + ending, F being "####0.0": one decimal, halves away from
// zero, computed exactly. A value just below zero is written "-0.0": the minus shows that the limit is
// passed.
std::string minuteCaption(std::int32_t limit, std::int64_t seconds, bool shutdown);
// "あと " + (limit − count) + ending.
std::string countCaption(std::int32_t limit, std::int16_t count, bool shutdown);

// The main window's side of an armed auto-end: the ejTimer2 tick and the cancel button Command10.
class Countdown {
public:
    // power is asked for lazily, at the first shutdown request, so nothing is contacted before then.
    Countdown(MainWindowHost& host, AutoEndState& state, const IWallClock& clock,
              std::function<platform::IPower&()> power);

    // The tick: caption first, then the limit test with a fresh clock reading. Nothing is disarmed
    // when the limit is passed, so a refused shutdown is asked for again at every tick.
    void ejtimer2_timer();
    // "中止" on the main window.
    void Command10_Click();

private:
    std::int64_t elapsedSeconds() const;

    MainWindowHost& host_;
    AutoEndState& state_;
    const IWallClock& clock_;
    std::function<platform::IPower&()> power_;
};

}  // namespace autoend
