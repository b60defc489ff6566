#pragma once

#include <thread>

namespace ui {

// fontconfig reads its configuration and its font caches (about 7 ms here) the first time Qt lays out
// a text. Started before the QApplication, that reading runs while Qt connects to the display.
class FontConfigWarmUp {
public:
    FontConfigWarmUp();
    ~FontConfigWarmUp();
    FontConfigWarmUp(const FontConfigWarmUp&) = delete;
    FontConfigWarmUp& operator=(const FontConfigWarmUp&) = delete;

    // Called before the first text is laid out, so that Qt never reads the configuration a second time
    // beside it.
    void wait();

private:
    std::thread thread_;
};

}  // namespace ui
