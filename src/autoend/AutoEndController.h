#pragma once

#include "autoend/Countdown.h"

#include <memory>

namespace platform {
class IPower;
}

namespace autoend {

class IWallClock;
class MainWindowHost;
class TracingHost;
struct AutoEndState;

// Everything the main window calls of the auto-end, for one main window. Construct it with the window
// and call its three handlers from the window's Command6 click, ejtimer2_timer and Command10 click.
class AutoEndController {
public:
    // power: the shutdown requests; null means the machine's own, created at the first request.
    // state and clock default to the program's shared state and the local wall clock.
    explicit AutoEndController(MainWindowHost& host, std::unique_ptr<platform::IPower> power = nullptr,
                               AutoEndState* state = nullptr, const IWallClock* clock = nullptr);
    ~AutoEndController();

    AutoEndController(const AutoEndController&) = delete;
    AutoEndController& operator=(const AutoEndController&) = delete;

    // Sets RecCount1 to 0, places the "End Set" dialog at 100, 100 twips and shows it modally; returns
    // once the dialog is unloaded.
    void Command6_Click();
    void ejtimer2_timer() { countdown_.ejtimer2_timer(); }
    void Command10_Click() { countdown_.Command10_Click(); }

    AutoEndState& state() { return state_; }

private:
    platform::IPower& power();

    std::unique_ptr<TracingHost> tracing_;
    MainWindowHost& host_;
    AutoEndState& state_;
    const IWallClock& clock_;
    std::unique_ptr<platform::IPower> power_;
    Countdown countdown_;
};

}  // namespace autoend
