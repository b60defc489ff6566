#include "win32/ui/WindowTimer.h"

#include <mmsystem.h>

#include <utility>

namespace win32::ui {

WindowTimer::WindowTimer(HWND owner, std::function<void()> handler)
    : owner_(owner), handler_(std::move(handler)) {
    // The system's timer resolution, for the timer queue as well.
    timeBeginPeriod(1);
}

WindowTimer::~WindowTimer() {
    disarm();
    timeEndPeriod(1);
}

void WindowTimer::setInterval(int ms) {
    interval_ = ms < 0 ? 0 : ms;
    rearm();
}

void WindowTimer::setEnabled(bool on) {
    enabled_ = on;
    rearm();
}

void WindowTimer::disarm() {
    ++generation_;
    if (timer_) {
        // INVALID_HANDLE_VALUE: waits for a callback that is running, so none outlives the timer.
        DeleteTimerQueueTimer(nullptr, timer_, INVALID_HANDLE_VALUE);
        timer_ = nullptr;
    }
    pending_ = false;
}

void WindowTimer::rearm() {
    disarm();
    if (!enabled_ || interval_ == 0) return;
    const auto ms = static_cast<DWORD>(interval_);
    CreateTimerQueueTimer(&timer_, nullptr, fired, this, ms, ms, WT_EXECUTEINTIMERTHREAD);
}

void CALLBACK WindowTimer::fired(PVOID self, BOOLEAN) {
    auto* t = static_cast<WindowTimer*>(self);
    if (t->pending_.exchange(true)) return;
    PostMessageW(t->owner_, kTickMessage, reinterpret_cast<WPARAM>(t),
                 static_cast<LPARAM>(t->generation_.load()));
}

void WindowTimer::dispatch(WPARAM wParam, LPARAM lParam) {
    auto* t = reinterpret_cast<WindowTimer*>(wParam);
    if (static_cast<unsigned>(lParam) != t->generation_.load()) return;  // re-armed since
    t->pending_ = false;
    if (t->enabled_ && t->interval_ != 0 && t->handler_) t->handler_();
}

}  // namespace win32::ui
