#include "core/autoend/Countdown.h"

#include "core/autoend/AutoEndState.h"
#include "core/autoend/MainWindowHost.h"
#include "core/autoend/WallClock.h"
#include "platform/Power.h"
#include "platform/Timer.h"

#include <optional>
#include <stdexcept>

namespace autoend {
namespace {

const char* ending(bool minutes, bool shutdown) {
    if (minutes) return shutdown ? " 分でシャットダウン" : " 分でTallyvox-Number終了";
    return shutdown ? " 個でシャットダウン" : " 個でTallyvox-Number終了";
}

}  // namespace

std::string minuteCaption(std::int32_t limit, std::int64_t seconds, bool shutdown) {
    // limit − s/60 = n/60 with n = 60·limit − s; in tenths that is n/6.
    const std::int64_t n = std::int64_t{limit} * 60 - seconds;
    const std::int64_t magnitude = n < 0 ? -n : n;
    const std::int64_t tenths = (magnitude + 3) / 6;
    const std::string digits = std::to_string(tenths / 10) + "." + std::to_string(tenths % 10);
    return std::string("あと ") + (n < 0 ? "-" : "") + digits + ending(true, shutdown);
}

std::string countCaption(std::int32_t limit, std::int16_t count, bool shutdown) {
    return "あと " + std::to_string(std::int64_t{limit} - count) + ending(false, shutdown);
}

Countdown::Countdown(MainWindowHost& host, AutoEndState& state, const IWallClock& clock,
                     std::function<platform::IPower&()> power)
    : host_(host), state_(state), clock_(clock), power_(std::move(power)) {}

std::int64_t Countdown::elapsedSeconds() const {
    // A minute mode always records its start; without one the step fails and is skipped.
    if (!state_.AutoEndStart) throw std::logic_error("auto-end start unset");
    return (clock_.now() - *state_.AutoEndStart).count();
}

void Countdown::ejtimer2_timer() {
    resumeNext([&] { host_.showFrame1(); });
    const std::string& mode = state_.AutoEndMode;
    const bool shutdown = mode == kMShut || mode == kRShut;
    auto fire = [&] {
        if (shutdown) {
            ShutdownWindows(host_.getWinEdition(), power_());
        } else {
            host_.quitProgram();
        }
    };
    if (mode == kMShut || mode == kMEnd) {
        resumeNext([&] {
            host_.setCommand9Caption(minuteCaption(state_.AutoEndLimit, elapsedSeconds(), shutdown));
        });
        resumeNext([&] {
            if (elapsedSeconds() > std::int64_t{state_.AutoEndLimit} * 60) fire();
        });
    } else if (mode == kRShut || mode == kREnd) {
        // One reading, so that caption and test agree; an unreadable count skips both.
        std::optional<std::int16_t> count;
        resumeNext([&] { count = host_.getRecCount1(); });
        resumeNext(
            [&] { host_.setCommand9Caption(countCaption(state_.AutoEndLimit, count.value(), shutdown)); });
        resumeNext([&] {
            if (count.value() > state_.AutoEndLimit) fire();
        });
    }
}

void Countdown::Command10_Click() {
    resumeNext([&] { host_.getEjTimer2().setEnabled(false); });
    resumeNext([&] { host_.hideFrame1(); });
    resumeNext([&] { host_.setLabel4Visible(true); });
    resumeNext([&] { host_.setCommand6Enabled(true); });
    resumeNext([&] { state_.AutoEndMode.clear(); });
}

}  // namespace autoend
