#pragma once

#include "platform/Timer.h"

#include <QObject>
#include <QTimer>

#include <functional>

namespace ui {

// A window timer with the classic Interval/Enabled pair on top of a precise QTimer.
// Ticks run on the GUI thread, one handler at a time, like window timer messages.
class VbTimer : public QObject, public platform::ITimer {
    Q_OBJECT
public:
    explicit VbTimer(QObject* parent = nullptr);

    void setInterval(int ms) override;
    int interval() const override { return interval_; }
    void setEnabled(bool on) override;
    bool enabled() const override { return enabled_; }

    // The handler run at every tick.
    void onTimer(std::function<void()> handler) { handler_ = std::move(handler); }

signals:
    void timer();

private:
    void restart();

    QTimer timer_;
    int interval_ = 0;
    bool enabled_ = true;
    std::function<void()> handler_;
};

}  // namespace ui
