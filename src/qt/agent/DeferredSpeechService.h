#pragma once

#include "qt/agent/speech/SpeechService.h"

#include <functional>
#include <memory>
#include <optional>

namespace agent {

// A speech service brought up once the main window is on the screen: the real one connects to the
// sound server and starts its threads at once, which took CPU from building and mapping the window.
// Anything asked of it before then brings it up first, so nothing is heard later or differently.
class DeferredSpeechService : public speech::SpeechService {
    Q_OBJECT
public:
    using Factory = std::function<std::unique_ptr<speech::SpeechService>()>;
    explicit DeferredSpeechService(Factory factory);
    ~DeferredSpeechService() override;

    // Brings the service up now (once; never after shutdown).
    void start();
    bool started() const { return real_ != nullptr; }

    void speak(speech::EngineKind engine, const std::string& taggedText) override;
    void prepare(speech::EngineKind engine, const std::string& taggedText) override;
    void setEnglishVoice(EnglishVoice voice) override;
    void shutdown() override;

private:
    Factory factory_;
    std::unique_ptr<speech::SpeechService> real_;
    std::optional<EnglishVoice> voice_;
    bool shutDown_ = false;
};

}  // namespace agent
