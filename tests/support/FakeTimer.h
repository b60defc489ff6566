#pragma once

#include "platform/Timer.h"

#include <string>
#include <utility>
#include <vector>

namespace tvx::test {

// A timer that never fires by itself: the test calls its handler. It records every interval set and,
// given a log, every change there as "<name>.Interval <ms>" and "<name>.Enabled <0|1>".
class FakeTimer : public platform::ITimer {
public:
    FakeTimer() = default;
    FakeTimer(std::vector<std::string>& log, std::string name)
        : log_(&log), name_(std::move(name)), enabled_(false) {}

    void setInterval(int ms) override {
        interval_ = ms;
        intervals.push_back(ms);
        if (log_) log_->push_back(name_ + ".Interval " + std::to_string(ms));
    }
    int interval() const override { return interval_; }
    void setEnabled(bool on) override {
        enabled_ = on;
        if (log_) log_->push_back(name_ + ".Enabled " + (on ? "1" : "0"));
    }
    bool enabled() const override { return enabled_; }

    std::vector<int> intervals;

private:
    std::vector<std::string>* log_ = nullptr;
    std::string name_;
    int interval_ = 0;
    bool enabled_ = true;
};

}  // namespace tvx::test
