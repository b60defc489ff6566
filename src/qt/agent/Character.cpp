#include "qt/agent/Character.h"

#include "qt/agent/BalloonWindow.h"
#include "qt/agent/CharacterWindow.h"

#include <utility>

namespace agent {

Character::Character(const character::CharacterData& data, speech::SpeechService& voice,
                     std::function<void(Character&)> onSpeak)
    : id_(data.id),
      voice_(voice),
      onSpeak_(std::move(onSpeak)),
      window_(std::make_unique<CharacterWindow>(data)),
      balloon_(std::make_unique<BalloonWindow>()) {
    QObject::connect(window_.get(), &CharacterWindow::moved, balloon_.get(),
                     [this] { balloon_->follow(windowRect(), beakOnScreen()); });
}

// The balloon goes first: it follows the character window and must not outlive it.
Character::~Character() {
    balloon_.reset();
}

void Character::Show() {
    if (showHeld_) {
        showPending_ = true;
        return;
    }
    // Queued, as an agent's requests are: a show asked for while the program starts plays once the
    // event loop runs, and the character appears where it was moved meanwhile.
    QMetaObject::invokeMethod(window_.get(), &CharacterWindow::playShow, Qt::QueuedConnection);
}

void Character::releaseShow() {
    showHeld_ = false;
    if (std::exchange(showPending_, false)) Show();
}

void Character::MoveTo(int x, int y, int speed) {
    if (speed < 0) throw AgentError("MoveTo speed must not be negative, not " + std::to_string(speed));
    window_->moveTopLeft(QPoint(x, y), speed);
}

std::optional<CharacterBounds> Character::Bounds() const {
    const QRect r = windowRect();
    return CharacterBounds{r.x(), r.y(), r.width(), r.height()};
}

IBalloon& Character::Balloon() {
    return *balloon_;
}

void Character::setTTSModeID(const std::string& modeId) {
    engine_ = speech::engineForModeId(modeId);
    modeId_ = modeId;
}

void Character::Speak(const std::string& text) {
    releaseShow();
    if (onSpeak_) onSpeak_(*this);
    voice_.speak(engine_, text);
}

void Character::setBalloonSubject(const std::string& text) {
    balloonSubject_ = QString::fromStdString(text);
    if (balloon_->isVisible() && balloon_->text() != balloonSubject_) balloon_->hide();
}

void Character::Prepare(const std::string& modeId, const std::string& text) {
    voice_.prepare(speech::engineForModeId(modeId), text);
}

void Character::speechStarted(const QString& shown) {
    window_->setSpeaking(true);
    // A reading that overran its turn must not put the previous number beside the new one.
    const bool stale = !balloonSubject_.isEmpty() && shown != balloonSubject_;
    if (shown.isEmpty() || stale || !window_->isVisible()) {
        balloon_->hide();
        return;
    }
    balloon_->showText(shown, windowRect(), beakOnScreen());
}

void Character::speechFinished() {
    window_->setSpeaking(false);
    // The balloon belongs to the reading: it closes with it.
    balloon_->hide();
}

void Character::beakOpened(int opening) {
    // A late "closed" after the end must not put the character back into speaking.
    if (opening > 0) window_->setSpeaking(true);
    window_->setBeakOpening(opening);
}

QRect Character::windowRect() const {
    return window_->geometry();
}

QPoint Character::beakOnScreen() const {
    return window_->pos() + window_->beakOffset();
}

}  // namespace agent
