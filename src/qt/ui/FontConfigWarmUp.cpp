#include "qt/ui/FontConfigWarmUp.h"

#include <fontconfig/fontconfig.h>

namespace ui {

FontConfigWarmUp::FontConfigWarmUp() : thread_([] { FcInit(); }) {}

FontConfigWarmUp::~FontConfigWarmUp() {
    wait();
}

void FontConfigWarmUp::wait() {
    if (thread_.joinable()) thread_.join();
}

}  // namespace ui
