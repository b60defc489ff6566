#pragma once

#include <functional>
#include <string>

namespace platform {
class IPower;
}

namespace autoend {

// Runs one step of a handler that must not stop at a failure: a step that throws is skipped silently.
void resumeNext(const std::function<void()>& step);

// The shutdown request for the edition tag: "95", "98" and "ME" ask plainly, every other tag acquires
// the right to shut down and then forces a power-off. Each step runs in resume-next mode.
void ShutdownWindows(const std::string& edition, platform::IPower& power);

}  // namespace autoend
