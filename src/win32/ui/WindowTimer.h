#pragma once

#include "platform/Timer.h"

#include <windows.h>

#include <atomic>
#include <functional>

namespace win32::ui {

// A VB-style window timer with 1 ms-class precision: a timer-queue timer posts to the owner window,
// whose thread runs the handler, so ticks interleave with clicks as window timers do (SetTimer's
// 10-16 ms granularity would skew the drill's waits). Setting the interval restarts the countdown; an
// interval of 0 never fires; a tick not yet handled is not queued twice.
class WindowTimer : public platform::ITimer {
public:
    // The window's procedure passes kTickMessage on to dispatch().
    static constexpr UINT kTickMessage = WM_APP + 0x71;

    WindowTimer(HWND owner, std::function<void()> handler);
    ~WindowTimer() override;
    WindowTimer(const WindowTimer&) = delete;
    WindowTimer& operator=(const WindowTimer&) = delete;

    void setInterval(int ms) override;
    int interval() const override { return interval_; }
    void setEnabled(bool on) override;
    bool enabled() const override { return enabled_; }

    // For the window procedure: runs the handler when the tick belongs to the current arming.
    static void dispatch(WPARAM wParam, LPARAM lParam);

private:
    static void CALLBACK fired(PVOID self, BOOLEAN);
    void rearm();
    void disarm();

    HWND owner_;
    std::function<void()> handler_;
    int interval_ = 0;
    bool enabled_ = true;
    HANDLE timer_ = nullptr;
    std::atomic<unsigned> generation_{0};
    std::atomic<bool> pending_{false};
};

}  // namespace win32::ui
