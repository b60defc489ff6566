#include "core/autoend/ShutdownWindows.h"

#include "platform/Power.h"

namespace autoend {

void resumeNext(const std::function<void()>& step) {
    try {
        step();
    } catch (...) {
        // Skipped without a word, as the countdown's handlers require.
    }
}

void ShutdownWindows(const std::string& edition, platform::IPower& power) {
    if (edition == "95" || edition == "98" || edition == "ME") {
        resumeNext([&] { power.requestShutdown(); });
        return;
    }
    resumeNext([&] { power.acquireShutdownRight(); });
    resumeNext([&] { power.forcePowerOff(); });
}

}  // namespace autoend
