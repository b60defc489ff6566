#pragma once

// Readings synthesised ahead of their turn, keyed by everything that decides their audio: the
// engine, the spoken text and its speed (never the balloon text, nor the context, which no engine
// reads). A few entries only; the oldest goes first. GUI thread only.

#include "core/speech/SpeechTags.h"
#include "qt/agent/speech/PcmStream.h"
#include "qt/agent/speech/SpeechService.h"

#include <memory>
#include <string>
#include <utility>
#include <vector>

namespace agent::speech {

class SpeechCache {
public:
    explicit SpeechCache(size_t capacity = 4) : capacity_(capacity) {}

    static std::string keyOf(EngineKind engine, const std::vector<SpeechPiece>& pieces);

    // The stream for this key, still being synthesised or complete; null when there is none or
    // its synthesis failed (a failed one is forgotten, so the next request tries again).
    std::shared_ptr<PcmStream> find(const std::string& key);
    void insert(const std::string& key, std::shared_ptr<PcmStream> stream);
    size_t size() const { return entries_.size(); }

private:
    size_t capacity_;
    std::vector<std::pair<std::string, std::shared_ptr<PcmStream>>> entries_;  // oldest first
};

}  // namespace agent::speech
