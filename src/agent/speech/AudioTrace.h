#pragma once

// Measurements only: with TVX_AUDIO_TRACE=file, "<epoch ms> <event> <detail>" lines are appended
// (speak: a request was queued; first-audio: its first samples reached the device; finished: it
// ended). Safe from any thread; does nothing when the variable is unset.

#include <string>

namespace agent::speech {

void traceAudio(const char* event, const std::string& detail = {});

}  // namespace agent::speech
