#include "core/autoend/AutoEndForm.h"

#include "core/autoend/AutoEndState.h"
#include "core/autoend/MainWindowHost.h"
#include "core/autoend/RowValue.h"
#include "core/autoend/WallClock.h"
#include "platform/Timer.h"

#include <algorithm>
#include <limits>
#include <stdexcept>

namespace autoend {
namespace {

constexpr std::int32_t kMinuteMinimum = 5;
constexpr std::int32_t kCountMinimum = 50;
constexpr int kCountdownInterval = 500;

const std::array<std::string_view, AutoEndForm::kRows> kModes{kMShut, kMEnd, kRShut, kREnd};

}  // namespace

std::size_t AutoEndForm::index(int row) {
    if (row < 1 || row > kRows) throw std::out_of_range("auto-end row");
    return static_cast<std::size_t>(row - 1);
}

void AutoEndForm::ClearTexts() {
    for (std::string& t : texts_) t.clear();
}

std::int32_t AutoEndForm::value(int row) const {
    return readRowValue(text(row));
}

void AutoEndForm::write(int row, std::int64_t v) {
    texts_.at(index(row)) = writeRowValue(v);
}

void AutoEndForm::TextClick(int row) {
    index(row);
    ClearTexts();
    write(row, isMinuteRow(row) ? 2 : 5);
}

void AutoEndForm::UpClick(int row) {
    isMinuteRow(row) ? minuteUp(row) : countUp(row);
}

void AutoEndForm::DownClick(int row) {
    isMinuteRow(row) ? minuteDown(row) : countDown(row);
}

void AutoEndForm::minuteUp(int row) {
    const std::int32_t s = Increment(row);
    EditValue = value(row);
    if (EditValue < kMinuteMinimum) EditValue = kMinuteMinimum - s;
    ClearTexts();
    const std::int64_t next = std::int64_t{EditValue} + s;
    // At the top of the 32-bit range the row stays where it is instead of wrapping.
    write(row, next > std::numeric_limits<std::int32_t>::max() ? EditValue : next);
}

void AutoEndForm::minuteDown(int row) {
    const std::int32_t s = Increment(row);
    EditValue = value(row);
    ClearTexts();
    write(row, std::int64_t{EditValue} - s);
    if (EditValue <= kMinuteMinimum) write(row, kMinuteMinimum);
}

void AutoEndForm::countUp(int row) {
    std::int32_t& step = increments_.at(index(row));
    EditValue = value(row);
    step = EditValue >= 100 ? 100 : 10;
    if (EditValue >= 1000) step = 1000;
    if (EditValue < kCountMinimum) EditValue = kCountMinimum - step;
    ClearTexts();
    std::int64_t next = std::int64_t{EditValue} + step;
    if (next > kCountCeiling) next = std::max(EditValue, kCountCeiling);
    write(row, next);
}

void AutoEndForm::countDown(int row) {
    std::int32_t& step = increments_.at(index(row));
    EditValue = value(row);
    if (EditValue <= 100) {
        step = 10;
    } else if (EditValue <= 1000 && step > 100) {
        // A step of 1000 left by the up arrow would take 1000 to 0; 900 mirrors the up click from 900.
        step = 100;
    }
    ClearTexts();
    write(row, std::int64_t{EditValue} - step);
    if (EditValue <= kCountMinimum) write(row, kCountMinimum);
}

bool AutoEndForm::Command11_Click(MainWindowHost& host, AutoEndState& state, const IWallClock& clock) {
    int taken = 0;
    for (int row = 1; row <= kRows && taken == 0; ++row) {
        if (!text(row).empty()) taken = row;
    }
    if (taken == 0) {
        state.AutoEndMode.clear();
        return false;
    }
    if (isMinuteRow(taken)) state.AutoEndStart = clock.now();
    state.AutoEndMode = std::string(kModes.at(index(taken)));
    state.AutoEndLimit = value(taken);

    platform::ITimer& timer = host.getEjTimer2();
    timer.setInterval(kCountdownInterval);
    timer.setEnabled(true);
    host.setCommand6Enabled(false);
    host.setLabel4Visible(false);
    // The first caption at once, still with the numbers read while the dialog was open.
    host.ejtimer2_timer();
    host.setRecCount1(0);
    return true;
}

void AutoEndForm::Command12_Click(MainWindowHost& host, AutoEndState& state) {
    state.AutoEndMode.clear();
    ClearTexts();
    host.getEjTimer2().setEnabled(false);
}

}  // namespace autoend
