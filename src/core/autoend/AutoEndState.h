#pragma once

#include <chrono>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace autoend {

// The four mode keys; the empty string means nothing is armed.
inline constexpr std::string_view kMShut = "MShut";  // shut down after minutes
inline constexpr std::string_view kMEnd = "MEnd";    // quit after minutes
inline constexpr std::string_view kRShut = "RShut";  // shut down after a count of numbers
inline constexpr std::string_view kREnd = "REnd";    // quit after a count of numbers

// What is armed, shared by the dialog that arms it and the main window's countdown.
struct AutoEndState {
    std::string AutoEndMode;
    std::int32_t AutoEndLimit = 0;  // minutes or numbers read, by mode
    // Local wall-clock time of arming, whole seconds; only the minute modes set it.
    std::optional<std::chrono::local_seconds> AutoEndStart;
};

// The one instance of the running program.
AutoEndState& programState();

}  // namespace autoend
