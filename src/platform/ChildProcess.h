#pragma once

// Runs a program with text on its standard input and collects its standard output, ending it
// at once when cancelled, when it runs past its time limit or writes more than its output limit;
// the child also dies with this process, so no orphan is left behind. POSIX only: the Windows
// front end speaks through SAPI and starts no engine programs.

#include <atomic>
#include <string>
#include <vector>

namespace platform {

struct ChildResult {
    bool started = false;  // false: exec failed (program missing or not executable)
    bool cancelled = false;
    bool timedOut = false;    // killed at the time limit
    bool overflowed = false;  // killed at the output limit
    int exitCode = -1;        // when it exited normally
    int signal = 0;           // when a signal ended it
    std::string out;
    std::string err;
};

struct ChildLimits {
    int timeoutMs = 10000;                     // wall time from start to exit
    size_t maxOutputBytes = size_t(64) << 20;  // standard output and error together
};

ChildResult runChild(const std::string& program, const std::vector<std::string>& args,
                     const std::string& input, const std::atomic<bool>& cancel, ChildLimits limits = {});

}  // namespace platform
