#include "qt/agent/DeferredSpeechService.h"

namespace agent {

using speech::EngineKind;
using speech::SpeechService;

DeferredSpeechService::DeferredSpeechService(Factory factory) : factory_(std::move(factory)) {}

DeferredSpeechService::~DeferredSpeechService() = default;

void DeferredSpeechService::start() {
    if (real_ || shutDown_) return;
    real_ = factory_();
    connect(real_.get(), &SpeechService::requestStarted, this, &SpeechService::requestStarted);
    connect(real_.get(), &SpeechService::mouthChanged, this, &SpeechService::mouthChanged);
    connect(real_.get(), &SpeechService::requestFinished, this, &SpeechService::requestFinished);
    connect(real_.get(), &SpeechService::notice, this, &SpeechService::notice);
    if (voice_) real_->setEnglishVoice(*voice_);
}

void DeferredSpeechService::speak(EngineKind engine, const std::string& taggedText) {
    start();
    if (real_) real_->speak(engine, taggedText);
}

void DeferredSpeechService::prepare(EngineKind engine, const std::string& taggedText) {
    start();
    if (real_) real_->prepare(engine, taggedText);
}

void DeferredSpeechService::setEnglishVoice(EnglishVoice voice) {
    if (real_)
        real_->setEnglishVoice(voice);
    else
        voice_ = voice;
}

void DeferredSpeechService::shutdown() {
    shutDown_ = true;
    if (real_) real_->shutdown();
}

}  // namespace agent
