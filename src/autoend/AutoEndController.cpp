#include "autoend/AutoEndController.h"

#include "autoend/AutoEnd.h"
#include "autoend/AutoEndState.h"
#include "autoend/Trace.h"
#include "autoend/TracingHost.h"
#include "autoend/WallClock.h"
#include "platform/Power.h"

#include <QPointer>

namespace autoend {
namespace {

std::unique_ptr<TracingHost> tracerFor(MainWindowHost& host) {
    return trace::enabled() ? std::make_unique<TracingHost>(host) : nullptr;
}

}  // namespace

AutoEndController::AutoEndController(MainWindowHost& host, std::unique_ptr<platform::IPower> power,
                                     AutoEndState* state, const IWallClock* clock)
    : tracing_(tracerFor(host)),
      host_(tracing_ ? static_cast<MainWindowHost&>(*tracing_) : host),
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
    QPointer<AutoEnd> dialog = new AutoEnd(host_, state_, clock_, host_.dialogParent());
    dialog->moveTwips(100, 100);
    dialog->exec();
    trace::line(QStringLiteral("dialog closed"));
    // The dialog is unloaded after every use, so the next opening starts afresh.
    delete dialog.data();
}

}  // namespace autoend
