#include "qt/agent/speech/SpeechService.h"

#include "qt/agent/speech/EnglishVoices.h"
#include "qt/agent/speech/OpenJTalkEngine.h"
#include "qt/agent/speech/SpeechServiceImpl.h"

namespace agent::speech {

SpeechService::~SpeechService() = default;

SpeechServiceConfig defaultSpeechServiceConfig() {
    SpeechServiceConfig config;
    config.english = [] { return std::make_unique<EnglishEngine>(); };
    config.japanese = [] { return std::make_unique<OpenJTalkEngine>(); };
    DefaultAudio audio = defaultAudio();
    config.output = std::move(audio.output);
    config.watchDevice = std::move(audio.watch);
    return config;
}

std::unique_ptr<SpeechService> createSpeechService(SpeechServiceConfig config, QObject* parent) {
    return std::make_unique<SpeechServiceImpl>(std::move(config), parent);
}

std::unique_ptr<SpeechService> createSpeechService(QObject* parent) {
    return createSpeechService(defaultSpeechServiceConfig(), parent);
}

}  // namespace agent::speech
