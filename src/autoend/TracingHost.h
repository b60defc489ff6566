#pragma once

#include "autoend/MainWindowHost.h"

#include <QObject>

namespace autoend {

// Passes every call on to the main window and records the visible changes in the trace file, so that
// an end-to-end run can check captions and states it cannot read off the screen. Once the window is
// shown it also records where its auto-end controls are (found by object name).
class TracingHost final : public MainWindowHost {
public:
    explicit TracingHost(MainWindowHost& inner);

    platform::ITimer& getEjTimer2() override { return inner_.getEjTimer2(); }
    void setCommand6Enabled(bool enabled) override;
    void setLabel4Visible(bool visible) override;
    void showFrame1() override;
    void hideFrame1() override;
    void setCommand9Caption(const QString& caption) override;
    void ejtimer2_timer() override { inner_.ejtimer2_timer(); }
    std::int16_t getRecCount1() const override { return inner_.getRecCount1(); }
    void setRecCount1(std::int16_t value) override { inner_.setRecCount1(value); }
    std::string getWinEdition() const override { return inner_.getWinEdition(); }
    void quitProgram() override;
    QWidget* dialogParent() override { return inner_.dialogParent(); }

private:
    void recordGeometryWhenShown();

    MainWindowHost& inner_;
    QObject context_;
    QString lastCaption_;
    bool frameShown_ = false;
};

}  // namespace autoend
