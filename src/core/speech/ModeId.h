#pragma once

// Which speech engine a character's TTSModeID asks for.

#include <string>

namespace agent::speech {

enum class EngineKind { English, Japanese };

// Maps a TTSModeID to an engine, comparing as a GUID without regard to letter case.
// Throws agent::AgentError when the identifier names no engine.
EngineKind engineForModeId(const std::string& modeId);

}  // namespace agent::speech
