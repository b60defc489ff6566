#include "qt/agent/speech/SpeechCache.h"

#include <algorithm>

namespace agent::speech {

std::string SpeechCache::keyOf(EngineKind engine, const std::vector<SpeechPiece>& pieces) {
    std::string key = engine == EngineKind::English ? "en" : "ja";
    for (const SpeechPiece& p : pieces) {
        // Length-prefixed, so that no two piece lists share a key whatever their texts hold.
        key += '|' + std::to_string(p.speedWpm) + ':' + std::to_string(p.text.size()) + ':' + p.text;
    }
    return key;
}

std::shared_ptr<PcmStream> SpeechCache::find(const std::string& key) {
    const auto it =
        std::find_if(entries_.begin(), entries_.end(), [&](const auto& e) { return e.first == key; });
    if (it == entries_.end()) return nullptr;
    std::vector<int16_t> none;
    if (it->second->read(SIZE_MAX, none).state == PcmStream::State::Failed) {
        entries_.erase(it);
        return nullptr;
    }
    return it->second;
}

void SpeechCache::insert(const std::string& key, std::shared_ptr<PcmStream> stream) {
    std::erase_if(entries_, [&](const auto& e) { return e.first == key; });
    entries_.emplace_back(key, std::move(stream));
    while (entries_.size() > capacity_) entries_.erase(entries_.begin());
}

}  // namespace agent::speech
