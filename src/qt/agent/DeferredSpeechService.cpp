#include "qt/agent/DeferredSpeechService.h"

#include <QEvent>
#include <QTimer>
#include <QWidget>
#include <QWindow>

namespace agent {

using speech::EngineKind;
using speech::SpeechService;

DeferredSpeechService::DeferredSpeechService(Factory factory) : factory_(std::move(factory)) {}

DeferredSpeechService::~DeferredSpeechService() = default;

void DeferredSpeechService::startWhenShown(QWidget* window) {
    window->winId();  // makes its QWindow, whose expose follows the map
    window->windowHandle()->installEventFilter(this);
}

bool DeferredSpeechService::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::Expose) {
        watched->removeEventFilter(this);
        // After this expose has been painted.
        QTimer::singleShot(0, this, [this] { start(); });
    }
    return false;
}

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
