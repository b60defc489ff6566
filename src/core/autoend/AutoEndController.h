#pragma once

#include "core/autoend/Countdown.h"

#include <memory>

namespace platform {
class IPower;
}

namespace autoend {

class IWallClock;
class MainWindowHost;
struct AutoEndState;

// The "End Set" dialog as the controller opens it; each front end shows its own window.
class EndSetDialogs {
public:
    virtual ~EndSetDialogs() = default;
    // Shows a fresh dialog modally, its frame at (leftTw, topTw) twips from the top-left of the main
    // window's screen, and returns once it is unloaded.
    virtual void runEndSet(MainWindowHost& host, AutoEndState& state, const IWallClock& clock, double leftTw,
                           double topTw) = 0;
};

// Everything the main window calls of the auto-end, for one main window. Construct it with the window
// and call its three handlers from the window's Command6 click, ejtimer2_timer and Command10 click.
class AutoEndController {
public:
    // power: the shutdown requests; null means the machine's own, created at the first request.
    // state and clock default to the program's shared state and the local wall clock.
    AutoEndController(MainWindowHost& host, EndSetDialogs& dialogs,
                      std::unique_ptr<platform::IPower> power = nullptr, AutoEndState* state = nullptr,
                      const IWallClock* clock = nullptr);
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

    MainWindowHost& host_;
    EndSetDialogs& dialogs_;
    AutoEndState& state_;
    const IWallClock& clock_;
    std::unique_ptr<platform::IPower> power_;
    Countdown countdown_;
};

}  // namespace autoend
