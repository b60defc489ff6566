#include "qt/agent/CharacterWindow.h"

#include "qt/agent/WindowShape.h"

#include <QElapsedTimer>
#include <QGuiApplication>
#include <QPainter>
#include <QRandomGenerator>
#include <QScreen>
#include <QVariantAnimation>

#include <algorithm>
#include <cmath>

namespace agent {
namespace {

using character::kBlinkAnimation;
using character::kIdleAnimation;
using character::kShowAnimation;

constexpr int kBlinkMinMs = 2500;
constexpr int kBlinkMaxMs = 6500;
// A step lasts at least this many times as long as drawing its frame took.
constexpr qint64 kDrawShare = 5;

qreal screenScale() {
    QScreen* screen = QGuiApplication::primaryScreen();
    return screen ? screen->devicePixelRatio() : 1.0;
}

}  // namespace

CharacterWindow::CharacterWindow(const character::CharacterData& data)
    : QWidget(nullptr,
              Qt::Tool | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint | Qt::WindowDoesNotAcceptFocus),
      frames_(data.frames, data.size, screenScale()),
      animations_(data.animations),
      beakFrames_(data.beakFrames),
      beak_(data.beak) {
    setAttribute(Qt::WA_TranslucentBackground);
    setAttribute(Qt::WA_ShowWithoutActivating);
    setFocusPolicy(Qt::NoFocus);
    setWindowTitle(data.id);
    setFixedSize(data.size);

    if (QScreen* screen = QGuiApplication::primaryScreen()) {
        const QRect room = screen->availableGeometry();
        move(room.right() - width() - 16, room.bottom() - height() - 16);
    }

    stepTimer_.setSingleShot(true);
    blinkTimer_.setSingleShot(true);
    connect(&stepTimer_, &QTimer::timeout, this, &CharacterWindow::nextStep);
    connect(&blinkTimer_, &QTimer::timeout, this, &CharacterWindow::blink);
    animation_ = QLatin1String(kIdleAnimation);
    animationFrame_ = animations_.at(animation_).front().frame;
    // Nothing is drawn before the window is shown: start-up then draws one frame, the show's first.
}

CharacterWindow::~CharacterWindow() = default;

void CharacterWindow::playShow() {
    if (!isVisible()) show();
    play(QLatin1String(kShowAnimation));
    scheduleBlink();
}

void CharacterWindow::moveTopLeft(QPoint topLeft, int ms) {
    if (glide_) {
        glide_->stop();
        glide_->deleteLater();
        glide_ = nullptr;
    }
    if (ms <= 0) {
        move(topLeft);
        return;
    }
    glide_ = new QVariantAnimation(this);
    glide_->setStartValue(pos());
    glide_->setEndValue(topLeft);
    glide_->setDuration(ms);
    glide_->setEasingCurve(QEasingCurve::InOutQuad);
    connect(glide_, &QVariantAnimation::valueChanged, this, [this](const QVariant& v) { move(v.toPoint()); });
    glide_->start();
}

void CharacterWindow::setSpeaking(bool speaking) {
    speaking_ = speaking;
    if (!speaking) opening_ = 0;
    refresh();
}

void CharacterWindow::setBeakOpening(int opening) {
    opening_ = std::clamp(opening, 0, character::kBeakOpenings - 1);
    refresh();
}

void CharacterWindow::play(const QString& animation, size_t fromStep) {
    const auto& steps = animations_.at(animation);
    animation_ = animation;
    step_ = std::min(fromStep, steps.size() - 1);
    if (animation == QLatin1String(kIdleAnimation)) idleStep_ = step_;
    animationFrame_ = steps[step_].frame;
    const qint64 drawMs = refresh();
    // Frames that are slow to draw slow the animation down instead of filling the processor.
    const qint64 ms = std::max<qint64>({steps[step_].ms, character::kMinStepMs, kDrawShare * drawMs});
    stepTimer_.start(static_cast<int>(std::min<qint64>(ms, character::kMaxStepMs)));
}

void CharacterWindow::nextStep() {
    const auto& steps = animations_.at(animation_);
    if (step_ + 1 < steps.size()) {
        play(animation_, step_ + 1);
    } else if (animation_ == QLatin1String(kIdleAnimation)) {
        play(animation_, 0);
    } else {
        // Show and blink hand back to idle where it was interrupted.
        play(QLatin1String(kIdleAnimation), idleStep_);
    }
}

void CharacterWindow::blink() {
    if (isVisible() && !speaking_ && animation_ == QLatin1String(kIdleAnimation))
        play(QLatin1String(kBlinkAnimation));
    scheduleBlink();
}

void CharacterWindow::scheduleBlink() {
    blinkTimer_.start(QRandomGenerator::global()->bounded(kBlinkMinMs, kBlinkMaxMs));
}

const QString& CharacterWindow::beakFrame() const {
    // A file may offer more openings than the voice reports; spread the voice's over them.
    const auto last = static_cast<double>(beakFrames_.size() - 1);
    const auto index = static_cast<size_t>(std::lround(opening_ * last / (character::kBeakOpenings - 1)));
    return beakFrames_[index];
}

qint64 CharacterWindow::refresh() {
    // The show animation is never cut short; speech takes over once it ends.
    const bool beakShown = speaking_ && animation_ != QLatin1String(kShowAnimation);
    const QString& wanted = beakShown ? beakFrame() : animationFrame_;
    if (wanted == frame_) return 0;
    QElapsedTimer clock;
    clock.start();
    frame_ = wanted;
    shapeWindow(*this, frames_.get(frame_).shape);
    update();
    return clock.elapsed();
}

void CharacterWindow::paintEvent(QPaintEvent*) {
    if (frame_.isEmpty()) refresh();
    QPainter painter(this);
    painter.drawPixmap(0, 0, frames_.get(frame_).pixmap);
}

void CharacterWindow::moveEvent(QMoveEvent* event) {
    QWidget::moveEvent(event);
    emit moved();
}

void CharacterWindow::hideEvent(QHideEvent* event) {
    QWidget::hideEvent(event);
    stepTimer_.stop();
    blinkTimer_.stop();
}

}  // namespace agent
