#pragma once

#include "agent/character/CharacterFormat.h"
#include "qt/agent/DrawnFrames.h"

#include <QTimer>
#include <QWidget>

#include <map>
#include <vector>

class QVariantAnimation;

namespace agent {

// The character on screen: a frameless, see-through window that never takes the focus.
// It idles (blinking now and then), plays its show animation, and opens its beak while speaking.
class CharacterWindow : public QWidget {
    Q_OBJECT
public:
    explicit CharacterWindow(const character::CharacterData& data);
    ~CharacterWindow() override;

    // Makes the window visible and plays the show animation, then idles.
    void playShow();
    // Puts the window's top-left at topLeft; ms 0 moves at once, otherwise it glides for ms milliseconds.
    void moveTopLeft(QPoint topLeft, int ms);
    // While speaking, the idle animation gives way to the beak frames.
    void setSpeaking(bool speaking);
    // 0 closed .. 3 wide open.
    void setBeakOpening(int opening);

    QPoint beakOffset() const { return beak_; }
    QString currentFrame() const { return frame_; }
    QString currentAnimation() const { return animation_; }
    int currentStepMs() const { return stepTimer_.interval(); }
    const DrawnFrames& drawnFrames() const { return frames_; }

signals:
    void moved();

protected:
    void paintEvent(QPaintEvent* event) override;
    void moveEvent(QMoveEvent* event) override;
    void hideEvent(QHideEvent* event) override;

private:
    void play(const QString& animation, size_t fromStep = 0);
    void nextStep();
    void blink();
    void scheduleBlink();
    // Puts the wanted frame on screen; returns the milliseconds that took (drawing it if need be).
    qint64 refresh();
    const QString& beakFrame() const;

    DrawnFrames frames_;
    std::map<QString, std::vector<character::AnimationStep>> animations_;
    std::vector<QString> beakFrames_;
    QPoint beak_;

    QString animation_;
    size_t step_ = 0;
    size_t idleStep_ = 0;
    QString animationFrame_;
    // What is on screen: the animation's frame, or a beak frame while speaking.
    QString frame_;
    bool speaking_ = false;
    int opening_ = 0;
    QTimer stepTimer_;
    QTimer blinkTimer_;
    QVariantAnimation* glide_ = nullptr;
};

}  // namespace agent
