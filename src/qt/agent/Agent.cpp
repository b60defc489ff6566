#include "qt/agent/Agent.h"

#include "core/ui/ScreenRect.h"
#include "qt/agent/Character.h"
#include "qt/agent/NoticeText.h"
#include "qt/agent/character/CharacterFile.h"
#include "qt/ui/PlainMessageBox.h"

#include <QGuiApplication>
#include <QMessageBox>
#include <QScreen>

#include <algorithm>

namespace agent {

Agent::Agent(std::unique_ptr<speech::SpeechService> voice, QByteArray checkedCharacterFingerprint)
    : voice_(std::move(voice)),
      checkedCharacterFingerprint_(std::move(checkedCharacterFingerprint)),
      listener_(std::make_unique<QObject>()) {
    if (!voice_) throw AgentError("The speech character needs a voice");
    connectVoice();
}

Agent::~Agent() {
    voice_->shutdown();
    listener_.reset();
    for (const QPointer<QMessageBox>& box : notices_) delete box.data();
    speaker_ = nullptr;
    characters_.clear();
}

void Agent::connectVoice() {
    using speech::SpeechService;
    QObject* l = listener_.get();
    QObject::connect(voice_.get(), &SpeechService::requestStarted, l, [this](const QString& shown) {
        if (speaker_) speaker_->speechStarted(shown);
    });
    QObject::connect(voice_.get(), &SpeechService::requestFinished, l, [this] {
        if (speaker_) speaker_->speechFinished();
    });
    QObject::connect(voice_.get(), &SpeechService::mouthChanged, l, [this](int opening) {
        if (speaker_) speaker_->beakOpened(opening);
    });
    QObject::connect(voice_.get(), &SpeechService::notice, l, [this](const QString& m) { showNotice(m); });
}

void Agent::showNotice(const QString& message) {
    // Never modal: the drill's timers keep running while the learner reads it. The text may quote
    // an engine or a path: plain text only, and bounded.
    QMessageBox* box = ui::newPlainMessageBox(QMessageBox::Warning, QGuiApplication::applicationDisplayName(),
                                              noticeText(message));
    box->setModal(false);
    box->setAttribute(Qt::WA_DeleteOnClose);
    // Closing the main window must still end the program while a notice is open.
    box->setAttribute(Qt::WA_QuitOnClose, false);
    std::erase_if(notices_, [](const QPointer<QMessageBox>& b) { return b.isNull(); });
    // Each notice still open moves the next one down and to the right, so none hides another.
    const int step = 36 * int(notices_.size());
    box->adjustSize();
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        const QRect area = screen->availableGeometry();
        const QSize size = box->sizeHint();
        const QPoint at = area.center() - QPoint(size.width() / 2, size.height() / 2) + QPoint(step, step);
        const ::ui::ScreenRect kept = ::ui::keptOnScreen({at.x(), at.y(), size.width(), size.height()},
                                                         {area.x(), area.y(), area.width(), area.height()});
        box->move(kept.x, kept.y);
    }
    box->show();
    notices_.emplace_back(box);
}

Character* Agent::find(const std::string& id) {
    const QString wanted = QString::fromStdString(id);
    const auto it = std::find_if(characters_.begin(), characters_.end(), [&](const auto& c) {
        return c->id().compare(wanted, Qt::CaseInsensitive) == 0;
    });
    return it == characters_.end() ? nullptr : it->get();
}

void Agent::Load(const std::string& id, const std::string& path) {
    if (id.empty()) throw AgentError("A character needs an id to be loaded under");
    if (find(id)) throw AgentError("The character \"" + id + "\" is already loaded");
    const character::CharacterData data = character::loadCharacterFile(
        QString::fromStdString(path), QString::fromStdString(id), checkedCharacterFingerprint_);
    characters_.push_back(
        std::make_unique<Character>(data, *voice_, [this](Character& c) { speaker_ = &c; }));
    if (showsHeld_) characters_.back()->holdShow();
    if (!speaker_) speaker_ = characters_.back().get();
}

void Agent::holdShows() {
    showsHeld_ = true;
    for (const auto& c : characters_) c->holdShow();
}

void Agent::releaseShows() {
    showsHeld_ = false;
    for (const auto& c : characters_) c->releaseShow();
}

ICharacter& Agent::Item(const std::string& id) {
    Character* c = find(id);
    if (!c) throw AgentError("No character \"" + id + "\" is loaded");
    return *c;
}

}  // namespace agent
