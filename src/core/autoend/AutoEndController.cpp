#include "core/autoend/AutoEndController.h"

#include "core/autoend/AutoEndState.h"
#include "core/autoend/MainWindowHost.h"
#include "core/autoend/WallClock.h"
#include "platform/Power.h"

namespace autoend {

AutoEndController::AutoEndController(MainWindowHost& host, EndSetDialogs& dialogs,
                                     std::unique_ptr<platform::IPower> power, AutoEndState* state,
                                     const IWallClock* clock)
    : host_(host),
      dialogs_(dialogs),
      state_(state ? *state : programState()),
      clock_(clock ? *clock : systemWallClock()),
      power_(std::move(power)),
      countdown_(host_, state_, clock_, [this]() -> platform::IPower& { return this->power(); }) {}

AutoEndController::~AutoEndController() = default;

platform::IPower& AutoEndController::power() {
    if (!power_) power_ = platform::makeSystemPower();
    return *power_;
}

void AutoEndController::Command6_Click() {
    host_.setRecCount1(0);
    dialogs_.runEndSet(host_, state_, clock_, 100, 100);
}

}  // namespace autoend
