#pragma once

#include "qt/agent/speech/SpeechService.h"

#include <functional>
#include <string>
#include <utility>
#include <vector>

namespace agent::test {

// Records what the character hands to its voice; tests emit the voice's signals themselves.
class FakeSpeechService : public speech::SpeechService {
public:
    void speak(speech::EngineKind engine, const std::string& taggedText) override {
        spoken.emplace_back(engine, taggedText);
    }
    void shutdown() override {
        ++shutdowns;
        if (onShutdown) onShutdown();
    }

    std::vector<std::pair<speech::EngineKind, std::string>> spoken;
    int shutdowns = 0;
    std::function<void()> onShutdown;
};

}  // namespace agent::test
