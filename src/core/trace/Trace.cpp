#include "core/trace/Trace.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <mutex>
#include <string>

namespace trace {
namespace {

std::FILE* file() {
    // Opened once, at the first use; never closed, so that a line written while the program ends
    // still finds it.
    static std::FILE* const f = []() -> std::FILE* {
        const char* path = std::getenv("TVX_TRACE_FILE");
        return path && *path ? std::fopen(path, "ab") : nullptr;
    }();
    return f;
}

}  // namespace

bool enabled() {
    return file() != nullptr;
}

void write(std::string_view event, std::string_view detail) {
    std::FILE* f = file();
    if (!f) return;
    using namespace std::chrono;
    const auto ms = duration_cast<milliseconds>(system_clock::now().time_since_epoch()).count();
    std::string line = std::to_string(ms) + ' ';
    line += event;
    if (!detail.empty()) {
        line += ' ';
        line += detail;
    }
    line += '\n';
    static std::mutex mutex;
    const std::lock_guard lock(mutex);
    std::fwrite(line.data(), 1, line.size(), f);
    std::fflush(f);
}

}  // namespace trace
