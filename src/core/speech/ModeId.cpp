#include "core/speech/ModeId.h"

#include "core/agent/AgentApi.h"

#include <algorithm>
#include <cctype>

namespace agent::speech {
namespace {

// A GUID compares by its hex digits; braces and letter case carry no meaning.
std::string canonicalGuid(const std::string& id) {
    std::string s = id;
    if (s.size() == 38 && s.front() == '{' && s.back() == '}') s = s.substr(1, 36);
    if (s.size() != 36) return {};
    for (size_t i = 0; i < s.size(); ++i) {
        const bool dash = i == 8 || i == 13 || i == 18 || i == 23;
        if (dash ? s[i] != '-' : !std::isxdigit(static_cast<unsigned char>(s[i]))) return {};
        s[i] = static_cast<char>(std::toupper(static_cast<unsigned char>(s[i])));
    }
    return s;
}

}  // namespace

EngineKind engineForModeId(const std::string& modeId) {
    const std::string guid = canonicalGuid(modeId);
    if (!guid.empty()) {
        if (guid == canonicalGuid(kEnglishModeId)) return EngineKind::English;
        if (guid == canonicalGuid(kJapaneseModeId)) return EngineKind::Japanese;
    }
    throw AgentError("TTSModeID names no speech engine: " + modeId);
}

}  // namespace agent::speech
