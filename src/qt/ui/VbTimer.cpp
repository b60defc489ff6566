#include "qt/ui/VbTimer.h"

namespace ui {

VbTimer::VbTimer(QObject* parent) : QObject(parent) {
    timer_.setTimerType(Qt::PreciseTimer);
    connect(&timer_, &QTimer::timeout, this, [this] {
        if (handler_) handler_();
        emit timer();
    });
}

void VbTimer::setInterval(int ms) {
    interval_ = ms < 0 ? 0 : ms;
    restart();
}

void VbTimer::setEnabled(bool on) {
    if (on == enabled_) return;
    enabled_ = on;
    restart();
}

void VbTimer::restart() {
    // Setting either property restarts the countdown from now.
    timer_.stop();
    if (enabled_ && interval_ > 0) timer_.start(interval_);
}

}  // namespace ui
