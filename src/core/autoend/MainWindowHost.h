#pragma once

#include <cstdint>
#include <string>

namespace platform {
class ITimer;
}

namespace autoend {

// What the auto-end needs of the main window. The main window implements it; the auto-end never
// touches the window's controls in any other way.
class MainWindowHost {
public:
    virtual ~MainWindowHost() = default;

    // The countdown timer ejTimer2.
    virtual platform::ITimer& getEjTimer2() = 0;
    virtual void setCommand6Enabled(bool enabled) = 0;
    virtual void setLabel4Visible(bool visible) = 0;
    // Shows Frame1 and raises it above Label4, which it partly covers.
    virtual void showFrame1() = 0;
    virtual void hideFrame1() = 0;
    virtual void setCommand9Caption(const std::string& caption) = 0;  // UTF-8
    // The window's public tick operation; the dialog calls it once when it arms.
    virtual void ejtimer2_timer() = 0;
    virtual std::int16_t getRecCount1() const = 0;
    virtual void setRecCount1(std::int16_t value) = 0;
    virtual std::string getWinEdition() const = 0;
    // Unloads the main window, the same path as the learner closing it.
    virtual void quitProgram() = 0;
};

}  // namespace autoend
