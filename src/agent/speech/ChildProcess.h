#pragma once

// Runs a program with text on its standard input and collects its standard output, ending it
// at once when cancelled; the child also dies with this process, so no orphan is left behind.

#include <atomic>
#include <string>
#include <vector>

namespace agent::speech {

struct ChildResult {
    bool started = false;  // false: exec failed (program missing or not executable)
    bool cancelled = false;
    int exitCode = -1;  // when it exited normally
    int signal = 0;     // when a signal ended it
    std::string out;
    std::string err;
};

ChildResult runChild(const std::string& program, const std::vector<std::string>& args,
                     const std::string& input, const std::atomic<bool>& cancel);

}  // namespace agent::speech
